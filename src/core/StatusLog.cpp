#include "core/StatusLog.h"

#include "core/Clock.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace zarn {

StatusLog::StatusLog(QObject* parent)
    : QObject(parent)
{
}

StatusLog::~StatusLog()
{
    delete mirror_;
}

QString StatusLog::timeStamp() const
{
    const QTime t = Clock::current().now().time();
    if (clockTicked_)
        return t.toString(QStringLiteral("hh:mm:ss"));
    return QLocale::system().toString(t, QLocale::LongFormat);
}

void StatusLog::setClockTicked()
{
    clockTicked_ = true;
}

namespace {
// One write per line, so that lines of other writers to the same stderr never cut it.
void writeLine(int fd, const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

bool sameFile(int a, int b)
{
    struct stat sa {}, sb {};
    return ::fstat(a, &sa) == 0 && ::fstat(b, &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
} // namespace

void StatusLog::AddStatusLine(const QString& text, Severity severity)
{
    const QString line = timeStamp() + QLatin1Char(' ') + text;
    if (mirror_) {
        writeLine(int(mirror_->handle()), line);
    }
    if (severity != Severity::Info && !mirrorIsStderr_) {
        if (alertSink_)
            alertSink_(line);
        else
            writeLine(STDERR_FILENO, line);
    }
    if (size_ + line.size() + 1 > capacity_ && !lines_.isEmpty()) {
        clear();
        if (overflowSink_) {
            overflowSink_(line);
            return;
        }
    }
    lines_.append(line);
    size_ += line.size() + 1;
    emit lineAdded(line);
}

void StatusLog::clear()
{
    lines_.clear();
    size_ = 0;
    emit cleared();
}

bool StatusLog::save(const QString& path, QString* error)
{
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    for (qsizetype i = 0; ok && i < lines_.size(); ++i)
        ok = file.write(lines_[i].toUtf8() + "\r\n") >= 0;
    ok = ok && file.commit();
    if (!ok) {
        if (error)
            *error = QStringLiteral("Unable to write %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    AddStatusLine(QStringLiteral("File ") + path + QStringLiteral(" saved"));
    return true;
}

void StatusLog::setAlertSink(std::function<void(const QString&)> sink)
{
    alertSink_ = std::move(sink);
}

bool StatusLog::setMirror(const QString& target, QString* error)
{
    delete mirror_;
    mirrorIsStderr_ = false;
    mirror_ = new QFile;
    const bool ok = target == QLatin1String("stderr")
        ? mirror_->open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered)
        : (mirror_->setFileName(target), mirror_->open(QIODevice::WriteOnly | QIODevice::Append));
    if (!ok) {
        if (error)
            *error = mirror_->errorString();
        delete mirror_;
        mirror_ = nullptr;
        return false;
    }
    // "stderr", or a file that stderr is redirected to: alerts are in the mirror already.
    mirrorIsStderr_ = sameFile(int(mirror_->handle()), STDERR_FILENO);
    return ok;
}

} // namespace zarn
