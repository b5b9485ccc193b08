#include "app/MainController.h"

#include "app/SettingsFile.h"
#include "app/StartupView.h"
#include "app/Version.h"
#include "core/Clock.h"
#include "core/TimerScheduler.h"
#include "ibus/FrameText.h"
#include "services/LogindSleepWatcher.h"
#include "services/TimedatedClockSetter.h"

#include <QCoreApplication>
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
    , actions_(env_.actions ? *env_.actions : ownActions_)
    , ownClockSetter_(env_.clockSetter ? nullptr : std::make_unique<TimedatedClockSetter>())
    , messages_(vehicle_, log_, options_, env_.clockSetter ? env_.clockSetter : ownClockSetter_.get(), &actions_)
    , requests_(sender_, log_, commandLine_)
    , cd_(sender_, log_)
    , screen_(rts_, log_)
    , busSide_(cd_, screen_, messages_.decoders(), actions_)
    , dispatcher_(codes_, options_, log_, screen_, busSide_)
    , link_(port_, log_, [this](const QString& text) { dispatcher_.ProcessIbusText(text); }, &requests_.Request_Timer,
            &IdleShutdownTimer)
    , ownAudio_(env_.audio ? nullptr : std::make_unique<FfmpegAudioEngine>(&log_))
    , audio_(env_.audio ? *env_.audio : *ownAudio_)
    , player_(audio_, musicList_, TimerScheduler::current(), log_, sender_, ini_, settings_.media, env_.appDir)
    , ownWavePlayer_(env_.wavePlayer ? nullptr : std::make_unique<SdlWavePlayer>(&log_))
    , wavePlayer_(env_.wavePlayer ? *env_.wavePlayer : *ownWavePlayer_)
    , randomList_(TimerScheduler::current(), log_, sender_, env_.appDir)
    , power_(log_, env_.powerBus ? env_.powerBus() : QDBusConnection::systemBus())
    , exit_(log_, power_, commandLine_, env_.appDir,
            env_.executable.isEmpty() ? QCoreApplication::applicationFilePath() : env_.executable,
            env_.starter ? env_.starter : Launcher::Starter(&Launcher::startDetached), exitHooks())
{
    connect(&Makeselfactive, &Timer::timeout, this, &MainController::MakeselfactiveTimer);
    connect(&clocktimer, &Timer::timeout, this, &MainController::clocktimerTimer);
    connect(&IdleShutdownTimer, &Timer::timeout, this, &MainController::IdleShutdownTimerTimer);
    actions_.player = &player_;
    connect(&player_, &MusicPlayer::streamStarted, &soundFx_, &SoundEffects::attachTo);
    connect(&soundFx_, &SoundEffects::sampleRateTextChanged, &player_, &MusicPlayer::showSampleRate);
    actions_.radar = &radar_;
    actions_.exitAction = [this] { BMWpanel5Click(); };
    if (env_.starter)
        launcher_.setStarter(env_.starter);
    wireRandomList();
    wireDriversLog();
    registerStartupSteps();
}

void MainController::wireRandomList()
{
    connect(&randomList_, &RandomList::entriesChanged, this, [this] { player_.setRandomEntries(randomList_.entries()); });
    connect(&randomList_, &RandomList::statusChanged, &player_, &MusicPlayer::setRandomStatus);
    connect(&favourites_, &Favourites::statusChanged, &player_, &MusicPlayer::setRandomStatus);
}

bool MainController::addFavourite(const QString& musicRoot)
{
    return favourites_.add(player_.CurrentTrack(), musicRoot);
}

MainController::~MainController() = default;

void MainController::FormCreate(StartupView* view)
{
    StartupView headless;
    ui_ = view ? view : &headless;
    startup_.run([this](int progress, const QString& line) { ui_->splash(progress, line); });
    ui_ = nullptr;
}

