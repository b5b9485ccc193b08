#pragma once

#include "ui/pages/ZarnPage.h"

class QLabel;

namespace zarn {

// Page 9, "Scale": items that move and size the window one pixel at a time, and the
// label with the size of the customized look's background picture.
class ScalePage : public ZarnPage {
    Q_OBJECT
public:
    explicit ScalePage(QWidget* parent = nullptr);
    QLabel* Label34() const { return label34_; }
    void applyDocking() override;

signals:
    // One click: the window's bounds change by exactly these pixels.
    void nudge(int dx, int dy, int dw, int dh);

private:
    QLabel* label34_;
};

} // namespace zarn
