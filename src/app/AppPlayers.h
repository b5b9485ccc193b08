#pragma once

#include "media/MovieController.h"
#include "media/MusicPlayer.h"
#include "ui/Players.h"

#include <QFileInfo>

namespace zarn {

// The players as the pages and the steering wheel see them: the music player behind
// the music parts, the movie controller (once set) behind the movie parts.
// Main thread only.
class AppPlayers final : public Players {
public:
    explicit AppPlayers(MusicPlayer& music) : music_(music) {}

    bool trackPlaying() const override { return music_.trackPlaying(); }
    bool randomMode() const override { return music_.RandomMode(); }
    QString playingFileName() const override
    {
        return music_.trackPlaying() ? QFileInfo(music_.CurrentTrack()).fileName() : QString();
    }
    void nextTrack() override { music_.nextTrack(); }
    void previousTrack() override { music_.previousTrack(); }
    void endTrack() override { music_.endTrack(); }
    void seekTrack(int seconds) override { music_.seekBy(seconds); }

    // Not owned; null leaves the movie parts doing nothing.
    void setMovie(MovieController* movie) { movie_ = movie; }
    bool movieRunning() const override { return movie_ && movie_->MovieMode(); }
    void skipMovie(int direction) override
    {
        if (movie_)
            movie_->skipMovie(direction);
    }
    void restartMovieOptionsTimer() override
    {
        if (movie_)
            movie_->restartOverlayTimer();
    }
    void setMovieZoom(int percent) override
    {
        if (movie_)
            movie_->setZoom(percent);
    }

private:
    MusicPlayer& music_;
    MovieController* movie_ = nullptr;
};

} // namespace zarn