// The fixed order of the start-up: later steps read what earlier ones set, and some
// status lines come before Zarn.ini is read.
void MainController::registerStartupSteps()
{
    using Splash = StartupSequence::Splash;
    startup_.add(QStringLiteral("audio output"), [this](const Splash& splash) {
        splash(4, {});
        splash(4, QStringLiteral(" Initializing Sound Subsystem BASS"));
        player_.setOutputDevice(env_.audioDevice);
        player_.InitAudioOutput();
    });
    startup_.add(QStringLiteral("wake-up watch"), [this](const Splash&) {
        // Wake-up from sleep: the car's television module may need its start frames again.
        if (env_.watchSleep) {
            sleepWatcher_ = std::make_unique<LogindSleepWatcher>();
            connect(sleepWatcher_.get(), &LogindSleepWatcher::resumed, &requests_, &VehicleRequests::onResume);
            sleepWatcher_->start();
        }
    });
    startup_.add(QStringLiteral("defaults"), [this](const Splash& splash) {
        splash(8, QStringLiteral(" Setting Zarn Defaults"));
        cd_.reset();
        dispatcher_.reset();
        requests_.RequestToggle = 1;
        link_.setHexLineLength(DefaultHexLineLength);
        ui_->setDefaults();

        log_.clear();
        // The title is not read yet: the line starts with the blank that follows it.
        log_.AddStatusLine(QLatin1Char(' ') + VersionText + QStringLiteral(" starting up..."));
        power_.ReadPowerCapabilities();
        ui_->setPowerOptions(power_.optionTexts());
        vehicle_.setLastKnownMileage(0);
        if (commandLine_.has("HIGHPRIO")) {
            raisePriority();
            log_.AddStatusLine(QStringLiteral("HIGH PRIORITY is activated by command line parameter"));
        }
    });
    startup_.add(QStringLiteral("command line"), [this](const Splash& splash) { commandLineSwitches(splash); });
    startup_.add(QStringLiteral("Zarn.ini"), [this](const Splash& splash) {
        splash(24, QStringLiteral(" Processing zarn.ini..."));
        SettingsLoadHooks hooks;
        hooks.splash = splash;
        hooks.loadCodes = [this] {
            codes_.Load([this](const QString& key, const QString& def) { return ini_.readString(QStringLiteral("codes"), key, def); },
                        log_);
        };
        hooks.comPort = [this](const Settings& s) {
            link_.selectPort(s.serial.portIndex, s.serial.devicePath);
            link_.initReceiveTimes(s.serial.rtoCharDelayTime, s.serial.rtoExtraDelayTime);
        };
        settings_ = LoadSettings(ini_, log_, hooks);
        applySettings();
        driversLog_.load(settings_.driversLog);
        ui_->applySettings(settings_);
    });
    startup_.add(QStringLiteral("music list"), [this](const Splash&) {
        musicList_.setMask(QString::fromLatin1(MusicListModel::MusicMask));
        musicList_.GoToPath(settings_.media.mp3);
        ui_->showMusicRoot(settings_.media.mp3);
    });
    player_.registerStartup(startup_);
    startup_.add(QStringLiteral("locales"), [this](const Splash& splash) {
        splash(96, QStringLiteral(" Processing locales"));
        ui_->setMetric(options_.miles);
        log_.AddStatusLine(options_.miles ? QStringLiteral("Metric set to miles ") : QStringLiteral("Metric set to kilometers "));
    });
    startup_.add(QStringLiteral("serial port"), [this](const Splash& splash) {
        link_.openPortAtStartup([&splash](const QString& line) { splash(97, line); });
        if (!port_.SendInProgress())
            sender_.SendClusterText(QStringLiteral("Zarn ") + VersionText + QStringLiteral(" start.."));
    });
    // The resumed track's name goes to the cluster, so the resume waits for the port.
    startup_.add(QStringLiteral("music resume"), [this](const Splash&) { player_.replayLastTrack(); });
    startup_.add(QStringLiteral("mileage"), [this](const Splash& splash) {
        vehicle_.setLastKnownMileage(LoadMileage(ini_, log_));
        splash(98, QStringLiteral(" Checking radar.bin"));
        log_.AddStatusLine(QStringLiteral("Last known mileage read - number is ") + QString::number(vehicle_.LastKnownMileage));
    });
    radar_.registerStartup(startup_, env_.appDir);
    launcher_.registerStartup(startup_, [this] { return settings_.launcher.application1; });
    startup_.add(QStringLiteral("colors, layout and main menu"), [this](const Splash& splash) {
        splash(99, QStringLiteral(" Adapting colors"));
        splash(100, QStringLiteral(" Setting items positions and sizes"));
        ui_->finish();
        splash(-1, QStringLiteral(" Bringing main menu online..."));
        if (!settings_.media.mp3.isEmpty() && !QFileInfo(settings_.media.mp3).isDir())
            splash(-1, QStringLiteral(" MP3 Directory not found"));
    });
    startup_.add(QStringLiteral("window timers"), [this](const Splash&) { startWindowTimers(); });
    startup_.add(QStringLiteral("random list read"), [this](const Splash&) { randomList_.setSaveMemory(saveMemory_); });
    randomList_.registerStartup(startup_);
}

