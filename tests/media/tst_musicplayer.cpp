// The music player on virtual time: a small engine where the numbers must be exact, the
// FFmpeg engine (no device) where real files matter, and a list of the test's own.
#include "media/MusicPlayer.h"

#include "core/IniFile.h"
#include "core/StartupSequence.h"
#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/IbusSender.h"
#include "media/FfmpegAudioEngine.h"
#include "media/MediaSettings.h"
#include "media/MusicList.h"
#include "ReadOnlyDir.h"
#include "RecordingSink.h"
#include "TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace zarn;

namespace {

constexpr int Rate = 44100;

// An engine of exact numbers: the paths of its table open with their lengths in
// seconds, the test sets the position, and the calls that matter are noted.
class FakeEngine : public AudioEngine {
public:
    QHash<QString, double> lengths; // seconds, by path; other paths do not open
    QStringList opened;             // every path a stream was made for
    int creates = 0;
    QStringList calls;              // "pause", "play", "seek <seconds>"
    double position = 0;            // seconds into the live stream
    int active = ActivePlaying;     // what channelIsActive says of the live stream
    std::vector<float> spectrum;    // channelGetData's magnitudes; empty: it fails

    quint32 version() const override { return Version; }
    bool setConfig(int, int) override { return true; }
    bool init(int, quint32, quint32) override { return true; }
    void free() override { live_ = 0; }
    StreamHandle streamCreateFile(const QString& path, quint64, quint64, quint32) override
    {
        ++creates;
        if (!lengths.contains(path))
            return 0;
        opened << path;
        length_ = lengths.value(path);
        position = 0;
        return live_ = ++serial_;
    }
    bool streamFree(StreamHandle s) override { return s == live_ && (live_ = 0, true); }
    qint64 streamGetLength(StreamHandle s) const override { return s == live_ ? bytes(length_) : -1; }
    bool channelGetInfo(StreamHandle s, ChannelInfo& info) const override
    {
        info.freq = Rate;
        info.chans = 2;
        return s == live_;
    }
    bool channelPlay(StreamHandle s, bool) override { return note(s, QStringLiteral("play")); }
    bool channelPause(StreamHandle s) override { return note(s, QStringLiteral("pause")); }
    int channelIsActive(StreamHandle s) const override { return s == live_ ? active : ActiveStopped; }
    qint64 channelGetPosition(StreamHandle s) const override { return s == live_ ? bytes(position) : -1; }
    bool channelSetPosition(StreamHandle s, qint64 b) override
    {
        if (s != live_)
            return false;
        calls << QStringLiteral("seek %1").arg(double(b / 8) / Rate);
        position = std::clamp(double(b / 8) / Rate, 0.0, length_);
        return true;
    }
    float channelBytes2Seconds(StreamHandle s, qint64 b) const override { return s == live_ ? float(double(b / 8) / Rate) : -1.0f; }
    qint64 channelSeconds2Bytes(StreamHandle s, float seconds) const override { return s == live_ ? bytes(seconds) : -1; }
    bool channelSetAttributes(StreamHandle, int, int, int) override { return true; }
    FxHandle channelSetFX(StreamHandle, quint32, int) override { return 0; }
    bool fxGetParameters(FxHandle, ParamEqParameters&) const override { return false; }
    bool fxGetParameters(FxHandle, ReverbParameters&) const override { return false; }
    bool fxSetParameters(FxHandle, const ParamEqParameters&) override { return false; }
    bool fxSetParameters(FxHandle, const ReverbParameters&) override { return false; }
    DspHandle channelSetDSP(StreamHandle, DspProc, void*, int) override { return 0; }
    bool channelRemoveDSP(StreamHandle, DspHandle) override { return false; }
    qint64 channelGetData(StreamHandle s, float* buffer, quint32 what) override
    {
        if (s != live_ || what != DataFft1024 || spectrum.size() != size_t(FftBins))
            return -1;
        std::copy(spectrum.begin(), spectrum.end(), buffer);
        return FftBins * qint64(sizeof(float));
    }

    StreamHandle live() const { return live_; }

private:
    static qint64 bytes(double seconds) { return qint64(std::trunc(seconds * Rate)) * 8; }
    bool note(StreamHandle s, const QString& call)
    {
        calls << call;
        return s == live_;
    }
    StreamHandle live_ = 0;
    StreamHandle serial_ = 0;
    double length_ = 0;
};

// One directory's entries, written "a.mp3 [Folder] b.mp3": brackets are directories.
class FakeList : public MusicList {
public:
    QString dir = QStringLiteral("/music");
    QStringList names;
    QList<bool> dirs;
    int hi = -1;
    QStringList wentTo;

