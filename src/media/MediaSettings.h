#pragma once

#include "core/SettingsRow.h"

#include <QString>

#include <array>

namespace zarn {

// The music and movie players' share of Zarn.ini. A default-constructed value holds
// the defaults of its rows. Main thread only.
struct MediaSettings {
    MediaSettings();
    static std::span<const SettingsRow> keys();

    QString lastMp3Played;          // written on its own when a file starts playing
    std::array<double, 6> eqGain{}; // EQ1_Gain .. EQ6_Gain, written on their own
    bool startWithRandom = false;
    bool autoReplayAfterRestart = false;
    bool disableMp3FileNameDisplay = false;
    QString mp3PlayingBackgroundBitmap; // the now-playing page's default picture
    QString mp3, movies;                // the roots of the music browser and the movie list

    bool operator==(const MediaSettings&) const = default;
};

} // namespace zarn
