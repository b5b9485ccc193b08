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

private:
    QWidget* header_;
    QWidget* info_;
};

} // namespace zarn
