#include "app/ProgramExit.h"

#include "core/CommandLine.h"
#include "core/StatusLog.h"

#include <QDir>
#include <QFileInfo>

namespace zarn {

ProgramExit::ProgramExit(StatusLog& log, PowerController& power, const CommandLine& commandLine, QString appDir,
                         QString executable, Launcher::Starter starter, Hooks hooks)
    : log_(log)
    , power_(power)
    , commandLine_(commandLine)
    , appDir_(std::move(appDir))
    , executable_(std::move(executable))
    , starter_(std::move(starter))
    , hooks_(std::move(hooks))
{
}

void ProgramExit::endProgram()
{
    if (hooks_.quit)
        hooks_.quit();
}

void ProgramExit::BMWpanel5Click()
{
    // A failed write of Zarn.ini stops here: no goodbye, no power action.
    if (!hooks_.saveMileageAndSettings())
        return;
    if (!hooks_.sendInProgress())
        hooks_.clusterText(QStringLiteral("Zarn shutting down"));
    switch (const PowerController::Option option = power_.optionAt(hooks_.storedPowerOption())) {
    case PowerController::NoOption: break;
    case PowerController::JustExit: endProgram(); break;
    case PowerController::ExplorerShell:
        if (hooks_.startShell)
            hooks_.startShell();
        endProgram();
        break;
    default:
        // Only a request: the system ends or wakes the program.
        power_.request(option);
        break;
    }
}

void ProgramExit::SelButton5Click()
{
    if (hooks_.saveMileageAndSettings())
        endProgram();
}

QStringList ProgramExit::restartArguments() const
{
    QStringList args{hooks_.commPort()};
    for (const char* name : {"AUX", "TVINIT", "NOMOUSE"})
        if (commandLine_.has(name))
            args << QLatin1Char('/') + QLatin1String(name);
    return args;
}

void ProgramExit::BMWpanel67Click()
{
    // Saved before the new instance starts, so that it reads what this one wrote.
    if (!hooks_.saveMileageAndSettings())
        return;
    QString error;
    if (!starter_(executable_, restartArguments(), &error)) {
        log_.addError(executable_ + QStringLiteral(" - Create Process failed: ") + error);
        return;
    }
    handedOver_ = true;
    if (!hooks_.sendInProgress())
        hooks_.clusterText(QStringLiteral("Zarn restarting"));
    endProgram();
}

QString ProgramExit::refreshProgram() const
{
    return QFileInfo(executable_).absoluteDir().filePath(QStringLiteral("Zarn_refresh"));
}

void ProgramExit::BMWpanel82Click()
{
    const QString program = refreshProgram();
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable()) {
        log_.AddStatusLine(program + QStringLiteral(" - no refresh program there"));
        return;
    }
    // Saved first: whatever the refresh program writes then wins.
    if (!hooks_.saveMileageAndSettings())
        return;
    QString error;
    if (!starter_(program, {}, &error)) {
        log_.addError(program + QStringLiteral(" - Create Process failed: ") + error);
        return;
    }
    handedOver_ = true;
    endProgram();
}

void ProgramExit::checkMarkerFile()
{
    const QFileInfo marker(appDir_ + QStringLiteral("shutdown.now"));
    if (marker.isDir()) {
        if (!markerIsDirReported_)
            log_.addWarning(marker.filePath() + QStringLiteral(" is a directory, not a marker file - ignored"));
        markerIsDirReported_ = true;
        return;
    }
    markerIsDirReported_ = false;
    if (marker.exists())
        BMWpanel5Click();
}

} // namespace zarn
