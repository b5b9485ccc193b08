#pragma once

#include "app/AppActions.h"
#include "app/AppPlayers.h"
#include "app/PortRts.h"
#include "app/ProgramExit.h"
#include "app/Settings.h"
#include "core/CommandLine.h"
#include "core/IniFile.h"
#include "core/StartupSequence.h"
#include "core/StatusLog.h"
#include "core/Timer.h"
#include "ibus/BusOptions.h"
#include "ibus/BusSideSink.h"
#include "ibus/CdChanger.h"
#include "ibus/CodeTable.h"
#include "ibus/Dispatcher.h"
#include "ibus/IbusSender.h"
#include "ibus/ScreenRelay.h"
#include "ibus/SerialLink.h"
#include "ibus/SerialPortNG.h"
#include "ibus/VehicleMessages.h"
#include "ibus/VehicleRequests.h"
#include "ibus/VehicleState.h"
#include "media/Favourites.h"
#include "media/FfmpegAudioEngine.h"
#include "media/MusicListModel.h"
#include "media/MusicPlayer.h"
#include "media/SdlWavePlayer.h"
#include "media/SoundEffects.h"

#include "media/RandomList.h"
#include "services/Launcher.h"
#include "services/SystemStatus.h"
#include "vehicle/DriversLog.h"
#include "vehicle/SpeedCameraWarning.h"

#include <QObject>

#include <functional>
#include <memory>

namespace zarn {

class ClockSetter;
class LogindSleepWatcher;
class StartupView;

// The composition root: owns every part of the program and wires the bus to the
// operations above it. Main thread only.
class MainController : public QObject {
    Q_OBJECT
public:
    struct Environment {
        QStringList arguments;                // the process's command line
        QString appDir;                       // ends in "/"
        ClockSetter* clockSetter = nullptr;   // null: systemd-timedated on the system bus
        bool watchSleep = true;               // logind's resume signal on the system bus
        AppActions* actions = nullptr;        // null: nothing above the bus side yet
        // The power options' logind; null: the system bus.
        std::function<QDBusConnection()> powerBus;
        QString executable;                   // empty: this process's own program file
        Launcher::Starter starter;            // how other programs start; null: detached
        std::function<void()> quit;           // null: QCoreApplication::quit
        AudioEngine* audio = nullptr;         // null: FFmpeg and SDL, owned here
        int audioDevice = AudioEngine::DeviceDefault;
        WavePlayer* wavePlayer = nullptr;     // null: SDL, owned here
    };

    explicit MainController(Environment environment, QObject* parent = nullptr);
    ~MainController() override;

    // The start-up sequence: the registered steps in their order, with their status lines.
    void FormCreate(StartupView* view = nullptr);
    // Closing the program: mileage, settings, supervisor, port.
    void FormCloseQuery();
    // The exit action and the other ways out of the program (see ProgramExit).
    void BMWpanel5Click() { exit_.BMWpanel5Click(); }
    void SelButton5Click() { exit_.SelButton5Click(); }
    void BMWpanel67Click() { exit_.BMWpanel67Click(); }
    void BMWpanel82Click() { exit_.BMWpanel82Click(); }
    PowerController& power() { return power_; }
    // Writes Zarn.ini now from the live values; a failure is reported as a status line.
    bool SaveSettingsNow();
    // A setting changed on the settings page: the bus side takes it at once.
    void liveSettingsChanged()
    {
        captureSettings();
        applySettings();
    }
    // The make-self-active tick's "keep in front" step (the window's, when there is one).
    void setKeepInFront(std::function<void()> keepInFront) { keepInFront_ = std::move(keepInFront); }
    // The clock display's tick with the time it shows (the window's status bars).
    void setClockDisplay(std::function<void(const QDateTime&)> show) { clockDisplay_ = std::move(show); }
    // Lets the window add its share of the live values before each save.
    void setSettingsCapture(std::function<void(Settings&)> capture) { captureWindow_ = std::move(capture); }

