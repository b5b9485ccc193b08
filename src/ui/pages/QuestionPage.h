#pragma once

#include "ui/pages/ZarnPage.h"

class QLabel;

namespace zarn {

// Page 15: whether to resume the business trip of the last run; "A yes" and "A no"
// along the bottom. The answers only ask (the signals); the driver's log decides.
// Main thread only.
class QuestionPage : public ZarnPage {
    Q_OBJECT
public:
    explicit QuestionPage(QWidget* parent = nullptr);
    void applyDocking() override;

    // "A no" takes the focus (the start-up question's timer); nothing when it cannot.
    void focusNo();

signals:
    void yesRequested(); // BMWpanel74, "A yes"
    void noRequested();  // BMWpanel75, "A no"

private:
    QLabel* question_;
};

} // namespace zarn
