#include "app/MainController.h"

#include "app/SettingsFile.h"
#include "app/Version.h"
#include "ibus/FrameText.h"
#include "services/LogindSleepWatcher.h"
#include "services/TimedatedClockSetter.h"

#include <QLocale>

namespace zarn {

namespace {
constexpr int MakeselfactiveIntervalMs = 10000;
constexpr int ClockIntervalMs = 1000;
} // namespace

MainController::MainController(Environment environment, QObject* parent)
    : QObject(parent)
    , env_(std::move(environment))
    , commandLine_(env_.arguments)
    , ini_(env_.appDir + QStringLiteral("Zarn.ini"))
    , ownClockSetter_(env_.clockSetter ? nullptr : std::make_unique<TimedatedClockSetter>())
    , messages_(vehicle_, log_, options_, env_.clockSetter ? env_.clockSetter : ownClockSetter_.get(), &actions_)
    , requests_(sender_, log_, commandLine_)
    , cd_(sender_, log_)
    , screen_(rts_, log_)
    , dispatcher_(codes_, options_, log_, actions_, cd_, screen_, messages_.decoders())
    , link_(port_, log_, [this](const QString& text) { dispatcher_.ProcessIbusText(text); }, &requests_.Request_Timer,
            &IdleShutdownTimer)
{
    connect(&Makeselfactive, &Timer::timeout, this, &MainController::MakeselfactiveTimer);
    connect(&clocktimer, &Timer::timeout, this, &MainController::clocktimerTimer);
    connect(&IdleShutdownTimer, &Timer::timeout, this, &MainController::IdleShutdownTimerTimer);
}

MainController::~MainController() = default;

void MainController::FormCreate()
{
    // Wake-up from sleep: the car's television module may need its start frames again.
    if (env_.watchSleep) {
        sleepWatcher_ = std::make_unique<LogindSleepWatcher>();
        connect(sleepWatcher_.get(), &LogindSleepWatcher::resumed, &requests_, &VehicleRequests::onResume);
        sleepWatcher_->start();
    }

    // Defaults.
    cd_.reset();
    requests_.RequestToggle = 1;
    link_.setHexLineLength(DefaultHexLineLength);

    log_.clear();
    // The title is not read yet: the line starts with the blank that follows it.
    log_.AddStatusLine(QLatin1Char(' ') + VersionText + QStringLiteral(" starting up..."));
    vehicle_.setLastKnownMileage(0);

    if (commandLine_.has("TIMERS")) {
        log_.setTimerTraceEnabled(true);
        log_.AddStatusLine(QStringLiteral("TIMER TRACE is activated by command line parameter"));
    }
    if (commandLine_.has("TRACE")) {
        log_.setMessagesEnabled(true);
        log_.AddStatusLine(QStringLiteral("TRACE is activated by command line parameter"));
    }
    link_.initParity();
    log_.AddStatusLine(QStringLiteral("Windows locale DecimalSeparator is `") + QLocale::system().decimalPoint()
                       + QLatin1Char('`'));
    options_.auxMode = commandLine_.has("AUX");
    log_.AddStatusLine(options_.auxMode ? QStringLiteral("AUX mode - numeric buttons 1-6 disabled")
                                        : QStringLiteral("Tape or CD mode - numeric buttons 1-6 enabled"));
    if (commandLine_.has("TVINIT")) {
        requests_.tvinittimer.setInterval(VehicleRequests::TvInitDelay);
        log_.AddStatusLine(QStringLiteral("TVINIT command line parm detected - enabling timer 3 secs"));
    }
    if (commandLine_.has("SAVEMEMORY")) {
        saveMemory_ = true;
        log_.AddStatusLine(QStringLiteral("Saving memory - no random list created "));
    }
    if (commandLine_.has("FORCESCREEN")) {
        screen_.forceScreen();
        log_.AddStatusLine(QStringLiteral("FORCESCREEN by command line parameter used, RTS PIN turned on in SIMULATION mode"));
    }

    SettingsLoadHooks hooks;
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

    log_.AddStatusLine(options_.miles ? QStringLiteral("Metric set to miles ") : QStringLiteral("Metric set to kilometers "));

    link_.openPortAtStartup();
    if (!port_.SendInProgress())
        sender_.SendClusterText(QStringLiteral("Zarn ") + VersionText + QStringLiteral(" start.."));

    vehicle_.setLastKnownMileage(LoadMileage(ini_, log_));
    log_.AddStatusLine(QStringLiteral("Last known mileage read - number is ") + QString::number(vehicle_.LastKnownMileage));

    link_.start();
    Makeselfactive.setInterval(MakeselfactiveIntervalMs);
    clocktimer.setInterval(ClockIntervalMs);
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
}

void MainController::FormCloseQuery()
{
    QString error;
    if (!SaveMileage(ini_, vehicle_.BMWpanel110, &error))
        log_.AddStatusLine(error);
    captureSettings();
    if (!SaveSettings(ini_, settings_, &error))
        log_.AddStatusLine(error);
    link_.CommPortSupervisor().stop();
    link_.ClosePort();
}

void MainController::MakeselfactiveTimer()
{
    log_.timerTrace(QStringLiteral("MakeselfactiveTimer"));
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
    actions_.BMWpanel5Click();
}

} // namespace zarn
