#pragma once

namespace zarn {

// What the steering-wheel buttons and their long presses need from the music and movie
// players. The defaults say nothing plays and do nothing. Main thread only.
class PlayerHooks {
public:
    virtual ~PlayerHooks() = default;

    // A movie is running (it takes the track-skip buttons).
    virtual bool movieRunning() const { return false; }
    // The music progress timer runs.
    virtual bool trackPlaying() const { return false; }
    // Random play is on.
    virtual bool randomMode() const { return false; }

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
};

} // namespace zarn
