#pragma once

#include "ui/pages/ZarnPage.h"

class QTreeWidget;

namespace zarn {

class PlainPanel;
class TBMWpanel;

// Page 6, the mail headers: back item and " Get Mail", the header list `lvHeaders`
// (From, Subject, Date; whole rows, read-only, disabled until the first download) and
// the status line `Mailstatus`. The page owns the list's knob steps and press; what a
// download or a chosen row does is the mail controller's. Main thread only.
class MailHeadersPage : public ZarnPage {
    Q_OBJECT
public:
    explicit MailHeadersPage(QWidget* parent = nullptr);
    void applyDocking() override;

    QTreeWidget* lvHeaders() const { return list_; }
    void setStatus(const QString& text);
    // " Get Mail" and the list together.
    void setDownloadEnabled(bool enabled);
    void clearRows();
    void addRow(const QString& from, const QString& subject, const QString& date);
    // The selected row, -1 without one.
    int selectedRow() const;
    // The list was clicked or pressed with the knob: the selected row is opened.
    void lvHeadersClick();

    // PageInput: the list's knob steps and press.
    bool turn(Turn turn, QWidget* focus) override;
    bool press(QWidget* focus) override;

signals:
    void getMailRequested();
    void headerChosen(int row); // -1: no row selected

private:
    void select(int row);

    TBMWpanel* back_;
    TBMWpanel* getMail_;
    QTreeWidget* list_;
    PlainPanel* status_;
};

} // namespace zarn
