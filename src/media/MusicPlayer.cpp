#include "media/MusicPlayer.h"

#include "core/IniFile.h"
#include "core/StartupSequence.h"
#include "core/StatusLog.h"
#include "ibus/IbusSender.h"
#include "media/MediaSettings.h"
#include "media/MusicList.h"
#include "media/TrackTags.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <optional>

namespace zarn {

namespace {
constexpr int SampleRate = 44100;
constexpr int BufferMs = 1000;
constexpr int ProgressMinimum = 0;
constexpr int ProgressIncrement = 2;

// "3:07": minutes, then seconds with two digits.
QString timeText(int seconds)
{
    seconds = std::max(seconds, 0);
    return QString::number(seconds / 60) + QLatin1Char(':') + QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

NowPlayingView::Format formatOf(const QString& path)
{
    const QString ext = QLatin1Char('.') + QFileInfo(path).suffix().toUpper();
    if (ext == QLatin1String(".MP3"))
        return NowPlayingView::Format::Mp3;
    if (ext == QLatin1String(".WMA"))
        return NowPlayingView::Format::Wma;
    if (ext == QLatin1String(".OGG"))
        return NowPlayingView::Format::Ogg;
    return NowPlayingView::Format::None;
}

// A picture the page can at least open; one that cannot be read shows the default cover
// instead of keeping the track from starting.
bool readable(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.size() > 0;
}
} // namespace

// Publishes the view once, when the outermost operation that may change it ends.
class MusicPlayer::ViewGuard {
public:
    explicit ViewGuard(MusicPlayer& player)
        : player_(player)
    {
        if (player_.viewDepth_++ == 0)
            before_ = player_.view_;
    }
    ~ViewGuard()
    {
        if (--player_.viewDepth_ == 0 && before_ && *before_ != player_.view_)
            emit player_.viewChanged();
    }
    ViewGuard(const ViewGuard&) = delete;
    ViewGuard& operator=(const ViewGuard&) = delete;

private:
    MusicPlayer& player_;
    std::optional<NowPlayingView> before_;
};

MusicPlayer::MusicPlayer(AudioEngine& engine, MusicList& list, TimerScheduler& timers, StatusLog& log,
                         IbusSender& sender, IniFile& ini, MediaSettings& settings, const QString& appDir,
                         QObject* parent)
    : QObject(parent)
    , ProgresTimer(timers, QStringLiteral("ProgresTimer"))
    , SwitchToNowPlayingTimer(timers, QStringLiteral("SwitchToNowPlayingTimer"))
    , SpecTimer(timers, QStringLiteral("SpecTimer"))
    , engine_(engine)
    , list_(list)
    , log_(log)
    , sender_(sender)
    , ini_(ini)
    , settings_(settings)
    , starsDir_(appDir + QStringLiteral("stars/"))
{
    connect(&ProgresTimer, &Timer::timeout, this, &MusicPlayer::ProgresTimerTimer);
    connect(&SwitchToNowPlayingTimer, &Timer::timeout, this, &MusicPlayer::SwitchToNowPlayingTimerTimer);
    connect(&SpecTimer, &Timer::timeout, this, &MusicPlayer::SpecTimerTimer);
    listArtistPictures();
}

MusicPlayer::~MusicPlayer() = default;

void MusicPlayer::listArtistPictures()
{
    QDir stars(starsDir_);
    artistPictures_ = stars.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

void MusicPlayer::InitAudioOutput()
{
    engine_.setConfig(AudioEngine::ConfigFloatDsp, 1);
    // A missing or busy device is the engine's to report; the program plays on without
    // sound and the next track start tries the device again.
    engine_.init(device_, SampleRate, 0);
    engine_.setConfig(AudioEngine::ConfigBuffer, BufferMs);
    emit outputInitialised();
}

void MusicPlayer::releaseAudioOutput()
{
    engine_.streamFree(stream_);
    ProgresTimer.stop();
    SpecTimer.stop();
    engine_.free();
}

void MusicPlayer::registerStartup(StartupSequence& startup)
{
    startup.add(QStringLiteral("music replay"), [this](const StartupSequence::Splash& splash) {
        splash(92, QStringLiteral(" Processing MP3 replay settings"));
        if (settings_.startWithRandom && !randomMode_)
            BMWpanel58Click();
    });
}

void MusicPlayer::replayLastTrack()
{
    if (!settings_.autoReplayAfterRestart)
        return;
    const QString path = settings_.lastMp3Played;
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    list_.GoToPath(path);
    const int i = list_.highlighted();
    if (i < 0 || list_.isDirectory(i))
        return;
    playListEntry(list_.entryPath(i));
}

// The first of the track's own picture, folder.jpg, front.jpg and cover.jpg that exists
// (letter case ignored when the exact name is not there), else the last artist picture
// whose name occurs in the path; empty for the default cover.
QString MusicPlayer::findCover(const QString& path) const
{
    const QFileInfo track(path);
    const QDir dir = track.absoluteDir();
    const QString candidates[] = {track.completeBaseName() + QStringLiteral(".jpg"), QStringLiteral("folder.jpg"),
                                  QStringLiteral("front.jpg"), QStringLiteral("cover.jpg")};
    std::optional<QStringList> pictures;
    for (const QString& name : candidates) {
        QString found;
        if (QFileInfo(dir.filePath(name)).isFile()) {
            found = dir.filePath(name);
        } else {
            if (!pictures)
                pictures = dir.entryList({QStringLiteral("*.jpg")}, QDir::Files);
            for (const QString& p : *pictures)
                if (p.compare(name, Qt::CaseInsensitive) == 0) {
                    found = dir.filePath(p);
                    break;
                }
        }
        if (!found.isEmpty())
            return readable(found) ? found : QString();
    }

    QString match;
    const QString upper = path.toUpper();
    for (const QString& picture : artistPictures_)
        if (upper.contains(picture.chopped(4).toUpper()))
            match = starsDir_ + picture;
    return !match.isEmpty() && readable(match) ? match : QString();
}

bool MusicPlayer::PlayMp3File(const QString& path)
{
    ViewGuard guard(*this);
    view_.coverPath = findCover(path);

    if (stream_)
        engine_.streamFree(stream_);
    view_.pauseCaption = QLatin1String(PauseCaption);
    view_.seekEnabled = true;
    if (const std::optional<TrackTags> tags = readTrackTags(path)) {
        view_.title = tags->title;
        view_.artist = tags->artist;
        view_.album = tags->album;
        view_.year = tags->year;
        view_.genre = tags->genre;
    }

    stream_ = engine_.streamCreateFile(path, 0, 0, AudioEngine::SampleLoop);
    if (!stream_)
        stream_ = engine_.streamCreateFile(path, 0, 0, AudioEngine::SampleLoop);
    const bool started = stream_ != 0;
    if (started) {
        view_.format = formatOf(path);
        AudioEngine::ChannelInfo info;
        engine_.channelGetInfo(stream_, info);
        view_.sampleRateText = QString::number(info.freq);
        view_.bitrateText = GetBitrateText(path);
        baseSampleRate_ = info.freq;
        engine_.channelPlay(stream_, false);
        emit streamStarted(stream_, baseSampleRate_);
        currentTrack_ = path;
        sendCluster(QFileInfo(path).fileName().left(ClusterNameLength));
        trackLength_ = int(std::trunc(engine_.channelBytes2Seconds(stream_, engine_.streamGetLength(stream_))));
        setProgressMax(trackLength_);
        view_.scrollerText = path;
        setPlaying(true);
    } else {
        setProgressMax(0);
        view_.scrollerText = QLatin1String(NoTrackText);
        sendCluster(QLatin1String(NoTrackText));
    }

    // The position still holds the previous track's until the first tick.
    writeTimeText();
    lastTickPosition_ = -1;
    ProgresTimer.setInterval(ProgressIntervalMs);
    SpecTimer.setInterval(SpectrumIntervalMs);
    SwitchToNowPlayingTimer.setInterval(SwitchIntervalMs);
    rememberTrack(path);
    return started;
}

void MusicPlayer::showSampleRate(const QString& text)
{
    ViewGuard guard(*this);
    view_.sampleRateText = text;
}

void MusicPlayer::playListEntry(const QString& path)
{
    ViewGuard guard(*this);
    PlayMp3File(path);
    view_.randomStatus.clear();
}

void MusicPlayer::rememberTrack(const QString& path)
{
    settings_.lastMp3Played = path;
    if (!ini_.writeString(QStringLiteral("MP3Player"), QStringLiteral("LastMP3played"), path)) {
        const QString detail = ini_.errorDetail();
        log_.addError(detail.isEmpty() ? ini_.errorString() : ini_.errorString() + QStringLiteral(": ") + detail);
    }
}

void MusicPlayer::sendCluster(const QString& text)
{
    if (!sender_.SendInProgress())
        sender_.SendClusterText(text);
}

void MusicPlayer::ProgresTimerTimer()
{
    log_.timerTrace(QStringLiteral("MP3 ProgresTimer"));
    ViewGuard guard(*this);
    if (!randomMode_) {
        refreshPosition();
        if (view_.progressValue == trackLength_ - 1)
            advanceInListOrder();
        return;
    }
    // Random play goes on at the end of every track: when a random action set the slider
    // to the length, when the position reached the last whole second, or when the track
    // started again from its beginning between two ticks.
    bool due = view_.progressValue == trackLength_;
    if (!due) {
        const int last = lastTickPosition_;
        refreshPosition();
        due = trackPosition_ >= trackLength_ || (last >= 0 && trackPosition_ < last);
    }
    if (due) {
        randomDraw();
        refreshPosition();
    }
}

void MusicPlayer::randomDraw()
{
    ProgresTimer.stop();
    const int count = int(randomEntries_.size());
    const int n = count > 0 ? std::clamp(randomSource_ ? randomSource_(count) : int(QRandomGenerator::global()->bounded(count)), 0, count - 1) : 0;
    view_.randomStatus = QStringLiteral("Playing %1 of %2").arg(n).arg(count);
    if (count == 0) {
        // Nothing to draw from yet: the track loops and the tick (the time, the steering
        // wheel's skip) goes on.
        ProgresTimer.setInterval(ProgressIntervalMs);
        return;
    }
    const QString entry = randomEntries_.at(n);
    PlayMp3File(entry);
    list_.GoToPath(QFileInfo(entry).absolutePath());
}

void MusicPlayer::advanceInListOrder()
{
    const int i = list_.highlighted();
    if (!list_.setHighlighted(i + 1) || list_.highlighted() == i)
        list_.setHighlighted(0);
    playIfFile(list_.highlighted());
}

// Directory entries never play, whatever their names look like.
bool MusicPlayer::playIfFile(int index)
{
    if (index < 0 || index >= list_.count() || list_.isDirectory(index))
        return false;
    const QString path = list_.entryPath(index);
    if (QFileInfo(path).suffix().isEmpty())
        return false;
    view_.randomStatus.clear();
    return PlayMp3File(path);
}

void MusicPlayer::refreshPosition()
{
    const qint64 bytes = engine_.channelGetPosition(stream_);
    trackPosition_ = bytes < 0 ? 0 : int(std::trunc(engine_.channelBytes2Seconds(stream_, bytes)));
    lastTickPosition_ = trackPosition_;
    setProgressValue(trackPosition_);
    writeTimeText();
}

void MusicPlayer::writeTimeText()
{
    view_.timeText = timeText(trackPosition_) + QStringLiteral(" / ") + timeText(trackLength_);
}

void MusicPlayer::setProgressMax(int max)
{
    if (max < ProgressMinimum + ProgressIncrement)
        return;
    view_.progressMax = max;
    view_.progressValue = std::clamp(view_.progressValue, ProgressMinimum, max);
}

void MusicPlayer::setProgressValue(int value)
{
    view_.progressValue = std::clamp(value, ProgressMinimum, view_.progressMax);
}

void MusicPlayer::setPlaying(bool playing)
{
    view_.playMark = playing ? QStringLiteral(">") : QStringLiteral("||");
    view_.scrolling = playing;
}

void MusicPlayer::BMWpanel54Click()
{
    if (paused())
        resumeSteps();
    else
        pauseSteps();
}

void MusicPlayer::pauseSteps()
{
    ViewGuard guard(*this);
    engine_.channelPause(stream_);
    setPlaying(false);
    view_.pauseCaption = QLatin1String(ResumeCaption);
}

void MusicPlayer::resumeSteps()
{
    ViewGuard guard(*this);
    view_.pauseCaption = QLatin1String(PauseCaption);
    setPlaying(true);
    engine_.channelPlay(stream_, false);
}

void MusicPlayer::showPlaying()
{
    ViewGuard guard(*this);
    view_.pauseCaption = QLatin1String(PauseCaption);
    view_.seekEnabled = true;
    setPlaying(true);
}

void MusicPlayer::BMWpanel56Click()
{
    ViewGuard guard(*this);
    showPlaying();
    list_.highlightName(QFileInfo(currentTrack_).fileName());
    if (!ProgresTimer.isActive())
        return;
    const int i = list_.highlighted();
    if (i < 0)
        return;
    list_.setHighlighted(i == 0 ? list_.count() - 1 : i - 1);
    playIfFile(list_.highlighted());
    view_.randomStatus.clear();
}

void MusicPlayer::BMWpanel60Click()
{
    ViewGuard guard(*this);
    showPlaying();
    nextTrack();
}

void MusicPlayer::nextTrack()
{
    if (!ProgresTimer.isActive())
        return;
    ViewGuard guard(*this);
    list_.highlightName(QFileInfo(currentTrack_).fileName());
    const int count = list_.count();
    if (count == 0)
        return;
    // Folders are passed over; a file that does not start is passed over too.
    for (int attempt = 0; attempt < NextAttempts; ++attempt) {
        const int i = list_.highlighted();
        if (i >= count - 1 || !list_.setHighlighted(i + 1))
            list_.setHighlighted(0);
        if (playIfFile(list_.highlighted()))
            return;
    }
}

void MusicPlayer::previousTrack()
{
    if (!ProgresTimer.isActive())
        return;
    ViewGuard guard(*this);
    list_.highlightName(QFileInfo(currentTrack_).fileName());
    // From the first entry the step goes to the last one itself.
    const bool wrapped = list_.highlighted() == 0;
    if (wrapped)
        list_.setHighlighted(list_.count() - 1);
    const int n = list_.highlighted();
    for (int attempt = 0; attempt < n; ++attempt) {
        if (!(wrapped && attempt == 0) && !list_.setHighlighted(list_.highlighted() - 1))
            list_.setHighlighted(0);
        if (playIfFile(list_.highlighted()))
            return;
    }
}

void MusicPlayer::endTrack()
{
    if (!randomMode_)
        return;
    ViewGuard guard(*this);
    setProgressValue(trackLength_);
}

void MusicPlayer::BMWpanel58Click()
{
    ViewGuard guard(*this);
    showPlaying();
    if (randomMode_) {
        randomMode_ = false;
        view_.randomCaption = QStringLiteral("Random is OFF");
        view_.randomizeCaption = QStringLiteral(" n/a (4) ");
    } else {
        // The next tick draws a track.
        setProgressValue(trackLength_);
        randomMode_ = true;
        view_.randomCaption = QStringLiteral("Random is ON");
        view_.randomizeCaption = QStringLiteral(" Randomize (4) ");
    }
}

void MusicPlayer::BMWpanel59Click()
{
    ViewGuard guard(*this);
    showPlaying();
    if (randomMode_)
        setProgressValue(trackLength_);
}

void MusicPlayer::seekBy(int seconds)
{
    setPosition(float(trackPosition_ + seconds));
}

void MusicPlayer::ProgressStopTracking(int seconds)
{
    setPosition(float(seconds));
}

// The slider and the time follow at the next tick.
void MusicPlayer::setPosition(float seconds)
{
    engine_.channelSetPosition(stream_, engine_.channelSeconds2Bytes(stream_, seconds));
    const qint64 bytes = engine_.channelGetPosition(stream_);
    trackPosition_ = bytes < 0 ? 0 : int(std::trunc(engine_.channelBytes2Seconds(stream_, bytes)));
    // A jump back is no new start of the track.
    lastTickPosition_ = -1;
}

void MusicPlayer::BMWpanel62Click()
{
    engine_.streamFree(stream_);
    SwitchToNowPlayingTimer.stop();
    ProgresTimer.stop();
    SpecTimer.stop();
    emit stopped();
}

void MusicPlayer::BMWpanel53Click()
{
    SwitchToNowPlayingTimer.stop();
    emit backRequested();
}

void MusicPlayer::SwitchToNowPlayingTimerTimer()
{
    log_.timerTrace(QStringLiteral("SwitchToNowPlayingTimer"));
    SwitchToNowPlayingTimer.stop();
    emit switchToNowPlaying();
}

// Paused, stopped or ended: nothing is fetched and the last picture stays.
void MusicPlayer::SpecTimerTimer()
{
    if (log_.timerTraceEnabled())
        log_.AddStatusLine(QStringLiteral("spectrumtimerTimer"));
    if (engine_.channelIsActive(stream_) != AudioEngine::ActivePlaying)
        return;
    if (engine_.channelGetData(stream_, magnitudes_, AudioEngine::DataFft1024) != qint64(sizeof magnitudes_))
        return;
    emit spectrumFetched(magnitudes_, AudioEngine::FftBins);
}

void MusicPlayer::setRandomStatus(const QString& text)
{
    if (view_.randomStatus == text)
        return;
    view_.randomStatus = text;
    emit viewChanged();
}

} // namespace zarn