    StatusLog& log() { return log_; }
    // The program directory, ending in "/".
    const QString& appDir() const { return env_.appDir; }
    const Settings& settings() const { return settings_; }
    BusOptions& options() { return options_; }
    SerialPortNG& port() { return port_; }
    SerialLink& link() { return link_; }
    ScreenRelay& screen() { return screen_; }
    Dispatcher& dispatcher() { return dispatcher_; }
    VehicleState& vehicle() { return vehicle_; }
    VehicleRequests& requests() { return requests_; }
    CdChanger& cdChanger() { return cd_; }
    const CommandLine& commandLine() const { return commandLine_; }
    AudioEngine& audio() { return audio_; }
    // The music page's list, which the player walks.
    MusicListModel& musicList() { return musicList_; }
    MusicPlayer& player() { return player_; }
    // The sound effects of the music stream.
    SoundEffects& soundEffects() { return soundFx_; }

    RandomList& randomList() { return randomList_; }
    // "Add to favorites" for the playing track.
    bool addFavourite(const QString& musicRoot);
    // The players as the window sees them.
    Players& players() { return players_; }
    AppPlayers& appPlayers() { return players_; }
    DriversLog& driversLog() { return driversLog_; }
    SpeedCameraWarning& radar() { return radar_; }
    // The cue sounds (camera warning, test sound) beside the music.
    WavePlayer& wavePlayer() { return wavePlayer_; }
    SystemStatus& systemStatus() { return systemStatus_; }
    Launcher& launcher() { return launcher_; }
    // The status page was opened: the processor's speed on the cluster, unless the link
    // is sending.
    void systemStatusShown();
    // The steps FormCreate runs, in their order.
    const StartupSequence& startup() const { return startup_; }
    bool saveMemory() const { return saveMemory_; }

    Timer Makeselfactive{QStringLiteral("Makeselfactive")};
    Timer clocktimer{QStringLiteral("clocktimer")};
    Timer IdleShutdownTimer{QStringLiteral("IdleShutdownTimer")};

private:
    void registerStartupSteps();
    void commandLineSwitches(const StartupSequence::Splash& splash);
    void applySettings();
    void captureSettings();
    void MakeselfactiveTimer();
    void clocktimerTimer();
    void startWindowTimers();
    void IdleShutdownTimerTimer();
    void wireRandomList();
    void wireDriversLog();
    bool saveMileageAndSettings();
    ProgramExit::Hooks exitHooks();

    Environment env_;
    CommandLine commandLine_;
    StatusLog log_;
    IniFile ini_;
    Settings settings_;
    BusOptions options_;
    CodeTable codes_;
    SerialPortNG port_;
    PortRts rts_{port_};
    IbusSender sender_{port_, log_, options_};
    AppActions ownActions_;
    AppActions& actions_;
    VehicleState vehicle_;
    SpeedCameraWarning radar_{vehicle_, sender_, log_, options_};
    std::unique_ptr<ClockSetter> ownClockSetter_;
    VehicleMessages messages_;
    VehicleRequests requests_;
    CdChanger cd_;
    ScreenRelay screen_;
    BusSideSink busSide_;
    Dispatcher dispatcher_;
    SerialLink link_;
    std::unique_ptr<LogindSleepWatcher> sleepWatcher_;
    std::unique_ptr<FfmpegAudioEngine> ownAudio_;
    AudioEngine& audio_;
    MusicListModel musicList_;
    MusicPlayer player_;
    SoundEffects soundFx_{audio_, ini_, settings_.media, &log_};
    std::unique_ptr<SdlWavePlayer> ownWavePlayer_;
    WavePlayer& wavePlayer_;
    AppPlayers players_{player_};
    RandomList randomList_;
    Favourites favourites_{log_};
    DriversLog driversLog_{vehicle_, sender_, log_, env_.appDir};
    SystemStatus systemStatus_{log_};
    Launcher launcher_{log_};
    PowerController power_;
    ProgramExit exit_;
    StartupSequence startup_;
    StartupView* ui_ = nullptr; // while FormCreate runs
    bool saveMemory_ = false;
    std::function<void(Settings&)> captureWindow_;
    std::function<void()> keepInFront_;
    std::function<void(const QDateTime&)> clockDisplay_;
};

} // namespace zarn
