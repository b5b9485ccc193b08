#pragma once

#include "media/MusicPlayer.h"
#include "ui/Players.h"

#include <QFileInfo>

namespace zarn {

// The players as the pages and the steering wheel see them: the music player behind
// the music parts; the movie parts stay the defaults until the movie player arrives.
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

private:
    MusicPlayer& music_;
};

} // namespace zarn
