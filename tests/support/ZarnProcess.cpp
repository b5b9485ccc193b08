#include "ZarnProcess.h"

#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

namespace zarn::test {

ZarnProcess::ZarnProcess()
{
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

ZarnProcess::~ZarnProcess()
{
    if (isRunning()) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString ZarnProcess::statusLog() const
{
    return dir_.filePath(QStringLiteral("status.log"));
}

void ZarnProcess::writeIni(const QByteArray& content)
{
    QFile f(dir_.filePath(QStringLiteral("Zarn.ini")));
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
}

bool ZarnProcess::start(const QStringList& arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZARN_HOME"), dir_.path());
    env.insert(QStringLiteral("ZARN_STATUS_LOG"), statusLog());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/zarn-test"));
    process_.setProcessEnvironment(env);
    process_.setWorkingDirectory(dir_.path());
    process_.start(binaryPath(QStringLiteral("zarn")), arguments);
    return process_.waitForStarted(5000);
}

int ZarnProcess::terminate(int timeoutMs)
{
    if (!isRunning())
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    process_.terminate();
    if (!process_.waitForFinished(timeoutMs)) {
        process_.kill();
        process_.waitForFinished(2000);
        return -1;
    }
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

QStringList ZarnProcess::statusLines() const
{
    QFile f(statusLog());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList ZarnProcess::statusTexts() const
{
    // "hh:mm:ss", before the clock's first tick the system's long format ("hh:mm:ss UTC").
    static const QRegularExpression stamp(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d( UTC)? "));
    QStringList texts;
    for (QString line : statusLines())
        texts << line.remove(stamp);
    return texts;
}

bool ZarnProcess::waitForLine(const QString& text, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    do {
        for (const QString& line : statusLines())
            if (line.endsWith(text))
                return true;
        QThread::msleep(20);
    } while (!deadline.hasExpired());
    return false;
}

} // namespace zarn::test
