#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QFile;

namespace zarn {

// The one time-stamped log every part of the program writes to.
// Error and warning lines also go to the alert sink (stderr unless set), so the car
// PC's journal holds them when nobody mirrors the log; the writer says which lines
// they are. Main thread only.
class StatusLog : public QObject {
    Q_OBJECT
public:
    enum class Severity { Info, Warning, Error };

    // Roughly what the log view can hold before it must be emptied.
    static constexpr qsizetype DefaultCapacity = 4 * 1024 * 1024;

    explicit StatusLog(QObject* parent = nullptr);
    ~StatusLog() override;

    // Time stamp + " " + text; the text is kept exactly as given.
    void AddStatusLine(const QString& text, Severity severity = Severity::Info);
    // Something failed: a device that did not open, a file not written, "Error in ...".
    void addError(const QString& text) { AddStatusLine(text, Severity::Error); }
    // Something the user should fix but the program copes with (a bad Zarn.ini value).
    void addWarning(const QString& text) { AddStatusLine(text, Severity::Warning); }
    // Written only while MessagesEnabled.
    void addMessage(const QString& text, Severity severity = Severity::Info)
    {
        if (messagesEnabled_)
            AddStatusLine(text, severity);
    }
    // "$$$ Timer - <name>" while TimerTraceEnabled, before the tick's own work.
    void timerTrace(const QString& name)
    {
        if (timerTraceEnabled_)
            AddStatusLine(QStringLiteral("$$$ Timer - ") + name);
    }

    const QStringList& lines() const { return lines_; }
    void clear();
    // Writes every line, CRLF-terminated, to path (replacing it atomically), then adds
    // "File <path> saved". On failure nothing is added and error says why.
    bool save(const QString& path, QString* error = nullptr);

    bool messagesEnabled() const { return messagesEnabled_; }
    void setMessagesEnabled(bool on) { messagesEnabled_ = on; }
    bool frameTraceEnabled() const { return frameTraceEnabled_; }
    void setFrameTraceEnabled(bool on) { frameTraceEnabled_ = on; }
    bool timerTraceEnabled() const { return timerTraceEnabled_; }
    void setTimerTraceEnabled(bool on) { timerTraceEnabled_ = on; }

    // Until the clock display's first tick the system's long time format is used;
    // from then on hh:mm:ss.
    void setClockTicked();
    QString timeStamp() const;

    qsizetype capacity() const { return capacity_; }
    void setCapacity(qsizetype chars) { capacity_ = chars; }
    // Where a line goes that the full log could not take (the splash screen's list
    // while it exists). Without a sink the line starts the emptied log.
    void setOverflowSink(std::function<void(const QString&)> sink) { overflowSink_ = std::move(sink); }

    // Mirrors every line as it is added: "stderr" or a file path (ZARN_STATUS_LOG).
    bool setMirror(const QString& target, QString* error = nullptr);
    // Where error and warning lines go besides the log; null restores stderr. Nothing
    // goes there while the mirror already writes to that same stderr.
    void setAlertSink(std::function<void(const QString& line)> sink);

signals:
    void lineAdded(const QString& line);
    void cleared();

private:
    QStringList lines_;
    qsizetype size_ = 0;
    qsizetype capacity_ = DefaultCapacity;
    bool messagesEnabled_ = false;
    bool frameTraceEnabled_ = false;
    bool timerTraceEnabled_ = false;
    bool clockTicked_ = false;
    std::function<void(const QString&)> overflowSink_;
    QFile* mirror_ = nullptr;
    bool mirrorIsStderr_ = false;
    std::function<void(const QString&)> alertSink_;
};

} // namespace zarn
