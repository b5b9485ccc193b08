#pragma once

#include <QString>

namespace zarn {

// The platform's wave-sound player: short cue files (the camera warning, the test
// sound, "movienotrendered.wav") played beside the music, not through its stream.
//
// Contract (main thread only):
//  - play() returns at once; the file plays on the player's own output. A file that is
//    missing or not a wave file plays nothing and returns false (callers check
//    existence first where a status line is due).
//  - A new play() replaces a cue still playing.
//  - The player never holds the sound device while nothing plays, so a movie can take
//    it.
class WavePlayer {
public:
    virtual ~WavePlayer() = default;
    virtual bool play(const QString& path) = 0;
    virtual void stop() = 0;
};

} // namespace zarn
