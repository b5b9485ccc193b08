#include "CarSimProcess.h"

#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>

namespace zarn::test {

CarSimProcess::~CarSimProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(2000);
    }
}

bool CarSimProcess::startLive(const QString& home, const QStringList& extraArguments)
{
    link_ = QDir(home).filePath(QStringLiteral("ttyCAR"));
    return startWith(QStringList{QStringLiteral("--prepare-home"), home, QStringLiteral("--link"), link_,
                                 QStringLiteral("--scenario"), QStringLiteral("-"), QStringLiteral("--no-keys")}
                     + extraArguments);
}

bool CarSimProcess::startWith(const QStringList& arguments)
{
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(binaryPath(QStringLiteral("zarn-carsim")), arguments);
    if (!process_.waitForStarted(DefaultTimeoutMs))
        return false;
    static const QRegularExpression ready(QStringLiteral("^# +\\d+\\.\\d+ ready: "));
    return waitForLine([](const QString& line) { return ready.match(line).hasMatch(); }, DefaultTimeoutMs);
}

bool CarSimProcess::run(const QByteArray& lines)
{
    QByteArray text = lines;
    if (!text.endsWith('\n'))
        text += '\n';
    if (process_.write(text) != text.size())
        return false;
    return process_.waitForBytesWritten(DefaultTimeoutMs) || process_.bytesToWrite() == 0;
}

bool CarSimProcess::readMore(int timeoutMs)
{
    if (process_.bytesAvailable() == 0 && !process_.waitForReadyRead(timeoutMs))
        return false;
    const QByteArray bytes = process_.readAll();
    output_ += QString::fromUtf8(bytes);
    // Only whole lines count; the rest waits for its newline.
    partial_ += bytes;
    qsizetype end;
    while ((end = partial_.indexOf('\n')) >= 0) {
        lines_ << QString::fromUtf8(partial_.left(end));
        partial_.remove(0, end + 1);
    }
    return true;
}

template <typename Match> bool CarSimProcess::waitForLine(Match match, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        for (; nextLine_ < lines_.size(); ++nextLine_) {
            if (match(lines_[nextLine_])) {
                ++nextLine_;
                return true;
            }
        }
        if (deadline.hasExpired() || process_.state() == QProcess::NotRunning) {
            readMore(0);
            if (nextLine_ >= lines_.size())
                return false;
            continue;
        }
        readMore(int(qBound(qint64(1), deadline.remainingTime(), qint64(100))));
    }
}

bool CarSimProcess::waitForOutput(const QString& text, int timeoutMs)
{
    return waitForLine([&text](const QString& line) { return line.contains(text); }, timeoutMs);
}

bool CarSimProcess::waitForFrame(const QString& hexPrefix, int timeoutMs)
{
    const QString start = QStringLiteral(" < ") + hexPrefix.toUpper();
    return waitForLine(
        [&start](const QString& line) { return line.contains(start) && !line.contains(QLatin1String("| MALFORMED")); },
        timeoutMs);
}

bool CarSimProcess::waitForGreeting(int timeoutMs)
{
    return waitForLine(
        [](const QString& line) {
            return line.contains(QLatin1String(" < 68 ")) && line.contains(QLatin1String("| cluster text: \"Zarn "))
                   && line.endsWith(QLatin1String(" start..\""));
        },
        timeoutMs);
}

int CarSimProcess::waitForExit(int timeoutMs)
{
    const bool ended = process_.waitForFinished(timeoutMs);
    output();
    if (!ended)
        return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

int CarSimProcess::stop(int timeoutMs)
{
    if (process_.state() != QProcess::NotRunning)
        process_.terminate();
    return waitForExit(timeoutMs);
}

QString CarSimProcess::output()
{
    readMore(0);
    return output_;
}

} // namespace zarn::test
