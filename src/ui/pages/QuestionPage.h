#pragma once

#include "ui/pages/ZarnPage.h"

class QLabel;

namespace zarn {

// Page 15: whether to resume the business trip of the last run; "A yes" and "A no"
// along the bottom.
class QuestionPage : public ZarnPage {
    Q_OBJECT
public:
    explicit QuestionPage(QWidget* parent = nullptr);
    void applyDocking() override;

private:
    QLabel* question_;
};

} // namespace zarn