    void set(const QString& entries)
    {
        names.clear();
        dirs.clear();
        for (const QString& e : entries.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const bool d = e.startsWith(QLatin1Char('['));
            names << (d ? e.mid(1, e.size() - 2) : e);
            dirs << d;
        }
        hi = -1;
    }
    QString path(const QString& name) const { return dir + QLatin1Char('/') + name; }

    int count() const override { return int(names.size()); }
    int highlighted() const override { return hi; }
    bool setHighlighted(int index) override { return index >= 0 && index < count() && ((hi = index), true); }
    void highlightName(const QString& fileName) override
    {
        for (int i = 0; i < count(); ++i)
            if (!dirs[i] && names[i].compare(fileName, Qt::CaseInsensitive) == 0)
                hi = i;
    }
    bool isDirectory(int index) const override { return index >= 0 && index < count() && dirs[index]; }
    QString entryPath(int index) const override { return index >= 0 && index < count() ? path(names[index]) : QString(); }
    void GoToPath(const QString& p) override
    {
        wentTo << p;
        highlightName(QFileInfo(p).fileName());
    }
};

QString makeTrack(const QString& path, double seconds, int rate = 22050)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    const char* codec = ext == QLatin1String("mp3") ? "libmp3lame" : ext == QLatin1String("ogg") ? "libvorbis" : "wmav2";
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"),
                                       QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"),
                                       QStringLiteral("-i"), QStringLiteral("sine=f=440:r=%1:d=%2").arg(rate).arg(seconds),
                                       QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-c:a"),
                                       QLatin1String(codec), path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        qWarning("ffmpeg failed for %s: %s", qPrintable(path), p.readAllStandardError().constData());
    return path;
}

struct Rig {
    test::VirtualTime time;
    QTemporaryDir home;
    StatusLog log;
    test::RecordingSink sink;
    BusOptions options;
    IbusSender sender{sink, log, options};
    IniFile ini{home.filePath(QStringLiteral("Zarn.ini"))};
    MediaSettings settings;
    FakeEngine fake;
    FakeList list;
    std::unique_ptr<MusicPlayer> player;

    explicit Rig(AudioEngine* engine = nullptr) { make(engine); }
    void make(AudioEngine* engine = nullptr)
    {
        player = std::make_unique<MusicPlayer>(engine ? *engine : fake, list, time.scheduler, log, sender, ini, settings,
                                               home.path() + QLatin1Char('/'));
    }
    // Plays this list entry (the list and the engine know it) at a length in seconds.
    void play(const QString& name, double seconds = 245.4)
    {
        fake.lengths.insert(list.path(name), seconds);
        player->playListEntry(list.path(name));
    }
    void tracks(const QString& entries, double seconds = 245.4)
    {
        list.set(entries);
        for (int i = 0; i < list.count(); ++i)
            if (!list.dirs[i] && list.names[i] != QLatin1String("bad.mp3"))
                fake.lengths.insert(list.path(list.names[i]), seconds);
    }
    void tick(double positionSeconds)
    {
        fake.position = positionSeconds;
        time.advance(MusicPlayer::ProgressIntervalMs);
    }
    QString lastOpened() const { return fake.opened.isEmpty() ? QString() : QFileInfo(fake.opened.last()).fileName(); }
    // The texts of the cluster frames sent: 68 LL 80 23 62 30, the text, the checksum.
    QStringList clusterTexts() const
    {
        QStringList out;
        for (const QByteArray& f : sink.frames)
            if (f.startsWith(char(0x68)) && f.mid(2, 4) == test::hexBytes(QStringLiteral("80 23 62 30")))
                out << QString::fromLatin1(f.mid(6, f.size() - 7));
        return out;
    }
    const NowPlayingView& view() const { return player->view(); }
};

} // namespace