void MainController::commandLineSwitches(const StartupSequence::Splash& splash)
{
    splash(12, QStringLiteral(" Checking command line parms"));
    if (commandLine_.has("TIMERS")) {
        splash(16, QStringLiteral(" Processing /TIMERS"));
        log_.setTimerTraceEnabled(true);
        log_.AddStatusLine(QStringLiteral("TIMER TRACE is activated by command line parameter"));
    }
    if (commandLine_.has("TRACE")) {
        splash(20, QStringLiteral(" Processing /TRACE"));
        log_.setMessagesEnabled(true);
        ui_->setTraceIndicator(true);
        log_.AddStatusLine(QStringLiteral("TRACE is activated by command line parameter"));
    }
    link_.initParity();
    log_.AddStatusLine(QStringLiteral("Windows locale DecimalSeparator is `") + QLocale::system().decimalPoint()
                       + QLatin1Char('`'));
    options_.auxMode = commandLine_.has("AUX");
    if (options_.auxMode)
        splash(-1, QStringLiteral(" Processing /AUX"));
    log_.AddStatusLine(options_.auxMode ? QStringLiteral("AUX mode - numeric buttons 1-6 disabled")
                                        : QStringLiteral("Tape or CD mode - numeric buttons 1-6 enabled"));
    if (commandLine_.has("TVINIT")) {
        splash(-1, QStringLiteral(" Processing /TINIT"));
        requests_.tvinittimer.setInterval(VehicleRequests::TvInitDelay);
        log_.AddStatusLine(QStringLiteral("TVINIT command line parm detected - enabling timer 3 secs"));
    }
    if (commandLine_.has("NOMOUSE")) {
        splash(-1, QStringLiteral(" Processing /NOMOUSE"));
        ui_->hideMousePointer();
    }
    if (commandLine_.has("SAVEMEMORY")) {
        splash(-1, QStringLiteral(" Processing /SAVEMEMORY"));
        saveMemory_ = true;
        log_.AddStatusLine(QStringLiteral("Saving memory - no random list created "));
    }
    if (commandLine_.has("FORCESCREEN")) {
        splash(-1, QStringLiteral(" Processing /FORCESCREEN"));
        screen_.forceScreen();
        log_.AddStatusLine(QStringLiteral("FORCESCREEN by command line parameter used, RTS PIN turned on in SIMULATION mode"));
    }
}

void MainController::startWindowTimers()
{
    link_.start();
    Makeselfactive.setInterval(MakeselfactiveIntervalMs);
    clocktimer.setInterval(ClockIntervalMs);
    systemStatus_.start();
    driversLog_.startTimers();
}

void MainController::applySettings()
{
    options_.cdEmulation = settings_.bus.cdEmulation;
    options_.noSend = settings_.bus.noSend;
    options_.miles = settings_.bus.miles;
    options_.shutdownWithCheckControl = settings_.bus.shutdownWithCheckControl;
    options_.shutDownMessageActive = settings_.bus.shutDownMessageActive;
    options_.shutDownMessage = settings_.bus.shutDownMessage;
    link_.setShutdownAfterIbusIdle(settings_.power.shutdownAfterIbusIdle);
    link_.setShutdownAfterIbusIdleSeconds(settings_.power.idleShutdownSeconds);
    radar_.setSettings(settings_.radar);
    driversLog_.applySettings(settings_.driversLog);
}

