#include "media/MovieController.h"

#include "core/StatusLog.h"
#include "media/VideoPlayer.h"
#include "media/WavePlayer.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace zarn {

namespace {

// Minutes and seconds, each at least two digits ("92:07", "100:00").
QString minutesSeconds(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0)
        seconds = 0;
    const qint64 m = qint64(std::trunc(seconds / 60));
    const qint64 s = qint64(std::trunc(seconds - 60.0 * double(m)));
    return QStringLiteral("%1:%2").arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
}

} // namespace

MovieController::MovieController(VideoPlayer& player, TimerScheduler& timers, const QString& appDir, QObject* parent)
    : QObject(parent)
    , MovieOptionsPanelDisappearTimer(timers, QStringLiteral("MovieOptionsPanelDisappearTimer"), this)
    , Movie_progress_onstage_timer(timers, QStringLiteral("Movie_progress_onstage_timer"), this)
    , player_(player)
    , appDir_(appDir)
{
    list_.setMask(QLatin1String(MusicListModel::MovieMask));
    connect(&MovieOptionsPanelDisappearTimer, &Timer::timeout, this, [this] {
        if (log_)
            log_->timerTrace(MovieOptionsPanelDisappearTimer.name());
        hideOverlay();
    });
    connect(&Movie_progress_onstage_timer, &Timer::timeout, this, [this] {
        if (log_)
            log_->timerTrace(Movie_progress_onstage_timer.name());
        MovieView v = view_;
        v.onstage = false;
        setView(v);
        Movie_progress_onstage_timer.stop();
    });
    connect(&player_, &VideoPlayer::openStateChanged, this, &MovieController::ActiveMovie1OpenStateChange);
    connect(&player_, &VideoPlayer::positionChanged, this, &MovieController::ActiveMovie1PositionChange);
    connect(&player_, &VideoPlayer::error, this, &MovieController::ActiveMovie1Error);
    connect(&player_, &VideoPlayer::keyDown, this, &MovieController::ActiveMovie1KeyDown);
    connect(&player_, &VideoPlayer::openComplete, this, &MovieController::pointerAway);
    // A movie that has played to its end gives the pages and the sound back, as a stop.
    connect(&player_, &VideoPlayer::endReached, this, [this] {
        if (movieMode_)
            BMWpanel52Click();
    });
}

void MovieController::setAudioOutput(std::function<void()> release, std::function<void()> reopen)
{
    releaseAudio_ = std::move(release);
    reopenAudio_ = std::move(reopen);
}

void MovieController::setView(const MovieView& view)
{
    if (view == view_)
        return;
    view_ = view;
    emit viewChanged();
}

void MovieController::setMovieRoot(const QString& root)
{
    root_ = root;
    if (!root.isEmpty() && QFileInfo(root).isDir())
        list_.setDirectory(root);
}

void MovieController::FileListBox2Click()
{
    const int index = list_.highlighted();
    if (index < 0)
        return;
    if (list_.isDirectory(index)) {
        const QString target = list_.resolvedPath(list_.entryPath(index));
        if (target != list_.directory())
            list_.GoToPath(target);
        list_.setHighlighted(0);
        return;
    }
    PlayMovieFile(list_.entryPath(index));
}

void MovieController::FileListBox2Enter()
{
    if (list_.highlighted() < 0 && list_.count() > 0)
        list_.setHighlighted(0);
}

void MovieController::BMWpanel14Click()
{
    // The root compares in its resolved form, so "/movies/" stops the climb at "/movies".
    const QString dir = list_.directory();
    if (root_.isEmpty() || dir != list_.resolvedPath(root_))
        list_.GoToPath(list_.resolvedPath(dir + QStringLiteral("/..")));
    list_.setHighlighted(0);
}

bool MovieController::playableExtension(const QString& path)
{
    // Windows Media files are listed but do not start.
    static const QStringList playable = {".MPG", ".AVI", ".VOB", ".DAT", ".MPEG"};
    const QString name = QFileInfo(path).fileName().toUpper();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && playable.contains(name.mid(dot));
}

bool MovieController::PlayMovieFile(const QString& path)
{
    if (!playableExtension(path))
        return false;
    if (!audioReleased_) {
        if (releaseAudio_)
            releaseAudio_();
        audioReleased_ = true;
    }
    emit pagesVisible(false);
    movieMode_ = true;

    if (player_.openState() != VideoPlayer::Closed)
        player_.stop();
    MovieView v = view_;
    v.indicator = false;
    v.progress = v.onstageText = QStringLiteral(" loading...");
    // A pause held by the radio before this movie does not carry over to it.
    if (moviePaused_) {
        moviePaused_ = false;
        v.pauseCaption = QStringLiteral("Pause...");
    }
    setView(v);
    player_.open(path);
    if (player_.openState() == VideoPlayer::Closed) {
        openFailed();
        return true;
    }
    v.indicator = true;
    setView(v);
    return true;
}