class TestMusicPlayer : public QObject {
    Q_OBJECT
private slots:
    void coverSearch_data()
    {
        QTest::addColumn<QStringList>("pictures"); // in the track's directory
        QTest::addColumn<QStringList>("stars");    // artist pictures
        QTest::addColumn<QString>("expected");     // empty: the default cover

        const QStringList all{"Queen - Bites.jpg", "folder.jpg", "front.jpg", "cover.jpg"};
        QTest::addRow("the track's own picture first") << all << QStringList() << "Queen - Bites.jpg";
        QTest::addRow("folder before front and cover") << all.mid(1) << QStringList() << "folder.jpg";
        QTest::addRow("front before cover") << all.mid(2) << QStringList() << "front.jpg";
        QTest::addRow("cover") << all.mid(3) << QStringList() << "cover.jpg";
        QTest::addRow("letter case of the name") << QStringList{"Folder.JPG"} << QStringList() << "Folder.JPG";
        QTest::addRow("last matching artist picture") << QStringList() << QStringList{"Abba.jpg", "Que.jpg", "Queen.jpg"}
                                                      << "stars/Queen.jpg";
        QTest::addRow("directory pictures before artists") << QStringList{"cover.jpg"} << QStringList{"Queen.jpg"}
                                                           << "cover.jpg";
        QTest::addRow("nothing matches") << QStringList() << QStringList{"Abba.jpg"} << "";
        // An empty folder.jpg exists but cannot be shown: the default, and the track plays.
        QTest::addRow("unreadable picture") << QStringList{"!folder.jpg", "front.jpg"} << QStringList() << "";
    }
    void coverSearch()
    {
        QFETCH(QStringList, pictures);
        QFETCH(QStringList, stars);
        QFETCH(QString, expected);
        Rig r;
        const QString music = r.home.filePath(QStringLiteral("music"));
        QDir().mkpath(music);
        QDir().mkpath(r.home.filePath(QStringLiteral("stars")));
        for (QString p : pictures) {
            const bool empty = p.startsWith(QLatin1Char('!'));
            test::writeAll(music + QLatin1Char('/') + p.remove(QLatin1Char('!')), empty ? QByteArray() : "\xFF\xD8\xFF");
        }
        for (const QString& s : stars)
            test::writeAll(r.home.filePath(QStringLiteral("stars/") + s), "\xFF\xD8\xFF");
        r.make(); // the artist pictures are listed when the player is made
        r.list.dir = music;
        r.play(QStringLiteral("Queen - Bites.mp3"));
        QCOMPARE(r.view().coverPath, expected.isEmpty() ? QString() : r.home.filePath(expected.startsWith("stars/") ? expected : "music/" + expected));
        QCOMPARE(r.view().scrollerText, music + QStringLiteral("/Queen - Bites.mp3"));
    }

