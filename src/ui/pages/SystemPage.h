#pragma once

#include "ui/pages/ZarnPage.h"

namespace zarn {

// Page 11, system status: the header strip with back and " Refresh", and the seven
// information items that the status page fills.
class SystemPage : public ZarnPage {
    Q_OBJECT
public:
    explicit SystemPage(QWidget* parent = nullptr);
    void applyDocking() override;

    // The values of the seven items, by what they show.
    struct Texts {
        QString version, path, processor, speed, memory, network, power;
    };
    void setTexts(const Texts& texts);
    // The items that change between fills.
    void setSpeed(const QString& text);
    void setNetwork(const QString& text);

private:
    void setItem(const char* name, const QString& text);

    QWidget* header_;
    QWidget* info_;
};

} // namespace zarn
