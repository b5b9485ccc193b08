#include "services/Launcher.h"

#include "core/StatusLog.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace zarn {

Launcher::Command Launcher::split(const QString& commandLine)
{
    Command c;
    QStringList tokens;
    QString token;
    bool inToken = false;
    bool quoted = false;
    for (const QChar ch : commandLine) {
        if (ch == QLatin1Char('"')) {
            quoted = !quoted;
            inToken = true; // "" is an argument of its own
        } else if (!quoted && ch.isSpace()) {
            if (inToken)
                tokens << token;
            token.clear();
            inToken = false;
        } else {
            token += ch;
            inToken = true;
        }
    }
    if (quoted) {
        c.error = QStringLiteral("unbalanced quotes");
        return c;
    }
    if (inToken)
        tokens << token;
    if (tokens.isEmpty() || tokens.first().isEmpty()) {
        c.error = QStringLiteral("no program named");
        return c;
    }
    c.program = tokens.takeFirst();
    c.arguments = tokens;
    return c;
}

bool Launcher::startDetached(const QString& program, const QStringList& arguments, QString* reason)
{
    // QProcess says only "failed to start"; these are the causes the driver can fix.
    QString path = program;
    if (!program.contains(QLatin1Char('/'))) {
        path = QStandardPaths::findExecutable(program);
        if (path.isEmpty()) {
            *reason = QStringLiteral("no such program in the search path");
            return false;
        }
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        *reason = QStringLiteral("no such file");
        return false;
    }
    if (info.isDir()) {
        *reason = QStringLiteral("is a directory");
        return false;
    }
    if (!info.isExecutable()) {
        *reason = QStringLiteral("not executable");
        return false;
    }
    QProcess process;
    process.setProgram(path);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (process.startDetached())
        return true;
    *reason = process.errorString();
    return false;
}

Launcher::Launcher(StatusLog& log, QObject* parent)
    : QObject(parent)
    , log_(log)
    , starter_(&Launcher::startDetached)
{
}

bool Launcher::StartProgram(const QString& commandLine, QString* reason)
{
    QString why;
    const Command c = split(commandLine);
    const bool started = c.error.isEmpty() ? starter_(c.program, c.arguments, &why) : (why = c.error, false);
    if (!started && reason)
        *reason = why;
    return started;
}

void Launcher::StartApplication(const QString& commandLine)
{
    QString reason;
    if (StartProgram(commandLine, &reason))
        log_.AddStatusLine(QStringLiteral("Application 1 - ") + commandLine + QStringLiteral(" has been started ()"));
    else
        log_.addError(QStringLiteral("Error starting Application 1 - ") + commandLine + QStringLiteral(": ") + reason);
}

void Launcher::BMWpanel76Click(const QString& launchPath)
{
    StartApplication(QLatin1Char('"') + launchPath + QLatin1Char('"'));
}

void Launcher::registerStartup(StartupSequence& startup, std::function<QString()> command)
{
    startup.add(QStringLiteral("autolaunch"), [this, command = std::move(command)](const StartupSequence::Splash& splash) {
        splash(-1, QStringLiteral(" Checking autolaunch"));
        if (const QString line = command(); !line.isEmpty())
            StartApplication(line);
    });
}

} // namespace zarn