    void startsRealFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("format");
        QTest::addRow("mp3") << "A long name for the cluster.mp3" << int(NowPlayingView::Format::Mp3);
        QTest::addRow("ogg") << "short.OGG" << int(NowPlayingView::Format::Ogg);
        QTest::addRow("wma") << "third.wma" << int(NowPlayingView::Format::Wma);
    }
    void startsRealFiles()
    {
        QFETCH(QString, name);
        QFETCH(int, format);
        FfmpegAudioEngine engine;
        Rig r(&engine);
        r.player->setOutputDevice(AudioEngine::DeviceNoSound);
        r.player->InitAudioOutput();
        const QString path = makeTrack(r.home.filePath(name), 2.6);
        QSignalSpy switched(r.player.get(), &MusicPlayer::switchToNowPlaying);

        QVERIFY(r.player->PlayMp3File(path));
        QCOMPARE(r.view().sampleRateText, QStringLiteral("22050"));
        QCOMPARE(int(r.view().format), format);
        QCOMPARE(r.player->TrackLength(), 2);
        QCOMPARE(r.view().progressMax, 2);
        QCOMPARE(r.view().timeText, QStringLiteral("0:00 / 0:02"));
        QCOMPARE(r.view().scrollerText, path);
        QCOMPARE(r.player->CurrentTrack(), path);
        QCOMPARE(r.clusterTexts(), QStringList{name.left(20)});
        QCOMPARE(r.ini.readString(QStringLiteral("MP3Player"), QStringLiteral("LastMP3played"), {}), path);
        QCOMPARE(engine.channelIsActive(r.player->MusicStream()), int(AudioEngine::ActivePlaying));
        QCOMPARE(r.player->ProgresTimer.interval(), 400);
        QCOMPARE(r.player->SpecTimer.interval(), 35);
        r.time.advance(49);
        QCOMPARE(switched.count(), 0);
        r.time.advance(1);
        QCOMPARE(switched.count(), 1);
        r.time.advance(1000);
        QCOMPARE(switched.count(), 1);
    }

    void failedStart_data()
    {
        QTest::addColumn<bool>("busy");
        QTest::addRow("link idle") << false;
        QTest::addRow("a write pending") << true;
    }
    void failedStart()
    {
        QFETCH(bool, busy);
        Rig r;
        r.tracks(QStringLiteral("good.mp3"), 150.2);
        r.play(QStringLiteral("good.mp3"), 150.2);
        r.sink.frames.clear();
        r.sink.busy = busy;
        const int before = r.fake.creates;

        QVERIFY(!r.player->PlayMp3File(r.list.path(QStringLiteral("gone.mp3"))));
        QCOMPARE(r.fake.creates - before, 2); // tried once more
        QCOMPARE(r.view().scrollerText, QStringLiteral("No MP3 file playing..."));
        QCOMPARE(r.clusterTexts(), busy ? QStringList() : QStringList{"No MP3 file playing..."});
        QCOMPARE(r.view().progressMax, 150); // a maximum of 0 is ignored
        QVERIFY(r.player->ProgresTimer.isActive());
        QCOMPARE(r.settings.lastMp3Played, r.list.path(QStringLiteral("gone.mp3")));
        QCOMPARE(r.player->CurrentTrack(), r.list.path(QStringLiteral("good.mp3")));
    }

    void tickShowsTimeAndTraces()
    {
        Rig r;
        r.log.setTimerTraceEnabled(true);
        r.tracks(QStringLiteral("a.mp3 b.mp3"));
        r.play(QStringLiteral("a.mp3"), 245.4);
        r.tick(187.6);
        QCOMPARE(r.view().timeText, QStringLiteral("3:07 / 4:05"));
        QCOMPARE(r.view().progressValue, 187);
        QCOMPARE(r.view().progressMax, 245);
        QCOMPARE(test::texts(r.log).count(QStringLiteral("$$$ Timer - MP3 ProgresTimer")), 1);
        // A new track shows the old position until its first tick.
        r.play(QStringLiteral("b.mp3"), 100.0);
        QCOMPARE(r.view().timeText, QStringLiteral("3:07 / 1:40"));
        r.tick(0.5);
        QCOMPARE(r.view().timeText, QStringLiteral("0:00 / 1:40"));
    }

    void sliderMaximum_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<int>("maximum");
        QTest::addRow("whole seconds, truncated") << 245.9 << 245;
        QTest::addRow("two seconds") << 2.0 << 2;
        QTest::addRow("below two: the old maximum stays") << 1.9 << 100;
        QTest::addRow("below a second") << 0.4 << 100;
    }
    void sliderMaximum()
    {
        QFETCH(double, seconds);
        QFETCH(int, maximum);
        Rig r;
        r.tracks(QStringLiteral("a.mp3"));
        r.play(QStringLiteral("a.mp3"), seconds);
        QCOMPARE(r.view().progressMax, maximum);
        QCOMPARE(r.player->TrackLength(), int(seconds));
    }

    void listOrderAdvance_data()
    {
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("playing");
        QTest::addColumn<int>("ticks"); // in the last whole second
        QTest::addColumn<QString>("next"); // what plays then; empty: nothing new
        QTest::addRow("next entry") << "a.mp3 b.mp3 c.mp3" << "a.mp3" << 1 << "b.mp3";
        QTest::addRow("last wraps to the first") << "a.mp3 b.mp3 c.mp3" << "c.mp3" << 1 << "a.mp3";
        QTest::addRow("a folder is passed, one per tick") << "a.mp3 [d] c.mp3" << "a.mp3" << 1 << "";
        QTest::addRow("the file after the folder") << "a.mp3 [d] c.mp3" << "a.mp3" << 2 << "c.mp3";
        QTest::addRow("a folder named like a file") << "a.mp3 [Vol.2] c.mp3" << "a.mp3" << 1 << "";
    }
    void listOrderAdvance()
    {
        QFETCH(QString, entries);
        QFETCH(QString, playing);
        QFETCH(int, ticks);
        QFETCH(QString, next);
        Rig r;
        r.tracks(entries, 10.5);
        r.list.highlightName(playing);
        r.play(playing, 10.5);
        r.tick(8.9);
        QCOMPARE(r.fake.opened.size(), 1);
        for (int i = 0; i < ticks; ++i)
            r.tick(9.2);
        QCOMPARE(r.lastOpened(), next.isEmpty() ? playing : next);
        QCOMPARE(r.fake.opened.size(), next.isEmpty() ? 1 : 2);
        QCOMPARE(r.fake.creates, int(r.fake.opened.size())); // no folder was tried
    }

    void previousAndNext_data()
    {
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("playing"); // not in the list: no entry highlighted
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("next"); // empty: nothing new plays

        QTest::addRow("up: next file") << "a.mp3 b.mp3" << "a.mp3" << "up" << "b.mp3";
        QTest::addRow("up: last wraps to the first") << "a.mp3 b.mp3 c.mp3" << "c.mp3" << "up" << "a.mp3";
        QTest::addRow("up: ten folders skipped")
            << "a.mp3 [1] [2] [3] [4] [5] [6] [7] [8] [9] [10.x] b.mp3" << "a.mp3" << "up" << "b.mp3";
        QTest::addRow("up: nothing highlighted, the first") << "x.mp3 y.mp3" << "q.mp3" << "up" << "x.mp3";
        QTest::addRow("up: a file that does not start is passed") << "a.mp3 bad.mp3 c.mp3" << "a.mp3" << "up" << "c.mp3";
        QTest::addRow("up: only folders after it") << "a.mp3 [d] [e]" << "a.mp3" << "up" << "a.mp3";
        QTest::addRow("down: previous file") << "a.mp3 b.mp3" << "b.mp3" << "down" << "a.mp3";
        QTest::addRow("down: the first plays the last") << "a.mp3 b.mp3 c.mp3" << "a.mp3" << "down" << "c.mp3";
        QTest::addRow("down: folders skipped upward") << "a.mp3 [d] c.mp3" << "c.mp3" << "down" << "a.mp3";
        QTest::addRow("down: only a folder above") << "[d] a.mp3" << "a.mp3" << "down" << "";
        QTest::addRow("down: one entry") << "a.mp3" << "a.mp3" << "down" << "";
        QTest::addRow("down: nothing highlighted") << "a.mp3 b.mp3" << "q.mp3" << "down" << "";
        QTest::addRow("prev item: the first steps to the last") << "a.mp3 b.mp3 c.mp3" << "a.mp3" << "prev" << "c.mp3";
        QTest::addRow("prev item: onto a folder, nothing") << "[d] a.mp3" << "a.mp3" << "prev" << "";
        QTest::addRow("prev item: nothing highlighted") << "a.mp3 b.mp3" << "q.mp3" << "prev" << "";
        QTest::addRow("next item") << "a.mp3 b.mp3" << "a.mp3" << "next" << "b.mp3";
        QTest::addRow("up after stop: nothing plays") << "a.mp3 b.mp3" << "a.mp3" << "stop up" << "";
    }
    void previousAndNext()
    {
        QFETCH(QString, entries);
        QFETCH(QString, playing);
        QFETCH(QString, op);
        QFETCH(QString, next);
        Rig r;
        r.tracks(entries);
        r.play(playing);
        r.list.hi = -1; // the player finds the playing entry itself
        for (const QString& o : op.split(QLatin1Char(' '))) {
            if (o == QLatin1String("up"))
                r.player->nextTrack();
            else if (o == QLatin1String("down"))
                r.player->previousTrack();
            else if (o == QLatin1String("prev"))
                r.player->BMWpanel56Click();
            else if (o == QLatin1String("next"))
                r.player->BMWpanel60Click();
            else if (o == QLatin1String("stop"))
                r.player->BMWpanel62Click();
        }
        QCOMPARE(r.fake.opened.size(), next.isEmpty() ? 1 : 2);
        QCOMPARE(r.lastOpened(), next.isEmpty() ? playing : next);
        if (!entries.contains(QLatin1String("bad")))
            QCOMPARE(r.fake.creates, int(r.fake.opened.size())); // no folder was tried
    }

    void pauseSequences_data()
    {
        QTest::addColumn<QString>("ops"); // t toggle, p pause steps, r resume steps, x random toggle
        QTest::addColumn<bool>("paused");
        QTest::addColumn<int>("pauses");
        QTest::addColumn<int>("plays");
        QTest::addRow("toggle pauses") << "t" << true << 1 << 0;
        QTest::addRow("second toggle resumes") << "tt" << false << 1 << 1;
        QTest::addRow("FM pauses, pause again stays paused") << "pp" << true << 2 << 0;
        QTest::addRow("toggle after bus pause resumes") << "pt" << false << 1 << 1;
        QTest::addRow("resume steps while playing") << "r" << false << 0 << 1;
        // Random toggled while paused shows playing over a paused stream: the next press
        // pauses again, the one after resumes.
        QTest::addRow("shown playing, next toggle pauses") << "txt" << true << 2 << 0;
        QTest::addRow("shown playing, third press resumes") << "txtt" << false << 2 << 1;
    }
    void pauseSequences()
    {
        QFETCH(QString, ops);
        QFETCH(bool, paused);
        QFETCH(int, pauses);
        QFETCH(int, plays);
        Rig r;
        r.tracks(QStringLiteral("a.mp3"));
        r.play(QStringLiteral("a.mp3"));
        r.fake.calls.clear();
        for (const QChar op : ops) {
            switch (op.toLatin1()) {
            case 't': r.player->BMWpanel54Click(); break;
            case 'p': r.player->pauseSteps(); break;
            case 'r': r.player->resumeSteps(); break;
            case 'x': r.player->BMWpanel58Click(); break;
            }
        }
        QCOMPARE(r.player->paused(), paused);
        QCOMPARE(r.view().pauseCaption, paused ? QStringLiteral("(1) Resume") : QStringLiteral("(1) Pause"));
        QCOMPARE(r.view().playMark, paused ? QStringLiteral("||") : QStringLiteral(">"));
        QCOMPARE(r.view().scrolling, !paused);
        QCOMPARE(r.fake.calls.count(QStringLiteral("pause")), pauses);
        QCOMPARE(r.fake.calls.count(QStringLiteral("play")), plays);
    }

    void randomCaptions()
    {
        Rig r;
        r.player->BMWpanel58Click();
        QVERIFY(r.player->RandomMode());
        QCOMPARE(r.view().randomCaption, QStringLiteral("Random is ON"));
        QCOMPARE(r.view().randomizeCaption, QStringLiteral(" Randomize (4) "));
        r.player->BMWpanel58Click();
        QVERIFY(!r.player->RandomMode());
        QCOMPARE(r.view().randomCaption, QStringLiteral("Random is OFF"));
        QCOMPARE(r.view().randomizeCaption, QStringLiteral(" n/a (4) "));
    }

    void randomDraw_data()
    {
        QTest::addColumn<QString>("action"); // how the track ends
        QTest::addColumn<QList<double>>("positions"); // one per tick, seconds
        QTest::addColumn<int>("drawTick");   // 1-based; 0: no draw
        const QList<double> steady{3.0, 3.4, 3.8};
        QTest::addRow("toggled on: the next tick draws") << "toggle" << steady << 1;
        QTest::addRow("randomize draws") << "randomize" << steady << 1;
        QTest::addRow("steering down ends the track") << "end" << steady << 1;
        QTest::addRow("the last whole second") << "" << QList<double>{9.6, 10.1} << 2;
        QTest::addRow("wrapped between two ticks") << "" << QList<double>{9.8, 0.1} << 2;
        QTest::addRow("a paused track is no end") << "" << QList<double>{6.0, 6.0, 6.0} << 0;
        QTest::addRow("a seek back is no end") << "seek" << QList<double>{9.0, 6.0, 6.4} << 0;
    }
    void randomDraw()
    {
        QFETCH(QString, action);
        QFETCH(QList<double>, positions);
        QFETCH(int, drawTick);
        Rig r;
        r.tracks(QStringLiteral("a.mp3 b.mp3 c.mp3"), 10.3);
        r.play(QStringLiteral("a.mp3"), 10.3);
        r.player->setRandomEntries({"/other/x.mp3", "/other/y.mp3", "/other/z.mp3"});
        r.fake.lengths.insert(QStringLiteral("/other/y.mp3"), 50.0);
        r.player->setRandomSource([](int bound) { return bound == 3 ? 1 : -1; });
        if (action != QLatin1String("toggle")) {
            r.player->BMWpanel58Click();
            r.tick(0.2); // the toggle's own draw
            r.fake.lengths.insert(r.list.path(QStringLiteral("a.mp3")), 10.3);
            r.play(QStringLiteral("a.mp3"), 10.3);
        }
        const int before = int(r.fake.opened.size());
        if (action == QLatin1String("toggle"))
            r.player->BMWpanel58Click();
        else if (action == QLatin1String("randomize"))
            r.player->BMWpanel59Click();
        else if (action == QLatin1String("end"))
            r.player->endTrack();
        int drawnAt = 0;
        for (int i = 0; i < positions.size() && !drawnAt; ++i) {
            if (action == QLatin1String("seek") && i == 1)
                r.player->ProgressStopTracking(6);
            r.tick(positions[i]);
            if (r.fake.opened.size() > before)
                drawnAt = i + 1;
        }
        QCOMPARE(drawnAt, drawTick);
        if (drawTick) {
            QCOMPARE(r.fake.opened.last(), QStringLiteral("/other/y.mp3"));
            QCOMPARE(r.view().randomStatus, QStringLiteral("Playing 1 of 3"));
            QCOMPARE(r.list.wentTo.last(), QStringLiteral("/other"));
            QVERIFY(r.player->ProgresTimer.isActive());
        }
    }

    void drawFromAnEmptyList()
    {
        Rig r;
        r.tracks(QStringLiteral("a.mp3"), 10.3);
        r.play(QStringLiteral("a.mp3"), 10.3);
        r.player->BMWpanel58Click();
        r.tick(4.0);
        QCOMPARE(r.view().randomStatus, QStringLiteral("Playing 0 of 0"));
        QCOMPARE(r.fake.opened.size(), 1);
        // The track loops on with its time shown, and the steering wheel still skips.
        QVERIFY(r.player->ProgresTimer.isActive());
        r.tick(5.0);
        QCOMPARE(r.view().timeText, QStringLiteral("0:05 / 0:10"));
    }

    void seekIsNotClamped_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<int>("kept");
        QTest::addRow("a minute on") << 60.4 << 3 << "seek 63" << 63;
        QTest::addRow("back before the start") << 1.5 << -3 << "seek -2" << 0;
        QTest::addRow("past the end") << 9.7 << 3 << "seek 12" << 10;
    }
    void seekIsNotClamped()
    {
        QFETCH(double, position);
        QFETCH(int, step);
        QFETCH(QString, asked);
        QFETCH(int, kept);
        Rig r; // an empty list: the last second's advance finds nothing to play
        r.play(QStringLiteral("a.mp3"), position < 20 ? 10.5 : 245.4);
        r.tick(position);
        r.fake.calls.clear();
        r.player->seekBy(step);
        QCOMPARE(r.fake.calls, QStringList{asked});
        QCOMPARE(r.player->TrackPosition(), kept);
    }

    void sliderSeek()
    {
        Rig r;
        r.tracks(QStringLiteral("a.mp3"));
        r.play(QStringLiteral("a.mp3"), 100.0);
        r.player->ProgressStopTracking(42);
        QCOMPARE(r.fake.calls.last(), QStringLiteral("seek 42"));
        QCOMPARE(r.player->TrackPosition(), 42);
    }

    void stopAndBack()
    {
        Rig r;
        r.tracks(QStringLiteral("a.mp3"));
        r.play(QStringLiteral("a.mp3"));
        QSignalSpy stopped(r.player.get(), &MusicPlayer::stopped);
        QSignalSpy back(r.player.get(), &MusicPlayer::backRequested);
        QSignalSpy switched(r.player.get(), &MusicPlayer::switchToNowPlaying);

        r.player->BMWpanel53Click();
        QCOMPARE(back.count(), 1);
        r.time.advance(100);
        QCOMPARE(switched.count(), 0); // back stops the switch; playback goes on
        QVERIFY(r.player->ProgresTimer.isActive());
        QVERIFY(r.fake.live() != 0);

        r.player->BMWpanel62Click();
        QCOMPARE(stopped.count(), 1);
        QCOMPARE(r.fake.live(), 0u);
        QVERIFY(!r.player->ProgresTimer.isActive());
        QVERIFY(!r.player->SpecTimer.isActive());
        QVERIFY(!r.player->trackPlaying());
    }

    // Every 35 ms: the trace line, then the magnitudes while the stream plays; paused,
    // stopped or failing, the page keeps its last picture.
    void spectrumTick_data()
    {
        QTest::addColumn<int>("active");
        QTest::addColumn<bool>("data"); // channelGetData succeeds
        QTest::addColumn<int>("frames"); // handed on in 350 ms
        QTest::addRow("playing") << int(AudioEngine::ActivePlaying) << true << 10;
        QTest::addRow("paused") << int(AudioEngine::ActivePaused) << true << 0;
        QTest::addRow("stopped") << int(AudioEngine::ActiveStopped) << true << 0;
        QTest::addRow("no data") << int(AudioEngine::ActivePlaying) << false << 0;
    }
    void spectrumTick()
    {
        QFETCH(int, active);
        QFETCH(bool, data);
        QFETCH(int, frames);
        Rig r;
        r.log.setTimerTraceEnabled(true);
        r.tracks(QStringLiteral("a.mp3"));
        r.play(QStringLiteral("a.mp3"));
        r.fake.active = active;
        if (data) {
            r.fake.spectrum.assign(AudioEngine::FftBins, 0.0f);
            r.fake.spectrum[7] = 0.25f;
        }
        int got = 0;
        connect(r.player.get(), &MusicPlayer::spectrumFetched, this, [&](const float* m, int count) {
            QCOMPARE(count, AudioEngine::FftBins);
            QCOMPARE(m[7], 0.25f);
            ++got;
        });
        r.log.clear();
        r.time.advance(350);
        QCOMPARE(got, frames);
        QCOMPARE(test::texts(r.log).count(QStringLiteral("spectrumtimerTimer")), 10);

        // Stopped by the stop item: no more ticks, no more lines.
        r.player->BMWpanel62Click();
        r.log.clear();
        r.time.advance(350);
        QCOMPARE(test::texts(r.log).count(QStringLiteral("spectrumtimerTimer")), 0);
    }

    void openingTheOutputStartsTheSpectrumAnew()
    {
        Rig r;
        QSignalSpy fresh(r.player.get(), &MusicPlayer::outputInitialised);
        r.player->InitAudioOutput();
        r.player->InitAudioOutput();
        QCOMPARE(fresh.count(), 2);
    }

    void lastPlayedIsWrittenWhole()
    {
        Rig r;
        const QByteArray before = "[MP3Player]\r\nLastMP3played=/music/old.mp3\r\n[Pathes]\r\nmp3=/music\r\n";
        test::writeAll(r.ini.path(), before);
        r.tracks(QStringLiteral("a.mp3"));
        r.play(QStringLiteral("a.mp3"));
        QCOMPARE(r.ini.readString(QStringLiteral("MP3Player"), QStringLiteral("LastMP3played"), {}), r.list.path("a.mp3"));
        QCOMPARE(r.ini.readString(QStringLiteral("Pathes"), QStringLiteral("mp3"), {}), QStringLiteral("/music"));

        const QByteArray now = test::readAll(r.ini.path());
        test::ReadOnlyDir locked(r.home.path());
        if (!locked.ok())
            QSKIP("the directory cannot be made read-only here");
        r.tracks(QStringLiteral("b.mp3"));
        r.play(QStringLiteral("b.mp3"));
        QCOMPARE(r.lastOpened(), QStringLiteral("b.mp3")); // the track plays all the same
        QCOMPARE(test::readAll(r.ini.path()), now);
        const QStringList errors = test::texts(r.log).filter(QStringLiteral("Unable to write to ") + r.ini.path());
        QCOMPARE(errors.size(), 1);
    }

    void resume_data()
    {
        QTest::addColumn<bool>("autoreplay");
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("plays");
        QTest::addRow("file present") << true << true << true;
        QTest::addRow("file deleted") << true << false << false;
        QTest::addRow("autoreplay off") << false << true << false;
    }
    void resume()
    {
        QFETCH(bool, autoreplay);
        QFETCH(bool, present);
        QFETCH(bool, plays);
        Rig r;
        r.list.dir = r.home.filePath(QStringLiteral("music"));
        QDir().mkpath(r.list.dir);
        r.tracks(QStringLiteral("a.mp3 b.mp3"));
        if (present)
            test::writeAll(r.list.path(QStringLiteral("b.mp3")), "ID3");
        r.settings.autoReplayAfterRestart = autoreplay;
        r.settings.lastMp3Played = r.list.path(QStringLiteral("b.mp3"));

        r.player->replayLastTrack();
        QCOMPARE(r.list.wentTo, plays ? QStringList{r.list.path(QStringLiteral("b.mp3"))} : QStringList());
        QCOMPARE(r.lastOpened(), plays ? QStringLiteral("b.mp3") : QString());
        QCOMPARE(r.player->trackPlaying(), plays);
        QCOMPARE(r.log.lines().size(), 0);
    }

    void startupSwitchesRandomOn()
    {
        Rig r;
        r.settings.startWithRandom = true;
        StartupSequence startup;
        r.player->registerStartup(startup);
        QStringList splash;
        startup.run([&splash](int, const QString& line) { splash << line; });
        QCOMPARE(splash, QStringList{" Processing MP3 replay settings"});
        QVERIFY(r.player->RandomMode());
        QCOMPARE(r.view().randomCaption, QStringLiteral("Random is ON"));
    }

    // No sound device: reported with SDL's reason, the track plays on without sound and
    // the next start tries the device again.
    void missingDeviceIsReportedAndTriedAgain()
    {
        const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
        qputenv("SDL_AUDIODRIVER", "zarn-no-such-driver");
        QStringList alerts;
        {
            Rig r;
            r.log.setAlertSink([&alerts](const QString& line) { alerts << line; });
            FfmpegAudioEngine engine(&r.log);
            r.make(&engine);
            r.player->InitAudioOutput();
            const QString path = makeTrack(r.home.filePath(QStringLiteral("t.mp3")), 1.0);
            QVERIFY(r.player->PlayMp3File(path));
            QCOMPARE(r.view().scrollerText, path);
            r.player.reset();
        }
        qputenv("SDL_AUDIODRIVER", driver);
        static const QRegularExpression reported(QStringLiteral("Can't initialize sound device \\(.+\\)"));
        QCOMPARE(alerts.filter(reported).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestMusicPlayer)
#include "tst_musicplayer.moc"
