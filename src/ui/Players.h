#pragma once

#include <QString>

namespace zarn {

// The music and movie players as the pages and the steering wheel see them: the one place
// that says whether a track plays or a movie runs. The players implement it when they
// arrive; the defaults say nothing plays and do nothing. Main thread only.
class Players {
public:
    virtual ~Players() = default;

    // The music progress timer runs.
    virtual bool trackPlaying() const { return false; }
    // A movie is open in the player.
    virtual bool movieRunning() const { return false; }
    // Random play is on.
    virtual bool randomMode() const { return false; }
    // The file name (without folders) of the playing track; empty while none plays.
    virtual QString playingFileName() const { return {}; }

    // Moves the open movie by direction * 1/200 of its length within its bounds, shows
    // Movie_progress_onstage and starts its timer with 8000 ms.
    virtual void skipMovie(int direction) {}
    // Plays the next file entry of the music list after the playing one (wrapping, at
    // most 50 attempts).
    virtual void nextTrack() {}
    // Plays the previous file entry (the first entry steps to the last).
    virtual void previousTrack() {}
    // Random play: ends the current track so the next random one follows.
    virtual void endTrack() {}
    // Moves the playing track by whole seconds (the long presses: +-3).
    virtual void seekTrack(int seconds) {}
    // Full-screen movie: restarts the movie options' hiding timer with 15000 ms.
    virtual void restartMovieOptionsTimer() {}
    // Shows the movie at a custom size of this zoom in percent.
    virtual void setMovieZoom(int percent) {}
};

} // namespace zarn
