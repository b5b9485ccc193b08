#pragma once

#include "services/Launcher.h"
#include "services/PowerController.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace zarn {

class CommandLine;
class StatusLog;

// The ways out of the running program: the exit action with the selected power option,
// the steering simulator's plain end, the restart with the passed-on switches, the
// refresh hand-over and the marker file. Owned by the composition root; main thread only.
//
// Ending the program is a quit of the event loop: the close path that follows
// (FormCloseQuery) closes the port and, unless the program was handed over, saves again.
class ProgramExit {
public:
    struct Hooks {
        std::function<bool()> saveMileageAndSettings; // false: a write failed (already written)
        std::function<bool()> sendInProgress;
        std::function<void(const QString&)> clusterText;
        std::function<int()> storedPowerOption;      // RadioGroup1.ItemIndex as it stands
        std::function<QString()> commPort;           // "COM2": the first argument of a restart
        std::function<void()> startShell;            // power option 1's shell command
        std::function<void()> quit;
    };

    // executable: the running program, which a restart starts again and beside which the
    // refresh program lies. starter: how both are started.
    ProgramExit(StatusLog& log, PowerController& power, const CommandLine& commandLine, QString appDir,
                QString executable, Launcher::Starter starter, Hooks hooks);

    // The exit action: save, say goodbye on the cluster, carry out the power option.
    void BMWpanel5Click();
    // The simulator's "end": save and end, whatever the power option.
    void SelButton5Click();
    // "Restart Zarn": save, start a new instance with AUX, TVINIT and NOMOUSE passed on, end.
    void BMWpanel67Click();
    // "Refresh Zarn from MP3 dir...": save, hand over to Zarn_refresh beside the program, end.
    void BMWpanel82Click();
    // The make-self-active tick's look for AppDir + "shutdown.now".
    void checkMarkerFile();

    // The new instance's arguments.
    QStringList restartArguments() const;
    QString refreshProgram() const;
    // A restart or refresh took over: the close path must not write over what it reads.
    bool handedOver() const { return handedOver_; }

private:
    void endProgram();

    StatusLog& log_;
    PowerController& power_;
    const CommandLine& commandLine_;
    QString appDir_;
    QString executable_;
    Launcher::Starter starter_;
    Hooks hooks_;
    bool handedOver_ = false;
    bool markerIsDirReported_ = false;
};

} // namespace zarn
