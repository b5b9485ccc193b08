#include "app/MainWindow.h"

#include "app/MailWiring.h"
#include "app/MoviesWiring.h"
#include "app/RadarWiring.h"
#include "app/Version.h"
#include "app/WebWiring.h"
#include "app/WindowBinding.h"
#include "core/StatusLog.h"
#include "media/MovieController.h"
#include "ui/AlertSign.h"
#include "ui/ClockDisplay.h"
#include "ui/ColorScheme.h"
#include "ui/LayoutTab.h"
#include "ui/PlainPanel.h"
#include "ui/SchemeActions.h"
#include "ui/SplashScreen.h"
#include "ui/SteeringSimulator.h"
#include "ui/WindowAccess.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/ComTab.h"
#include "ui/pages/DriversLogPage.h"
#include "ui/pages/MainMenuPage.h"
#include "ui/pages/MusicPage.h"
#include "ui/pages/TabSpecial.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/NowPlayingPage.h"
#include "ui/pages/SoundFxPage.h"
#include "ui/pages/RadarPage.h"
#include "ui/pages/SystemPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QGuiApplication>
#include <QScrollBar>
#include <QSpinBox>

namespace zarn {

namespace {
MainController::Environment withActions(MainController::Environment env, AppActions* actions)
{
    env.actions = actions;
    return env;
}

// Sample frames behind the header's indicator clicks: they go through the dispatcher
// as if the car had sent them.
constexpr const char* SampleCity =
    " 7F 23 C8 A4 00 01 52 55 54 45 53 48 45 49 4D 20 42 45 49 20 53 54 55 54 54 47 00 00 00 00 00 00 00 00 00 00 26";
constexpr const char* SampleStreet =
    " 7F 23 C8 A4 00 02 42 41 48 4E 48 4F 46 53 54 52 2E 3B 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 36";
constexpr const char* SamplePosition = " 7F 14 C8 A2 00 00 48 48 53 90 00 08 54 12 90 04 83 00 17 03 27 A8";
constexpr const char* SamplePosition2 = " 7F 14 C8 A2 00 00 48 49 10 20 00 08 55 01 30 04 83 00 17 03 27 E8";
} // namespace

MainWindow::MainWindow(MainController::Environment environment, SplashScreen* splash, QObject* parent)
    : QObject(parent)
    , navigator_(windowAccess(window_))
    , select_(windowAccess(window_), navigator_)
    , knobInput_(navigator_, [this] { select_.SelButton1Click(); })
    , highlight_(windowAccess(window_))
    , actions_(window_, navigator_, select_)
    , core_(withActions(std::move(environment), &actions_))
    , schemes_(*new SchemeActions(window_))
    , splash_(splash)
    , mail_(std::make_unique<MailWiring>(window_, core_.log()))
{
    if (LayoutTab* layout = LayoutTab::of(window_))
        layout->setSchemeActions(schemes_);
    core_.setSettingsCapture([this](Settings& s) {
        captureFromWindow(window_, schemes_, s);
        if (ComTab* com = window_.comTab()) {
            s.serial.portIndex = com->CBPort()->currentIndex();
            s.serial.devicePath = com->devicePath();
        }
    });
    window_.attachStatusLog(core_.log());
    if (splash)
        core_.log().setOverflowSink([this](const QString& line) {
            if (splash_)
                splash_->addLine(line);
        });

    schemes_.saveSettings = [this] { SaveSettings(); };
    navigator_.setDisplayActions([this] { schemes_.BMWpanel21Click(); }, [this] { schemes_.BMWpanel20Click(); });
    knobInput_.install(window_);

    simulator_ = buildSteeringSimulator(window_.findChild<QWidget*>(QStringLiteral("Wheelbuttons")));
    if (simulator_) {
        simulator_->setActions(steeringActions(
            navigator_, select_, [this](const QString& text) { core_.dispatcher().ProcessIbusText(text); },
            [this] { core_.SelButton5Click(); }));
        simulator_->follow(navigator_);
        simulator_->attachHeader(window_);
        simulator_->setBusActivity([this] { busActivity(); });
    }
    core_.setKeepInFront([this] { keepInFront(); });
    core_.setClockDisplay([this](const QDateTime& now) { ClockDisplay::show(window_, now); });
    wireMusicPage();
    wireBus();
    wireMusic();
    wireSpectrum();
    wireSoundFx();
    wireSettingsPage();
    wireVehicle();
    wireDriversLog();
    wireSystemPage();
    wireLauncher();
    wireExits();
    wireRandomList();
    WebWiring::wire(window_, core_.log());
    movies_ = std::make_unique<MoviesWiring>(window_, core_, select_, actions_);
}

MainWindow::~MainWindow()
{
    // The players go with the controller, before the window.
    movies_.reset();
    window_.setPlayers(nullptr);
}

// The exit item (and its alternate menu twin), restart and refresh end in the core.
void MainWindow::wireExits()
{
    connect(window_.mainMenu(), &MainMenuPage::exitRequested, this, [this] { core_.BMWpanel5Click(); });
    if (auto* restart = window_.findChild<TBMWpanel*>(QStringLiteral("BMWpanel67")))
        connect(restart, &TBMWpanel::clicked, this, [this] { core_.BMWpanel67Click(); });
    if (auto* refresh = window_.findChild<TBMWpanel*>(QStringLiteral("BMWpanel82")))
        connect(refresh, &TBMWpanel::clicked, this, [this] { core_.BMWpanel82Click(); });
}

void MainWindow::setPowerOptions(const QStringList& texts)
{
    if (TabSpecial* special = window_.specialTab())
        special->setPowerOptions(texts);
}

void MainWindow::wireBus()
{
    ScreenRelay& screen = core_.screen();
    const auto showOffpanel = [this](bool visible) {
        if (QWidget* off = window_.findChild<QWidget*>(QStringLiteral("offpanel")))
            off->setVisible(visible);
    };
    connect(&screen, &ScreenRelay::offpanelVisibleChanged, this, showOffpanel);
    showOffpanel(screen.offpanelVisible());
    connect(&window_, &ZarnWindow::offpanelClicked, &screen, &ScreenRelay::offpanelClick);

    SerialLink& link = core_.link();
    connect(&link, &SerialLink::indicatorChanged, this, [this](bool raised) { setIndicator("IbusIndicator", raised); });
    connect(&link, &SerialLink::colorSchemeNeeded, this, [this] { ApplyColorScheme(window_); });
    connect(&window_, &ZarnWindow::applyColorSchemeRequested, this, [this] { ApplyColorScheme(window_); });

    // The header's test clicks.
    const auto feed = [this](const char* name, const char* text) {
        if (auto* indicator = window_.findChild<PlainPanel*>(QLatin1String(name)))
            connect(indicator, &PlainPanel::clicked, this,
                    [this, text] { core_.dispatcher().ProcessIbusText(QLatin1String(text)); });
    };
    feed("IbusIndicator", SampleCity);
    feed("metricIndicator", SampleStreet);
    feed("RadarIndicator", SamplePosition);
    feed("traceIndicator", SamplePosition2);
}

void MainWindow::wireMusic()
{
    MusicPlayer& player = core_.player();
    window_.setPlayers(&core_.players());

    auto* nowPlaying = static_cast<NowPlayingPage*>(window_.page(PageNowPlaying));
    connect(&player, &MusicPlayer::viewChanged, nowPlaying, [nowPlaying, &player] { nowPlaying->setView(player.view()); });
    nowPlaying->setView(player.view());
    connect(nowPlaying, &NowPlayingPage::backRequested, &player, &MusicPlayer::BMWpanel53Click);
    connect(nowPlaying, &NowPlayingPage::pauseRequested, &player, &MusicPlayer::BMWpanel54Click);
    connect(nowPlaying, &NowPlayingPage::randomizeRequested, &player, &MusicPlayer::BMWpanel59Click);
    connect(nowPlaying, &NowPlayingPage::previousRequested, &player, &MusicPlayer::BMWpanel56Click);
    connect(nowPlaying, &NowPlayingPage::nextRequested, &player, &MusicPlayer::BMWpanel60Click);
    connect(nowPlaying, &NowPlayingPage::rewindRequested, &player, [&player] { player.seekBy(-MusicPlayer::SeekStepSeconds); });
    connect(nowPlaying, &NowPlayingPage::forwardRequested, &player, [&player] { player.seekBy(MusicPlayer::SeekStepSeconds); });
    connect(nowPlaying, &NowPlayingPage::randomToggleRequested, &player, &MusicPlayer::BMWpanel58Click);
    connect(nowPlaying, &NowPlayingPage::stopRequested, &player, &MusicPlayer::BMWpanel62Click);
    connect(nowPlaying, &NowPlayingPage::seekRequested, &player, &MusicPlayer::ProgressStopTracking);
    connect(nowPlaying, &NowPlayingPage::seekStepRequested, &player, &MusicPlayer::seekBy);
    connect(nowPlaying, &NowPlayingPage::soundFxRequested, this, [this] { window_.ShowPage(PageSoundFx); });

    auto* music = static_cast<MusicPage*>(window_.page(PageMusic));
    connect(music, &MusicPage::playRequested, &player, &MusicPlayer::playListEntry);

    connect(&player, &MusicPlayer::switchToNowPlaying, this, [this] {
        if (auto* item = window_.findChild<TBMWpanel*>(QStringLiteral("BMWpanel1")))
            window_.setFeatureCaption(item->BMW_supercaption());
        window_.ShowPage(PageNowPlaying);
    });
    connect(&player, &MusicPlayer::stopped, this, [this] { window_.ShowPage(PageMusic); });
    connect(&player, &MusicPlayer::backRequested, this, [this] {
        window_.ShowPage(PageMusic);
        if (QWidget* back = window_.findChild<QWidget*>(QStringLiteral("BMWpanel11")))
            back->setFocus();
    });
}

// The player's spectrum ticks draw on the now-playing page; every opening of the audio
// output gives the page a fresh analyser.
void MainWindow::wireSpectrum()
{
    MusicPlayer& player = core_.player();
    auto* nowPlaying = static_cast<NowPlayingPage*>(window_.page(PageNowPlaying));
    connect(&player, &MusicPlayer::outputInitialised, nowPlaying, &NowPlayingPage::newSpectrum);
    connect(&player, &MusicPlayer::spectrumFetched, nowPlaying, &NowPlayingPage::drawSpectrum);
}

void MainWindow::wireSoundFx()
{
    auto* page = static_cast<SoundFxPage*>(window_.page(PageSoundFx));
    page->setEffects(&core_.soundEffects());
    connect(page, &SoundFxPage::backRequested, this, [this] {
        window_.ShowPage(PageNowPlaying);
        auto* nowPlaying = static_cast<NowPlayingPage*>(window_.page(PageNowPlaying));
        nowPlaying->MP3OptionsPanel()->show();
        nowPlaying->MP3OptionsPanelDisappearTimer().setInterval(0);
        nowPlaying->MP3OptionsPanelDisappearTimer().setInterval(NowPlayingPage::ItemHideMs);
        if (QWidget* item = window_.findChild<QWidget*>(QStringLiteral("BMWpanel87")))
            item->setFocus();
    });
}

void MainWindow::wireSettingsPage()
{
    // The check boxes and fields the bus side reads act at once.
    const auto live = [this] { core_.liveSettingsChanged(); };
    for (auto* box : window_.findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, live);
    if (auto* message = window_.findChild<QLineEdit*>(QStringLiteral("ShutDownMessage")))
        connect(message, &QLineEdit::textChanged, this, live);
    if (auto* seconds = window_.findChild<QSpinBox*>(QStringLiteral("shutdownafterIBUSidle_seconds")))
        connect(seconds, &QSpinBox::valueChanged, this, live);

    ComTab* com = window_.comTab();
    if (!com)
        return;
    SerialLink& link = core_.link();
    SerialPortNG& port = core_.port();
    connect(com, &ComTab::portIndexChanged, this, [this] { SaveSettings(); });
    connect(com, &ComTab::rxExtraDelayChanged, this, [&port](int ms) { port.setRTOExtraDelayTime(quint16(std::clamp(ms, 0, 65535))); });
    connect(com, &ComTab::rxCharDelayChanged, this, [&port](int us) { port.setRTOCharDelayTime(quint32(std::max(us, 0))); });
    // The device field takes effect here; the CBPort choice still waits for the next start.
    connect(com, &ComTab::restartPortRequested, this, [this, com, &link, &port] {
        port.setDevicePath(com->devicePath());
        SaveSettings();
        link.RestartPort();
    });
    connect(com, &ComTab::hexLineLengthChanged, &link, &SerialLink::setHexLineLength);
}

// The car's values and the speed camera warning on their pages.
void MainWindow::wireVehicle()
{
    connect(&core_.vehicle(), &VehicleState::changed, this, &MainWindow::showVehicleValues);
    wireRadar(window_, core_, [this] { return SaveSettings(); },
              [this](const char* name, bool raised) { setIndicator(name, raised); });
}

void MainWindow::showVehicleValues()
{
    const VehicleState& v = core_.vehicle();
    if (auto* radar = qobject_cast<RadarPage*>(window_.page(PageRadar))) {
        radar->showSpeed(v.Speedo_Display, v.Umin_Display);
        radar->showPosition({v.Label54, v.Label55, v.Label56, v.Label57, v.Label58, v.Label59, v.Label60, v.Label61});
    }
    if (auto* log = qobject_cast<DriversLogPage*>(window_.page(PageDriversLog))) {
        log->showPlace(v.BMWpanel106, v.BMWpanel107, v.BMWpanel110);
        log->showMessage(v.Driverslog_Msg);
    }
}

void MainWindow::wireSystemPage()
{
    SystemStatus& status = core_.systemStatus();
    auto* page = static_cast<SystemPage*>(window_.page(PageSystem));
    connect(&status, &SystemStatus::speedLoadChanged, page, &SystemPage::setSpeed);
    connect(&status, &SystemStatus::networkChanged, page, &SystemPage::setNetwork);
    connect(window_.mainMenu(), &MainMenuPage::systemStatusRequested, this, [this] {
        fillSystemPage();
        core_.systemStatusShown();
    });
    // " Refresh": the values again, the page stays.
    connect(&window_, &ZarnWindow::systemStatusRefreshRequested, this, [this] {
        window_.setFeatureCaption(window_.mainMenu()->menuItem(QStringLiteral("BMWpanel6"))->BMW_supercaption());
        fillSystemPage();
    });
}

void MainWindow::fillSystemPage()
{
    SystemStatus& status = core_.systemStatus();
    status.Timer1Timer();
    SystemPage::Texts t;
    t.version = QStringLiteral("Zarn Version is ") + VersionText + QLatin1Char(' ');
    t.path = QStringLiteral("Zarn path is ") + core_.appDir();
    t.processor = status.processorText();
    t.speed = status.speedText();
    t.memory = status.memoryText();
    t.network = status.networkText();
    t.power = status.powerText();
    static_cast<SystemPage*>(window_.page(PageSystem))->setTexts(t);
}

void MainWindow::wireLauncher()
{
    connect(window_.mainMenu(), &MainMenuPage::launchRequested, this, [this] {
        if (auto* field = window_.findChild<QLineEdit*>(QStringLiteral("Edit11")))
            core_.launcher().BMWpanel76Click(field->text());
    });
    // "Pick a directory" beside "Launch this program": the chosen program shows the Launch
    // item and is saved at once; cancelling changes nothing.
    if (auto* pick = window_.findChild<QPushButton*>(QStringLiteral("Button25")))
        connect(pick, &QPushButton::clicked, this, [this] {
            const QString file = schemes_.filePicker(QStringLiteral("Programs (*)"));
            if (file.isEmpty())
                return;
            window_.setLaunchPath(file);
            SaveSettings();
        });
}

void MainWindow::setIndicator(const char* name, bool raised)
{
    if (auto* indicator = window_.findChild<PlainPanel*>(QLatin1String(name)))
        indicator->setRaised(raised);
    ApplyColorScheme(window_);
}

// A double click on the header counts as bus activity.
void MainWindow::busActivity()
{
    core_.link().busActivity(10000);
}

void MainWindow::show()
{
    window_.show();
    window_.raise();
    window_.activateWindow();
}

void MainWindow::keepInFront()
{
    QWidget* camera = window_.findChild<QWidget*>(QStringLiteral("videoarea"));
    if (camera && camera->isVisible())
        return;
    if (!window_.isVisible())
        return;
    // A program started by the launcher may cover the window without taking the input
    // focus (no window manager in the car), so the window is raised even while active.
    window_.raise();
    if (!window_.isActiveWindow())
        window_.activateWindow();
}

void MainWindow::FormCreate()
{
    core_.FormCreate(this);
}

void MainWindow::FormCloseQuery()
{
    core_.FormCloseQuery();
}

bool MainWindow::SaveSettings()
{
    return core_.SaveSettingsNow();
}

void MainWindow::splash(int progress, const QString& line)
{
    if (!splash_)
        return;
    if (progress >= 0)
        splash_->setProgress(progress);
    if (!line.isEmpty())
        splash_->addLine(line);
}

void MainWindow::setDefaults()
{
    navigator_.adjustMode().clear();
    if (auto* safety = window_.findChild<PlainPanel*>(QStringLiteral("Sicherheit")))
        safety->setCaption(QStringLiteral("Zu Ihrer Sicherheit TV nur im Stand"));
    setIndicator("LogIndicator", false);
}

void MainWindow::setTraceIndicator(bool raised)
{
    setIndicator("traceIndicator", raised);
}

void MainWindow::hideMousePointer()
{
    QGuiApplication::setOverrideCursor(Qt::BlankCursor);
}

void MainWindow::applySettings(const Settings& settings)
{
    applyToWindow(settings, window_, schemes_);
    mail_->applySettings(settings.mail);
    WebWiring::applySites(window_, core_.log(), settings.web);
    setIndicator("LogIndicator", settings.driversLog.businessMode());
    if (ComTab* com = window_.comTab()) {
        const QSignalBlocker b1(com->CBPort()), b2(com->SpinEdit1()), b3(com->SpinEdit2());
        com->CBPort()->setCurrentIndex(SerialLink::portChoice(settings.serial.portIndex, settings.serial.devicePath).listIndex);
        com->setDevicePath(settings.serial.devicePath.trimmed());
        com->SpinEdit1()->setValue(settings.serial.rtoExtraDelayTime);
        com->SpinEdit2()->setValue(settings.serial.rtoCharDelayTime);
    }
}

void MainWindow::setMetric(bool miles)
{
    if (auto* metric = window_.findChild<PlainPanel*>(QStringLiteral("metricIndicator")))
        metric->setCaption(miles ? QStringLiteral("M") : QStringLiteral("K"));
}

void MainWindow::wireMusicPage()
{
    auto* music = static_cast<MusicPage*>(window_.page(PageMusic));
    music->setModel(&core_.musicList());
    // The root is the text of the "MP3 File Path" field.
    if (auto* root = window_.findChild<QLineEdit*>(QStringLiteral("Edit3")))
        connect(root, &QLineEdit::textChanged, music, [music](const QString& text) { music->setMusicRoot(text); });
}

void MainWindow::wireRandomList()
{
    RandomList& random = core_.randomList();
    auto* music = static_cast<MusicPage*>(window_.page(PageMusic));
    connect(music, &MusicPage::randomListRequested, &random,
            [this, &random] { random.BMWpanel71Click(core_.musicList().directory()); });
    connect(&random, &RandomList::filterInfoChanged, music, &MusicPage::setFilterInfo);
    connect(&random, &RandomList::indicatorChanged, this, [this](bool visible) {
        if (auto* indicator = window_.findChild<PlainPanel*>(QStringLiteral("RandomIndicator")))
            indicator->setVisible(visible);
    });
    // While the list is read the main menu shows with its music item disabled. A main
    // menu already shown stays as it is, so the knob's mark is not sent back to its start.
    // Qt hands the focus of a widget it disables to the next one in its chain: the mark
    // comes back to the music item with it, unless the knob has moved it meanwhile.
    // A movie started in the first seconds keeps the screen: a menu put up behind it would
    // hold the knob's focus on a hidden item.
    connect(&random, &RandomList::readStarted, this, [this] {
        const bool moviePlays = movies_ && movies_->movie().MovieMode();
        if (!moviePlays && window_.activePage() != PageMain && window_.activePage() != PageAlternateMenu)
            window_.ShowMainMenu();
        QWidget* item = window_.findChild<QWidget*>(QStringLiteral("BMWpanel1"));
        if (!item)
            return;
        musicItemLentFocus_ = window_.focusWidget() == item;
        item->setEnabled(false);
        focusLentTo_ = window_.focusWidget();
    });
    connect(&random, &RandomList::readFinished, this, [this] {
        QWidget* item = window_.findChild<QWidget*>(QStringLiteral("BMWpanel1"));
        if (!item)
            return;
        item->setEnabled(true);
        if (musicItemLentFocus_ && window_.focusWidget() == focusLentTo_)
            item->setFocus();
        musicItemLentFocus_ = false;
    });
    auto* nowPlaying = static_cast<NowPlayingPage*>(window_.page(PageNowPlaying));
    connect(nowPlaying, &NowPlayingPage::favouriteRequested, this, [this, music] { core_.addFavourite(music->musicRoot()); });
}

void MainWindow::showMusicRoot(const QString& root)
{
    auto* music = static_cast<MusicPage*>(window_.page(PageMusic));
    music->setMusicRoot(root);
    music->RelistMusicFolder(QString());
}

void MainWindow::finish()
{
    window_.setWindowTitle(window_.Versiontitle + QStringLiteral(" - ") + VersionText);
    ApplyColorScheme(window_);
    window_.ArrangeLayout();
    window_.ShowMainMenu();
}

} // namespace zarn
