#pragma once

#include "core/StartupSequence.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace zarn {

class StatusLog;

// Starts other programs beside this one and forgets them: no waiting, no watching, no
// stopping. A command line is split into program and arguments here (never by a
// shell): blanks separate, double quotes keep blanks inside one argument and are
// removed, "" is an empty argument. Main thread only.
class Launcher : public QObject {
    Q_OBJECT
public:
    struct Command {
        QString program;
        QStringList arguments;
        QString error; // why the line cannot be split; empty when it can
    };
    static Command split(const QString& commandLine);

    // Starts program with arguments, detached; false with the reason when it did not start.
    using Starter = std::function<bool(const QString& program, const QStringList& arguments, QString* reason)>;
    static bool startDetached(const QString& program, const QStringList& arguments, QString* reason);

    explicit Launcher(StatusLog& log, QObject* parent = nullptr);

    // Tests count the starts instead of running programs.
    void setStarter(Starter starter) { starter_ = std::move(starter); }

    // Starts it and writes "Application 1 - <line> has been started ()", or the error line
    // "Error starting Application 1 - <line>: <reason>".
    void StartApplication(const QString& commandLine);
    // The same start without a status line; reason says why it failed.
    bool StartProgram(const QString& commandLine, QString* reason = nullptr);
    // The Launch item: the path between double quotes, so a path with blanks is one
    // program without arguments.
    void BMWpanel76Click(const QString& launchPath);

    // The start-up step " Checking autolaunch": starts the line that command gives, unless
    // it is empty; a failure is reported and the start-up goes on.
    void registerStartup(StartupSequence& startup, std::function<QString()> command);

private:
    StatusLog& log_;
    Starter starter_;
};

} // namespace zarn