// The movie could not be opened: the pages and the sound come back, the cue plays.
void MovieController::openFailed()
{
    movieMode_ = false;
    moviePaused_ = false;
    MovieView v = view_;
    v.indicator = false;
    setView(v);
    emit pagesVisible(true);
    reopenAudio();
    const QString wave = QDir(appDir_).filePath(QLatin1String(NotRenderedWave));
    if (wave_ && QFileInfo(wave).isFile())
        wave_->play(wave);
}

void MovieController::reopenAudio()
{
    if (!audioReleased_)
        return;
    audioReleased_ = false;
    if (reopenAudio_)
        reopenAudio_();
}

void MovieController::ActiveMovie1OpenStateChange(int oldState, int newState)
{
    if (newState == VideoPlayer::Open)
        durationText_ = minutesSeconds(player_.duration());
}

void MovieController::ActiveMovie1PositionChange(double oldPosition, double newPosition)
{
    const QString text = QLatin1Char(' ') + minutesSeconds(newPosition) + QStringLiteral("..") + durationText_;
    if (text == view_.progress)
        return;
    MovieView v = view_;
    v.progress = v.onstageText = text;
    setView(v);
}

void MovieController::ActiveMovie1Error(int code, const QString& message)
{
    if (!movieMode_)
        return; // a report of a movie already given up
    if (player_.openState() != VideoPlayer::Open) {
        openFailed();
        return;
    }
    emit videoError(QLatin1Char(' ') + message);
    BMWpanel52Click();
}

void MovieController::ActiveMovie1KeyDown()
{
    if (movieMode_)
        openOverlay();
}

void MovieController::seekFraction(int direction, int k)
{
    if (player_.openState() != VideoPlayer::Open || k <= 0)
        return;
    const double duration = player_.duration();
    double target = player_.position() + direction * duration / k;
    if (direction > 0 && target >= duration)
        target = duration;
    else if (direction < 0 && target <= 0)
        target = 0;
    player_.setPosition(target);
}

void MovieController::showOnstage()
{
    MovieView v = view_;
    v.onstage = true;
    setView(v);
    Movie_progress_onstage_timer.restart(OnstageHideMs);
}

void MovieController::skipMovie(int direction)
{
    seekFraction(direction, SteeringFraction);
    showOnstage();
}

void MovieController::knobSeek(int direction)
{
    seekFraction(direction, KnobFraction);
    showOnstage();
}

void MovieController::restartOverlayTimer()
{
    MovieOptionsPanelDisappearTimer.restart(OverlayHideMs);
}

void MovieController::openOverlay()
{
    MovieView v = view_;
    v.overlay = true;
    setView(v);
    emit overlayOpened();
    MovieOptionsPanelDisappearTimer.setInterval(OverlayHideMs);
}

void MovieController::hideOverlay()
{
    MovieView v = view_;
    v.overlay = false;
    setView(v);
    MovieOptionsPanelDisappearTimer.stop();
    emit overlayHidden();
}

void MovieController::BMWpanel48Click()
{
    restartOverlayTimer();
}

void MovieController::BMWpanel51Click()
{
    restartOverlayTimer();
}

void MovieController::BMWpanel49Click()
{
    restartOverlayTimer();
    MovieView v = view_;
    if (moviePaused_) {
        if (player_.play() && log_)
            log_->addMessage(QStringLiteral("Movie resumed"));
        moviePaused_ = false;
        v.pauseCaption = QStringLiteral("Pause...");
        v.onstageText = QStringLiteral(" ");
    } else {
        if (player_.pause() && log_)
            log_->addMessage(QStringLiteral("Movie paused"));
        moviePaused_ = true;
        v.pauseCaption = QStringLiteral("Resume...");
        v.onstageText = QStringLiteral("Pause");
    }
    setView(v);
}

void MovieController::HoldMovie()
{
    if (moviePaused_)
        return;
    if (player_.playState() == VideoPlayer::Playing && player_.pause() && log_)
        log_->addMessage(QStringLiteral("Movie paused"));
    moviePaused_ = true;
    MovieView v = view_;
    v.pauseCaption = QStringLiteral("Resume...");
    setView(v);
}

void MovieController::BMWpanel50Click()
{
    emit pagesVisible(true);
    hideOverlay();
}

void MovieController::BMWpanel88Click()
{
    hideOverlay();
}

void MovieController::BMWpanel52Click()
{
    restartOverlayTimer();
    const bool stopped = player_.stop() || player_.openState() == VideoPlayer::Closed;
    MovieView v = view_;
    // A stop that fails leaves the indicator up.
    if (stopped)
        v.indicator = false;
    setView(v);
    movieMode_ = false;
    emit pagesVisible(true);
    hideOverlay();
    reopenAudio();
}

void MovieController::setZoom(int percent)
{
    if (percent > 0)
        player_.setZoom(percent);
}

} // namespace zarn
