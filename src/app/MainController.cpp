#include "app/MainController.h"

#include "app/SettingsFile.h"
#include "app/StartupView.h"
#include "app/Version.h"
#include "ibus/FrameText.h"
#include "services/LogindSleepWatcher.h"
#include "services/TimedatedClockSetter.h"

#include <QFileInfo>
#include <QLocale>

#include <sys/resource.h>

namespace zarn {

namespace {
constexpr int MakeselfactiveIntervalMs = 10000;
constexpr int ClockIntervalMs = 1000;

// "Unable to write to <file>: Read-only file system"
QString withReason(const QString& error, const QString& reason)
{
    return reason.isEmpty() ? error : error + QStringLiteral(": ") + reason;
}

// The platform's "high priority class": a better nice value, where the user may have it.
void raisePriority()
{
    setpriority(PRIO_PROCESS, 0, -10);
}
} // namespace

MainController::MainController(Environment environment, QObject* parent)
    : QObject(parent)
    , env_(std::move(environment))
    , commandLine_(env_.arguments)
    , ini_(env_.appDir + QStringLiteral("Zarn.ini"))
    , ownClockSetter_(env_.clockSetter ? nullptr : std::make_unique<TimedatedClockSetter>())
    , actions_(env_.actions ? *env_.actions : ownActions_)
    , messages_(vehicle_, log_, options_, env_.clockSetter ? env_.clockSetter : ownClockSetter_.get(), &actions_)
    , requests_(sender_, log_, commandLine_)
    , cd_(sender_, log_)
    , screen_(rts_, log_)
    , busSide_(cd_, screen_, messages_.decoders(), actions_)
    , dispatcher_(codes_, options_, log_, screen_, busSide_)
    , link_(port_, log_, [this](const QString& text) { dispatcher_.ProcessIbusText(text); }, &requests_.Request_Timer,
            &IdleShutdownTimer)
{
    connect(&Makeselfactive, &Timer::timeout, this, &MainController::MakeselfactiveTimer);
    connect(&clocktimer, &Timer::timeout, this, &MainController::clocktimerTimer);
    struct TraceOnly {
        Timer& timer;
        const char* trace;
        bool once;
    };
    for (const TraceOnly& t : {TraceOnly{Timer1, "Timer1 IP Check", false}, TraceOnly{Timer2, "Timer2Timer", false},
                               TraceOnly{RandomListreadTimer, "RandomListreadTimerTimer", true},
                               TraceOnly{startupandasktimer, "startupandasktimerTimer", true}})
        connect(&t.timer, &Timer::timeout, this, [this, timer = &t.timer, trace = t.trace, once = t.once] {
            log_.timerTrace(QLatin1String(trace));
            if (once)
                timer->stop();
        });
    connect(&IdleShutdownTimer, &Timer::timeout, this, &MainController::IdleShutdownTimerTimer);
}

MainController::~MainController() = default;

void MainController::FormCreate(StartupView* view)
{
    StartupView headless;
    StartupView& ui = view ? *view : headless;

    ui.splash(4, {});
    ui.splash(4, QStringLiteral(" Initializing Sound Subsystem BASS"));

    // Wake-up from sleep: the car's television module may need its start frames again.
    if (env_.watchSleep) {
        sleepWatcher_ = std::make_unique<LogindSleepWatcher>();
        connect(sleepWatcher_.get(), &LogindSleepWatcher::resumed, &requests_, &VehicleRequests::onResume);
        sleepWatcher_->start();
    }

    ui.splash(8, QStringLiteral(" Setting Zarn Defaults"));
    cd_.reset();
    dispatcher_.reset();
    requests_.RequestToggle = 1;
    link_.setHexLineLength(DefaultHexLineLength);
    ui.setDefaults();

    log_.clear();
    // The title is not read yet: the line starts with the blank that follows it.
    log_.AddStatusLine(QLatin1Char(' ') + VersionText + QStringLiteral(" starting up..."));
    vehicle_.setLastKnownMileage(0);
    if (commandLine_.has("HIGHPRIO")) {
        raisePriority();
        log_.AddStatusLine(QStringLiteral("HIGH PRIORITY is activated by command line parameter"));
    }

    ui.splash(12, QStringLiteral(" Checking command line parms"));
    if (commandLine_.has("TIMERS")) {
        ui.splash(16, QStringLiteral(" Processing /TIMERS"));
        log_.setTimerTraceEnabled(true);
        log_.AddStatusLine(QStringLiteral("TIMER TRACE is activated by command line parameter"));
    }
    if (commandLine_.has("TRACE")) {
        ui.splash(20, QStringLiteral(" Processing /TRACE"));
        log_.setMessagesEnabled(true);
        ui.setTraceIndicator(true);
        log_.AddStatusLine(QStringLiteral("TRACE is activated by command line parameter"));
    }
    link_.initParity();
    log_.AddStatusLine(QStringLiteral("Windows locale DecimalSeparator is `") + QLocale::system().decimalPoint()
                       + QLatin1Char('`'));
    options_.auxMode = commandLine_.has("AUX");
    if (options_.auxMode)
        ui.splash(-1, QStringLiteral(" Processing /AUX"));
    log_.AddStatusLine(options_.auxMode ? QStringLiteral("AUX mode - numeric buttons 1-6 disabled")
                                        : QStringLiteral("Tape or CD mode - numeric buttons 1-6 enabled"));
    if (commandLine_.has("TVINIT")) {
        ui.splash(-1, QStringLiteral(" Processing /TINIT"));
        requests_.tvinittimer.setInterval(VehicleRequests::TvInitDelay);
        log_.AddStatusLine(QStringLiteral("TVINIT command line parm detected - enabling timer 3 secs"));
    }
    if (commandLine_.has("NOMOUSE")) {
        ui.splash(-1, QStringLiteral(" Processing /NOMOUSE"));
        ui.hideMousePointer();
    }
    if (commandLine_.has("SAVEMEMORY")) {
        ui.splash(-1, QStringLiteral(" Processing /SAVEMEMORY"));
        saveMemory_ = true;
        log_.AddStatusLine(QStringLiteral("Saving memory - no random list created "));
    }
    if (commandLine_.has("FORCESCREEN")) {
        ui.splash(-1, QStringLiteral(" Processing /FORCESCREEN"));
        screen_.forceScreen();
        log_.AddStatusLine(QStringLiteral("FORCESCREEN by command line parameter used, RTS PIN turned on in SIMULATION mode"));
    }

    ui.splash(24, QStringLiteral(" Processing zarn.ini..."));
    SettingsLoadHooks hooks;
    hooks.splash = [&ui](int progress, const QString& line) { ui.splash(progress, line); };
    hooks.loadCodes = [this] {
        codes_.Load([this](const QString& key, const QString& def) { return ini_.readString(QStringLiteral("codes"), key, def); },
                    log_);
    };
    hooks.comPort = [this](const Settings& s) {
        link_.selectPort(s.portIndex, s.devicePath);
        link_.initReceiveTimes(s.rtoCharDelayTime, s.rtoExtraDelayTime);
    };
    settings_ = LoadSettings(ini_, log_, hooks);
    applySettings();
    ui.applySettings(settings_);

    ui.splash(92, QStringLiteral(" Processing MP3 replay settings"));
    ui.splash(96, QStringLiteral(" Processing locales"));
    ui.setMetric(options_.miles);
    log_.AddStatusLine(options_.miles ? QStringLiteral("Metric set to miles ") : QStringLiteral("Metric set to kilometers "));

    link_.openPortAtStartup([&ui](const QString& line) { ui.splash(97, line); });
    if (!port_.SendInProgress())
        sender_.SendClusterText(QStringLiteral("Zarn ") + VersionText + QStringLiteral(" start.."));

    vehicle_.setLastKnownMileage(LoadMileage(ini_, log_));
    ui.splash(98, QStringLiteral(" Checking radar.bin"));
    log_.AddStatusLine(QStringLiteral("Last known mileage read - number is ") + QString::number(vehicle_.LastKnownMileage));
    ui.splash(-1, QStringLiteral(" Checking autolaunch"));

    ui.splash(99, QStringLiteral(" Adapting colors"));
    ui.splash(100, QStringLiteral(" Setting items positions and sizes"));
    ui.finish();
    ui.splash(-1, QStringLiteral(" Bringing main menu online..."));
    if (!settings_.mp3.isEmpty() && !QFileInfo(settings_.mp3).isDir())
        ui.splash(-1, QStringLiteral(" MP3 Directory not found"));

    startWindowTimers();
}

void MainController::startWindowTimers()
{
    link_.start();
    Makeselfactive.setInterval(MakeselfactiveIntervalMs);
    clocktimer.setInterval(ClockIntervalMs);
    Timer1.setInterval(60000);
    Timer2.setInterval(900);
    RandomListreadTimer.setInterval(6000);
    startupandasktimer.setInterval(8000);
}

void MainController::applySettings()
{
    options_.cdEmulation = settings_.cdEmulation;
    options_.noSend = settings_.noSend;
    options_.miles = settings_.miles;
    options_.shutdownWithCheckControl = settings_.shutdownWithCheckControl;
    options_.shutDownMessageActive = settings_.shutDownMessageActive;
    options_.shutDownMessage = settings_.shutDownMessage;
    link_.setShutdownAfterIbusIdle(settings_.shutdownAfterIbusIdle);
    link_.setShutdownAfterIbusIdleSeconds(settings_.idleShutdownSeconds);
}

// The live values that can change while the program runs go back into the model.
void MainController::captureSettings()
{
    settings_.cdEmulation = options_.cdEmulation;
    settings_.noSend = options_.noSend;
    settings_.miles = options_.miles;
    settings_.shutdownWithCheckControl = options_.shutdownWithCheckControl;
    settings_.shutDownMessageActive = options_.shutDownMessageActive;
    settings_.shutDownMessage = options_.shutDownMessage;
    settings_.shutdownAfterIbusIdle = link_.shutdownAfterIbusIdle();
    settings_.idleShutdownSeconds = link_.shutdownAfterIbusIdleSeconds();
    settings_.rtoCharDelayTime = int(port_.RTOCharDelayTime());
    settings_.rtoExtraDelayTime = port_.RTOExtraDelayTime();
    if (captureWindow_)
        captureWindow_(settings_);
}

bool MainController::SaveSettingsNow()
{
    captureSettings();
    QString error;
    if (SaveSettings(ini_, settings_, &error))
        return true;
    log_.addError(withReason(error, ini_.errorDetail()));
    return false;
}

void MainController::FormCloseQuery()
{
    QString error;
    if (!SaveMileage(ini_, vehicle_.BMWpanel110, &error))
        log_.addError(withReason(error, ini_.errorDetail()));
    SaveSettingsNow();
    link_.CommPortSupervisor().stop();
    link_.ClosePort();
}

void MainController::MakeselfactiveTimer()
{
    log_.timerTrace(QStringLiteral("MakeselfactiveTimer"));
    if (keepInFront_)
        keepInFront_();
    requests_.RequestStreetCity();
}

void MainController::clocktimerTimer()
{
    log_.timerTrace(QStringLiteral("Clocktimer"));
    log_.setClockTicked();
}

void MainController::IdleShutdownTimerTimer()
{
    log_.timerTrace(QStringLiteral("IdleShutdownTimerTimer"));
    actions_.busEvent({BusEvent::Kind::Exit});
}

} // namespace zarn
