#pragma once

#include "core/Timer.h"
#include "media/MusicListModel.h"

#include <QObject>
#include <QString>

#include <functional>

namespace zarn {

class StatusLog;
class VideoPlayer;
class WavePlayer;

// What the movie page and the full-window movie show.
struct MovieView {
    bool indicator = false; // the header's "Movie" indicator
    bool overlay = false;   // MovieOptionsPanel
    bool onstage = false;   // Movie_progress_onstage
    QString progress = QStringLiteral(" 000:00..000:00"); // Label28
    QString onstageText = QStringLiteral(" 000:00..000:00");
    QString pauseCaption = QStringLiteral("Pause"); // BMWpanel49
    bool operator==(const MovieView&) const = default;
};

// The movie player: the list of movie files below the movie root, one movie at a time
// in the video player over the whole window, with its options overlay, the on-screen
// progress, seek, pause, zoom and stop. The music's audio output is released before a
// movie opens and opened again after it ends, so the two never hold the sound device
// together.
//
// Contract:
// - Main thread only: every member is called there and every signal is emitted there;
//   the video player reports on the main thread too.
// - viewChanged() follows every change of view().
// - pagesVisible(false) asks for the header and the page control to be hidden (the
//   movie fills the window), pagesVisible(true) for them back.
// - overlayOpened(): the overlay shows, its item BMWpanel88 takes the focus.
//   overlayHidden(): the zoom and luminance items leave their adjust mode.
// - videoError(text): the error line `Videoerror` shows the text.
// - pointerAway(): the movie has opened, the mouse pointer goes to the screen's corner
//   unless the pages are shown over the movie.
// - While messages are on, "Movie paused" and "Movie resumed" follow the player.
// - The audio hooks, the wave player and the log are optional; the video player, the
//   log and the wave player must outlive the controller.
class MovieController : public QObject {
    Q_OBJECT
public:
    static constexpr int OverlayHideMs = 15000;
    static constexpr int OnstageHideMs = 8000;
    static constexpr int SteeringFraction = 200; // the steering wheel's seek
    static constexpr int KnobFraction = 400;     // the knob's seek with the overlay hidden
    static constexpr const char* NotRenderedWave = "movienotrendered.wav";

    MovieController(VideoPlayer& player, TimerScheduler& timers, const QString& appDir, QObject* parent = nullptr);

    // release: free the music stream, stop its timers, close the audio output;
    // reopen: InitAudioOutput.
    void setAudioOutput(std::function<void()> release, std::function<void()> reopen);
    void setWavePlayer(WavePlayer* wave) { wave_ = wave; }
    void setStatusLog(StatusLog* log) { log_ = log; }

    const MovieView& view() const { return view_; }
    bool MovieMode() const { return movieMode_; }
    bool MoviePaused() const { return moviePaused_; }
    bool audioReleased() const { return audioReleased_; }
    const QString& durationText() const { return durationText_; }
    VideoPlayer& player() { return player_; }

    // The movie list (FileListBox2) and its root ("Movie file path").
    MusicListModel& list() { return list_; }
    void setMovieRoot(const QString& root);
    const QString& movieRoot() const { return root_; }
    void FileListBox2Click();
    void FileListBox2Enter();
    void BMWpanel14Click(); // up, not above the movie root

    // Starts a movie; false when the extension is not one that plays (nothing happens).
    bool PlayMovieFile(const QString& path);
    static bool playableExtension(const QString& path);

    // Moves by direction * duration / k within 0 and the duration, only while open.
    void seekFraction(int direction, int k);
    // The steering wheel (k 200) and the knob (k 400): seek, then the on-screen progress
    // shows for 8000 ms.
    void skipMovie(int direction);
    void knobSeek(int direction);

    void openOverlay();
    void BMWpanel48Click(); // zoom: the overlay stays
    void BMWpanel49Click(); // pause / resume
    void BMWpanel50Click(); // the pages over the running movie
    void BMWpanel51Click(); // luminance: the overlay stays
    void BMWpanel52Click(); // stop
    void BMWpanel88Click(); // hide the overlay
    void restartOverlayTimer();
    // The bus's pause rows.
    void HoldMovie();
    // The zoom item's knob steps; a zoom of 0 or less is not taken.
    void setZoom(int percent);

    Timer MovieOptionsPanelDisappearTimer;
    Timer Movie_progress_onstage_timer;

signals:
    void viewChanged();
    void pagesVisible(bool visible);
    void overlayOpened();
    void overlayHidden();
    void videoError(const QString& text);
    void pointerAway();

private:
    void openFailed();
    void reopenAudio();
    void hideOverlay();
    void showOnstage();
    void ActiveMovie1OpenStateChange(int oldState, int newState);
    void ActiveMovie1PositionChange(double oldPosition, double newPosition);
    void ActiveMovie1Error(int code, const QString& message);
    void ActiveMovie1KeyDown();
    void setView(const MovieView& view);

    VideoPlayer& player_;
    WavePlayer* wave_ = nullptr;
    StatusLog* log_ = nullptr;
    std::function<void()> releaseAudio_;
    std::function<void()> reopenAudio_;
    QString appDir_;
    QString root_;
    MusicListModel list_;
    MovieView view_;
    QString durationText_;
    bool movieMode_ = false;
    bool moviePaused_ = false;
    bool audioReleased_ = false;
};

} // namespace zarn