// The live values that can change while the program runs go back into the model.
void MainController::captureSettings()
{
    settings_.bus.cdEmulation = options_.cdEmulation;
    settings_.bus.noSend = options_.noSend;
    settings_.bus.miles = options_.miles;
    settings_.bus.shutdownWithCheckControl = options_.shutdownWithCheckControl;
    settings_.bus.shutDownMessageActive = options_.shutDownMessageActive;
    settings_.bus.shutDownMessage = options_.shutDownMessage;
    settings_.power.shutdownAfterIbusIdle = link_.shutdownAfterIbusIdle();
    settings_.power.idleShutdownSeconds = link_.shutdownAfterIbusIdleSeconds();
    settings_.serial.rtoCharDelayTime = int(port_.RTOCharDelayTime());
    settings_.serial.rtoExtraDelayTime = port_.RTOExtraDelayTime();
    driversLog_.store(settings_.driversLog);
    // The radar page's toggles live in the camera warning; the sound file in its field.
    settings_.radar = radar_.settings();
    if (captureWindow_)
        captureWindow_(settings_);
    if (settings_.radar.radarsound != radar_.settings().radarsound)
        radar_.setSettings(settings_.radar);
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
    // A search still running ends here; the list file stays as it was.
    randomList_.stopSearch();
    // After a hand-over the files are the new program's: they were saved just before it.
    if (!exit_.handedOver())
        saveMileageAndSettings();
    link_.CommPortSupervisor().stop();
    systemStatus_.stop();
    link_.ClosePort();
}

void MainController::systemStatusShown()
{
    if (!port_.SendInProgress())
        sender_.SendClusterText(systemStatus_.clusterText());
}

void MainController::MakeselfactiveTimer()
{
    log_.timerTrace(QStringLiteral("MakeselfactiveTimer"));
    if (keepInFront_)
        keepInFront_();
    exit_.checkMarkerFile();
    requests_.RequestStreetCity();
}

void MainController::clocktimerTimer()
{
    log_.timerTrace(QStringLiteral("Clocktimer"));
    if (clockDisplay_)
        clockDisplay_(Clock::current().now());
    // From now on every status line shows hh:mm:ss.
    log_.setClockTicked();
}

void MainController::IdleShutdownTimerTimer()
{
    log_.timerTrace(QStringLiteral("IdleShutdownTimerTimer"));
    BMWpanel5Click();
}

// The mileage's own write failure is written and otherwise ignored; Zarn.ini's decides.
bool MainController::saveMileageAndSettings()
{
    QString error;
    if (!SaveMileage(ini_, vehicle_.BMWpanel110, &error))
        log_.addError(withReason(error, ini_.errorDetail()));
    return SaveSettingsNow();
}

ProgramExit::Hooks MainController::exitHooks()
{
    ProgramExit::Hooks hooks;
    // Every exit action saves first; a random list search ends before it, keeping its file.
    hooks.saveMileageAndSettings = [this] {
        randomList_.stopSearch();
        return saveMileageAndSettings();
    };
    hooks.sendInProgress = [this] { return port_.SendInProgress(); };
    hooks.clusterText = [this](const QString& text) { sender_.SendClusterText(text); };
    hooks.storedPowerOption = [this] { return settings_.power.powerOption; };
    hooks.commPort = [this] { return port_.CommPort(); };
    // Empty: nothing is started (there is no explorer.exe to fall back on).
    hooks.startShell = [this] {
        if (!settings_.power.explorerShellCommand.trimmed().isEmpty())
            launcher_.StartApplication(settings_.power.explorerShellCommand);
    };
    hooks.quit = env_.quit ? env_.quit : std::function<void()>([] { QCoreApplication::quit(); });
    return hooks;
}

} // namespace zarn
