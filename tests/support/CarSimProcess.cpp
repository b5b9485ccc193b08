#include "CarSimProcess.h"

#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

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

bool CarSimProcess::start(const QString& home, const QByteArray& scenario, const QStringList& extraArguments)
{
    const QString scenarioPath = QDir(home).filePath(QStringLiteral("test.scn"));
    QFile f(scenarioPath);
    if (!f.open(QIODevice::WriteOnly) || f.write(scenario) != scenario.size())
        return false;
    f.close();
    link_ = QDir(home).filePath(QStringLiteral("ttyCAR"));
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(binaryPath(QStringLiteral("zarn-carsim")),
                   QStringList{QStringLiteral("--prepare-home"), home, QStringLiteral("--link"), link_,
                               QStringLiteral("--scenario"), scenarioPath, QStringLiteral("--no-keys")}
                       + extraArguments);
    if (!process_.waitForStarted(5000))
        return false;
    QDeadlineTimer deadline(5000);
    while (!QFileInfo::exists(link_) && !deadline.hasExpired())
        QThread::msleep(10);
    return QFileInfo::exists(link_);
}

int CarSimProcess::waitForExit(int timeoutMs)
{
    if (!process_.waitForFinished(timeoutMs))
        return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

QString CarSimProcess::output()
{
    output_ += QString::fromUtf8(process_.readAll());
    return output_;
}

} // namespace zarn::test
