// The real main window, built as the program builds it, on a temporary home and
// virtual time: start-up, the knob from the bus, the relay's hint panel, and what
// survives a restart.
#include "app/MainWindow.h"
#include "media/FfmpegAudioEngine.h"
#include "ibus/ClockSetter.h"
#include "ui/AlternateMenu.h"
#include "ui/ColorScheme.h"
#include "ui/PlainPanel.h"
#include "ui/SplashScreen.h"
#include "ui/TBMWpanel.h"
#include "ui/Players.h"
#include "ui/TSpectrum.h"
#include "ui/pages/ComTab.h"
#include "ui/pages/MusicPage.h"
#include "ui/pages/NowPlayingPage.h"
#include "PtyPair.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

namespace {
struct NoClock : ClockSetter {
    bool SetLocalTime(const QDateTime&) override { return false; }
};

struct Program {
    test::VirtualTime time;
    NoClock clock;
    std::unique_ptr<MainWindow> main;

    void start(const QString& home, const QStringList& switches = {}, SplashScreen* splash = nullptr,
               AudioEngine* audio = nullptr)
    {
        MainController::Environment env;
        if (audio) {
            env.audio = audio;
            env.audioDevice = AudioEngine::DeviceNoSound;
        }
        env.arguments = QStringList{QStringLiteral("/opt/zarn/zarn")} + switches;
        env.appDir = home + QLatin1Char('/');
        env.clockSetter = &clock;
        env.watchSleep = false;
        main = std::make_unique<MainWindow>(env, splash);
        main->FormCreate();
    }
    void feed(const QString& hex) { main->core().dispatcher().ProcessIbusText(test::blockText(QString(hex).remove(' '))); }
    QString focus() const
    {
        QWidget* f = main->window().focusWidget();
        return f ? f->objectName() : QString();
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startupLinesSplashAndMainMenu()
    {
        QTemporaryDir home;
        test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n");
        SplashScreen splash;
        Program p;
        p.start(home.path(), {QStringLiteral("/TRACE"), QStringLiteral("/AUX")}, &splash);
        const QStringList texts = test::texts(p.main->core().log());
        const QStringList expected{
            " 2.9.0 Build 1005 (no voice) starting up...",
            "TRACE is activated by command line parameter",
            "Parity set to 2 (even)",
            "AUX mode - numeric buttons 1-6 disabled",
            "Now listing part of zarn.ini options in effect - BMW Ibus codes used:",
            "RTOCharDelayTime set to 1100 microseconds",
            "Radarwarning now OFF",
            "Metric set to kilometers ",
            "Serial COM Port set to COM1",
            "SerialNG: Error reopening Port",
            "Zarn COM1 open issued...trying, RTS is low",
            "Last known mileage read - number is 4711",
        };
        qsizetype at = -1;
        for (const QString& e : expected) {
            const qsizetype found = texts.indexOf(e, at + 1);
            QVERIFY2(found > at, qPrintable("missing or out of order: " + e));
            at = found;
        }
        QCOMPARE(splash.progress(), 100);
        QVERIFY(splash.lines().contains(" Processing /TRACE"));
        QVERIFY(splash.lines().contains(" Processing zarn.ini...BMW Ibus codes"));
        QCOMPARE(splash.lines().last(), QStringLiteral(" Bringing main menu online..."));
        QCOMPARE(p.main->window().activePage(), int(PageMain));
        QCOMPARE(p.main->window().headerCaption(), QStringLiteral(" Zarn Main"));
        QCOMPARE(p.main->window().findChild<PlainPanel*>("metricIndicator")->caption(), QStringLiteral("K"));
    }

    // The header's test clicks hand sample frames to the dispatcher, which decodes them
    // only when their checksums hold.
    void headerTestClicksAreDecoded()
    {
        QTemporaryDir home;
        test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n");
        Program p;
        p.start(home.path());
        const auto click = [&p](const char* name) { p.main->window().findChild<PlainPanel*>(name)->click(); };
        const VehicleState& car = p.main->core().vehicle();
        click("IbusIndicator");
        QCOMPARE(car.BMWpanel106, QStringLiteral("RUTESHEIM BEI STUTTG"));
        click("metricIndicator");
        QCOMPARE(car.BMWpanel107, QStringLiteral("BAHNHOFSTR."));
        click("RadarIndicator");
        QCOMPARE(car.LastFix.latDeg, 48);
        const PositionFix first = car.LastFix;
        click("traceIndicator");
        QVERIFY(car.LastFix.latMin != first.latMin);
        QCOMPARE(p.main->core().dispatcher().checksumErrors(), 0);
    }

    void knobFramesWalkTheMainMenu_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("clockwise");
        QTest::addRow("Launch hidden")
            << QByteArray() << QStringList{"BMWpanel2", "BMWpanel6", "BMWpanel7", "BMWpanel8", "BMWpanel123", "BMWpanel9",
                                            "BMWpanel5", "BMWpanel4", "BMWpanel3", "BMWpanel1"};
        QTest::addRow("Launch shown")
            << QByteArray("[Pathes]\nLaunchButtonExe=/usr/bin/true\n")
            << QStringList{"BMWpanel2", "BMWpanel6", "BMWpanel7", "BMWpanel8", "BMWpanel123", "BMWpanel9", "BMWpanel5",
                           "BMWpanel76", "BMWpanel4", "BMWpanel3", "BMWpanel1"};
    }
    void knobFramesWalkTheMainMenu()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, clockwise);
        QTemporaryDir home;
        test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n" + ini);
        Program p;
        p.start(home.path(), {QStringLiteral("/FORCESCREEN")});
        QCOMPARE(p.focus(), QStringLiteral("BMWpanel1"));
        QStringList seen;
        for (int i = 0; i < clockwise.size(); ++i) {
            p.feed("F0043B498107"); // one detent to the right
            seen << p.focus();
        }
        QCOMPARE(seen, clockwise);
        seen.clear();
        for (int i = 0; i < clockwise.size(); ++i) {
            p.feed("F0043B490187"); // one to the left
            seen << p.focus();
        }
        QStringList counterClockwise = clockwise;
        std::reverse(counterClockwise.begin(), counterClockwise.end());
        counterClockwise.removeFirst();
        counterClockwise << clockwise.last();
        QCOMPARE(seen, counterClockwise);
    }

    void focusMarkFollowsTheKnobInAnInactiveWindow()
    {
        // Without a window manager, or while another program holds the input focus, the
        // window is not active and Qt sends no focus events; the knob still moves the mark.
        QTemporaryDir home;
        test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n");
        Program p;
        p.start(home.path(), {QStringLiteral("/FORCESCREEN")});
        ZarnWindow& w = p.main->window();
        w.show();
        QWidget other; // the program that holds the focus
        other.show();
        QApplication::setActiveWindow(&other);
        QTRY_VERIFY(!w.isActiveWindow());

        auto* first = w.findChild<TBMWpanel*>("BMWpanel1");
        auto* second = w.findChild<TBMWpanel*>("BMWpanel2");
        const QColor focus = fromBgr(w.roles.clOrange);
        const auto topStripe = [](TBMWpanel* item) { return QColor(item->grab().toImage().pixel(item->width() / 2, 2)); };
        QVERIFY(first->BMW_highlighted());
        QCOMPARE(topStripe(first), focus);
        QVERIFY(topStripe(second) != focus);

        p.feed("F0043B498107"); // one detent to the right
        QCOMPARE(p.focus(), QStringLiteral("BMWpanel2"));
        QVERIFY(!w.isActiveWindow());
        QVERIFY(second->BMW_highlighted());
        QVERIFY(!first->BMW_highlighted());
        QCOMPARE(topStripe(second), focus);
        QVERIFY(topStripe(first) != focus);

        // Losing the activation leaves the mark where it is.
        QApplication::setActiveWindow(&w);
        QTRY_VERIFY(w.isActiveWindow());
        QApplication::setActiveWindow(&other);
        QTRY_VERIFY(!w.isActiveWindow());
        QVERIFY(second->BMW_highlighted());
    }

    void musicRootIsListedAtStartup()
    {
        QTemporaryDir home, music;
        QDir(music.path()).mkdir(QStringLiteral("sub"));
        test::writeAll(music.filePath("a.mp3"), "");
        test::writeAll(music.filePath("notes.txt"), "");
        test::writeAll(home.filePath("Zarn.ini"),
                       "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n[Pathes]\nmp3=" + music.path().toUtf8() + "/\n");
        Program p;
        p.start(home.path());
        const MusicListModel& list = p.main->core().musicList();
        QCOMPARE(list.directory(), music.path());
        QCOMPARE(list.mask(), QString::fromLatin1(MusicListModel::MusicMask));
        QCOMPARE(list.count(), 2);
        QCOMPARE(p.main->window().activePage(), 0); // listed behind the main menu
        auto* page = static_cast<MusicPage*>(p.main->window().page(PageMusic));
        QCOMPARE(page->musicRoot(), music.path() + QLatin1Char('/'));
        QCOMPARE(page->model(), &list);
        page->BMWpanel12Click(); // already at the root
        QCOMPARE(list.directory(), music.path());
    }

    void nineDetentsInOneMessage()
    {
        QTemporaryDir home;
        test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n");
        Program p;
        p.start(home.path(), {QStringLiteral("/FORCESCREEN")});
        p.feed("F0043B49890F");
        QCOMPARE(p.focus(), QStringLiteral("BMWpanel3")); // nine of the ten items on
    }

    void knobIsIgnoredWhileTheCarHasTheScreen()
    {
        // An open port, so that RestartPort has lowered RTS as in the car.
        test::PtyPair pty;
        QTemporaryDir home;
        test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=" + pty.slavePath().toUtf8() + "\n");
        Program p;
        p.start(home.path());
        QWidget* off = p.main->window().findChild<QWidget*>("offpanel");
        QVERIFY(!off->isHidden());
        p.feed("F0043B498107");
        QCOMPARE(p.focus(), QStringLiteral("BMWpanel1"));
        p.feed("680D3BA5620145446F6C62792042E3"); // the radio's tape text: PC picture on
        QVERIFY(p.main->core().screen().screenOn());
        QVERIFY(off->isHidden());
        p.feed("F0043B498107");
        QCOMPARE(p.focus(), QStringLiteral("BMWpanel2"));
        p.feed("F0043B4845C2"); // knob press on "I-Bus Explorer"
        QCOMPARE(p.main->window().activePage(), int(PageIbus));
        p.feed("F004684823F7"); // MODE: the car's picture again
        QVERIFY(!off->isHidden());
    }

    void settingsPageActsAtOnceAndIsSaved()
    {
        QTemporaryDir home;
        test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n");
        {
            Program p;
            p.start(home.path());
            auto* cd = p.main->window().findChild<QCheckBox*>("CD_CheckBox");
            QVERIFY(cd && !cd->isChecked());
            cd->setChecked(true);
            QVERIFY(p.main->core().options().cdEmulation);
            p.main->window().findChild<QLineEdit*>("Edit11")->setText(QStringLiteral("/usr/bin/true"));
            p.main->FormCloseQuery();
        }
        Program p;
        p.start(home.path());
        QVERIFY(p.main->window().findChild<QCheckBox*>("CD_CheckBox")->isChecked());
        QVERIFY(p.main->core().options().cdEmulation);
        QVERIFY(p.main->window().findChild<QWidget*>("BMWpanel76")->isVisibleTo(&p.main->window()));
    }

    void deviceFieldTakesEffectOnRestartAndIsStored()
    {
        QTemporaryDir home;
        test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nCBPort.ItemIndex=3\nDevicePath=/nonexistent/ttyUSB7\n");
        test::PtyPair car;
        QVERIFY(car.isOpen());
        Program p;
        p.start(home.path());
        ComTab* com = p.main->window().comTab();
        QCOMPARE(com->devicePath(), QStringLiteral("/nonexistent/ttyUSB7"));
        QCOMPARE(com->CBPort()->currentText(), QStringLiteral("COM4"));
        SerialPortNG& port = p.main->core().port();
        QVERIFY(!port.Active());

        com->DevicePath()->setEditText(QLatin1Char(' ') + car.slavePath());
        QVERIFY(!port.Active()); // typing alone opens nothing
        p.main->window().findChild<TBMWpanel*>("BMWpanel66")->click(); // "Restart COM port"
        QVERIFY(port.Active());
        QCOMPARE(port.DevicePath(), car.slavePath());
        const QByteArray ini = test::readAll(home.filePath("Zarn.ini"));
        QVERIFY2(ini.contains("DevicePath=" + car.slavePath().toUtf8() + "\n"), ini.constData());
        QVERIFY(ini.contains("CBPort.ItemIndex=3\n"));

        // Emptied, the CBPort choice opens again: COM4, /dev/ttyS3.
        com->DevicePath()->setEditText(QString());
        p.main->window().findChild<TBMWpanel*>("BMWpanel66")->click();
        QCOMPARE(port.DevicePath(), QStringLiteral("/dev/ttyS3"));
        QVERIFY(test::readAll(home.filePath("Zarn.ini")).contains("DevicePath=\n"));
        p.main->core().link().ClosePort();
    }

    void settingsAndPicturePositionsSurviveARestart()
    {
        QTemporaryDir home;
        test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n");
        {
            Program p;
            p.start(home.path());
            AlternateMenu* menu = AlternateMenu::of(p.main->window());
            QVERIFY(menu);
            menu->setItemPositions({{QStringLiteral("E644Panel"), QPoint(123, 77)}});
            p.main->window().setBounds(1, 2, 801, 599);
            p.main->FormCloseQuery();
        }
        Program p;
        p.start(home.path());
        QCOMPARE(AlternateMenu::of(p.main->window())->itemPositions().value(QStringLiteral("E644Panel")), QPoint(123, 77));
        QCOMPARE(p.main->window().geometry(), QRect(1, 2, 801, 599));
    }

    // A chosen track brings the now-playing page under the music header; the page shows
    // the player's state, its items reach the player, and the bus's pause rows too.
    void musicPagesFollowThePlayer()
    {
        QTemporaryDir home;
        test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n");
        Program p;
        p.start(home.path());
        ZarnWindow& w = p.main->window();
        MusicPlayer& player = p.main->core().player();
        auto* music = static_cast<MusicPage*>(w.page(PageMusic));
        auto* nowPlaying = static_cast<NowPlayingPage*>(w.page(PageNowPlaying));

        emit music->playRequested(home.filePath("gone.mp3"));
        QVERIFY(w.players().trackPlaying());
        p.time.advance(MusicPlayer::SwitchIntervalMs);
        QCOMPARE(w.activePage(), int(PageNowPlaying));
        QCOMPARE(w.headerCaption(), QStringLiteral(" Zarn MP3 Player"));
        QCOMPARE(nowPlaying->view().scrollerText, QStringLiteral("No MP3 file playing..."));

        p.feed("F004684831E5"); // FM: the pause steps
        QCOMPARE(nowPlaying->view().pauseCaption, QStringLiteral("(1) Resume"));
        emit nowPlaying->pauseRequested();
        QCOMPARE(nowPlaying->view().pauseCaption, QStringLiteral("(1) Pause"));
        emit nowPlaying->randomToggleRequested();
        QVERIFY(w.players().randomMode());
        QCOMPARE(nowPlaying->view(), player.view());

        emit nowPlaying->backRequested();
        QCOMPARE(w.activePage(), int(PageMusic));
        QCOMPARE(p.focus(), QStringLiteral("BMWpanel11"));
        QVERIFY(player.trackPlaying());
        emit nowPlaying->soundFxRequested();
        QCOMPARE(w.activePage(), int(PageSoundFx));
        emit nowPlaying->stopRequested();
        QCOMPARE(w.activePage(), int(PageMusic));
        QVERIFY(!w.players().trackPlaying());
    }

    // The player's spectrum ticks draw on the now-playing page while the track plays,
    // pausing keeps the picture, and every opening of the output starts a new analyser.
    void spectrumFollowsThePlayingStream()
    {
        QTemporaryDir home;
        test::writeAll(home.filePath("Zarn.ini"), "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n");
        // A tone at the centre of bin 15 of a 1024-point spectrum: bar 10.
        const QString track = home.filePath("tone.ogg");
        QCOMPARE(QProcess::execute(QStringLiteral("ffmpeg"),
                                   {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                                    "aevalsrc=0.1*sin(2*PI*645.99609375*t)|0.1*sin(2*PI*645.99609375*t):s=44100:d=2",
                                    "-c:a", "libvorbis", track}),
                 0);
        FfmpegAudioEngine engine;
        Program p;
        p.start(home.path(), {}, nullptr, &engine);
        MusicPlayer& player = p.main->core().player();
        auto* page = static_cast<NowPlayingPage*>(p.main->window().page(PageNowPlaying));
        const TSpectrum* first = page->spectrum();
        QVERIFY(first);

        QVERIFY(player.PlayMp3File(track));
        std::vector<float> out(8192 * 2);
        QVERIFY(engine.renderOffline(out.data(), 8192));
        p.time.advance(MusicPlayer::SpectrumIntervalMs);
        const int height = page->spectrum()->bars().bar(10);
        QVERIFY2(height >= 45 && height <= 55, qPrintable(QString::number(height)));
        QCOMPARE(page->spectrum()->bars().bar(0), 0);

        player.pauseSteps();
        const QImage before = page->spectrum()->picture().copy();
        p.time.advance(10 * MusicPlayer::SpectrumIntervalMs);
        QCOMPARE(page->spectrum()->bars().bar(10), height); // no frame, so no fall either
        QCOMPARE(page->spectrum()->picture(), before);

        player.InitAudioOutput();
        QVERIFY(page->spectrum() != first);
        QCOMPARE(page->spectrum()->bars().bar(10), 0);
        QCOMPARE(page->spectrum()->bars().peak(10), 0);
    }

    void randomListAndFavouritesAreWired()
    {
        QTemporaryDir home, music;
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"), {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"),
                                                QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                                QStringLiteral("sine=f=440:r=22050:d=1"), music.filePath("a.mp3")});
        QVERIFY(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0);
        QDir(music.path()).mkdir(QStringLiteral("sub"));
        test::writeAll(music.filePath("sub/b.mp3"), "b");
        test::writeAll(home.filePath("Zarn.ini"),
                       "[COM-Port]\nDevicePath=/nonexistent/ttyCAR\n[Pathes]\nmp3=" + music.path().toUtf8() + "/\n");
        const QStringList entries{music.filePath("a.mp3"), music.filePath("sub/b.mp3")};
        {
            Program p;
            p.start(home.path());
            ZarnWindow& w = p.main->window();
            QSignalSpy built(&p.main->core().randomList(), &RandomList::buildFinished);
            emit w.findChild<TBMWpanel*>(QStringLiteral("BMWpanel71"))->clicked();
            QVERIFY(built.count() > 0 || built.wait(30000));
            QCOMPARE(p.main->core().player().randomEntries(), entries);
            QCOMPARE(w.findChild<PlainPanel*>(QStringLiteral("FilterInfo"))->caption(), QStringLiteral(" Rnd list created #=2"));
            auto* nowPlaying = static_cast<NowPlayingPage*>(w.page(PageNowPlaying));
            QCOMPARE(nowPlaying->view().randomStatus, QStringLiteral("Rnd list created #=2"));
            QVERIFY(!w.findChild<PlainPanel*>(QStringLiteral("RandomIndicator"))->isVisibleTo(&w));

            auto* page = static_cast<MusicPage*>(w.page(PageMusic));
            emit page->playRequested(music.filePath("a.mp3"));
            emit nowPlaying->favouriteRequested();
            QCOMPARE(test::readAll(music.filePath("$  Favourites/a.mp3")), test::readAll(music.filePath("a.mp3")));
            QCOMPARE(nowPlaying->view().randomStatus, QStringLiteral("File  copied to favourites "));
            p.main->FormCloseQuery();
        }
        // The next start reads the list back 6 s later, behind the main menu.
        Program p;
        p.start(home.path());
        ZarnWindow& w = p.main->window();
        QWidget* musicItem = w.findChild<QWidget*>(QStringLiteral("BMWpanel1"));
        QSignalSpy read(&p.main->core().randomList(), &RandomList::readFinished);
        w.ShowPage(PageMusic);
        p.time.advance(RandomList::ReadDelayMs);
        QCOMPARE(w.activePage(), 0);
        QVERIFY(read.count() > 0 || !musicItem->isEnabled());
        QVERIFY(read.count() > 0 || read.wait(30000));
        QVERIFY(musicItem->isEnabled());
        QCOMPARE(p.main->core().player().randomEntries(), entries);
        // The knob's mark is back on the music item, where the main menu put it.
        QCOMPARE(p.focus(), QStringLiteral("BMWpanel1"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
