#pragma once

#include "core/Clock.h"
#include "core/TimerScheduler.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

namespace zarn {
class StatusLog;
}

namespace zarn::test {

// Installs virtual time (timers and clock) for the lifetime of the object.
class VirtualTime {
public:
    explicit VirtualTime(const QDateTime& start = QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)));
    ~VirtualTime();
    VirtualTime(const VirtualTime&) = delete;
    VirtualTime& operator=(const VirtualTime&) = delete;

    void advance(qint64 ms) { scheduler.advance(ms); }
    qint64 now() const { return scheduler.nowMs(); }

    ManualTimerScheduler scheduler;
    ManualClock clock;
};

// "80 04 FF" -> the bytes; "80 04 FF" style text as a received block text.
QByteArray hexBytes(const QString& hex);
QString blockText(const QString& hex);
// "80 04 FF" -> the block text with its checksum appended ("8004FF7B").
QString frame(QString hex);

// The message texts of the log, without their time stamps.
QStringList texts(const StatusLog& log);

// Whole-file helpers; a missing file reads as "<missing>", a failed write fails the test.
QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);

// Path of a built program (zarn, zarn-carsim) or of a file of the source tree.
QString binaryPath(const QString& name);
QString sourcePath(const QString& relative);

} // namespace zarn::test
