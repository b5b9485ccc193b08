#pragma once

#include "ui/pages/ZarnPage.h"

class QLabel;
class QPlainTextEdit;

namespace zarn {

class PlainPanel;

// Page 7, one mail: the band with the back panel `BitBtnWithColor82` and
// `BitBtnWithColor83`, the captions "From", "To", "Cc", "Date", "Subject" with their
// values `From`, `Recipients`, `Cc`, `Date`, `Subject` (and `Receipt`, held but not
// shown), and the text `MailBody` below. The page owns the text's knob steps and the
// press on the band's panels. Main thread only.
class MailPage : public ZarnPage {
    Q_OBJECT
public:
    struct Fields {
        QString from, recipients, cc, date, subject, receipt, body;
    };

    explicit MailPage(QWidget* parent = nullptr);
    void applyDocking() override;

    void setFields(const Fields& fields);
    QPlainTextEdit* MailBody() const { return body_; }
    // The text takes part in the knob's ring only while a message is shown.
    void setBodyFocusStop(bool stop);

    void BitBtnWithColor82Click();
    // Ten lines down; to the first line.
    static void ScrollTextDown(QPlainTextEdit* view);
    static void ScrollTextTop(QPlainTextEdit* view);

    // PageInput: the text's knob steps, the press on the band's panels.
    bool turn(Turn turn, QWidget* focus) override;
    bool press(QWidget* focus) override;

signals:
    void backRequested();

private:
    PlainPanel* back_;
    PlainPanel* other_;
    QLabel* values_[6];
    QPlainTextEdit* body_;
};

} // namespace zarn
