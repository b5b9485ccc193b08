#pragma once

#include "ui/pages/ZarnPage.h"

#include <QPointer>

class QLineEdit;
class QPlainTextEdit;

namespace zarn {

class StatusLog;
class TBMWpanel;

// Page 12, "IBUS": the status log view, the strip of "Random list" items and the action
// band `Panel9` with the message and trace switches, "Clear Log", "Save Log to" and "Done".
class IbusPage : public ZarnPage {
    Q_OBJECT
public:
    explicit IbusPage(QWidget* parent = nullptr);

    // The view shows the log's lines from now on and the switches act on it.
    void attachStatusLog(StatusLog& log);

    QPlainTextEdit* Memo1() const { return memo_; }
    QWidget* Panel9() const { return band_; }
    QLineEdit* Edit7() const { return traceFile_; }

    void BMWpanel18Click(); // " Actions"
    void BMWpanel30Click(); // "Done"
    void BMWpanel26Click(); // Messages toggle
    void BMWpanel27Click(); // Trace toggle
    void BMWpanel28Click(); // "Clear Log"
    void BMWpanel29Click(); // "Save Log to"

    void applyDocking() override;

signals:
    // The "T" indicator shows the result of the last toggle; the scheme repaints it.
    void traceIndicatorChanged(bool raised);
    void randomListRequested();
    // The trace file could not be written; the log is unchanged.
    void saveLogFailed(const QString& error);

private:
    TBMWpanel* named(const char* name) const;
    void appendLine(const QString& line);

    QPointer<StatusLog> log_;
    QWidget* band_;
    QWidget* strip_;
    QPlainTextEdit* memo_;
    QLineEdit* traceFile_;
};

} // namespace zarn
