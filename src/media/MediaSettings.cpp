#include "media/MediaSettings.h"

namespace zarn {

namespace {
using enum KeyType;
using enum LoadStep;
#define FIELD(member) ZARN_SETTINGS_FIELD(MediaSettings, member)

// clang-format off
const SettingsRow kKeys[] = {
    {Captions,         "MP3Player",  "LastMP3played",              String,      "n/a", false, FIELD(lastMp3Played)},
    {ScreenPosition,   "EQ",         "EQ1_Gain",                   Float,       "0",   false, FIELD(eqGain[0])},
    {ScreenPosition,   "EQ",         "EQ2_Gain",                   Float,       "0",   false, FIELD(eqGain[1])},
    {ScreenPosition,   "EQ",         "EQ3_Gain",                   Float,       "0",   false, FIELD(eqGain[2])},
    {ScreenPosition,   "EQ",         "EQ4_Gain",                   Float,       "0",   false, FIELD(eqGain[3])},
    {ScreenPosition,   "EQ",         "EQ5_Gain",                   Float,       "0",   false, FIELD(eqGain[4])},
    {ScreenPosition,   "EQ",         "EQ6_Gain",                   Float,       "0",   false, FIELD(eqGain[5])},
    {Randomizer,       "Randomizer", "startwithrandom",            Boolean,     "0",   true,  FIELD(startWithRandom)},
    {ShutdownSettings, "Special",    "autoreplay_after_restart",   Boolean,     "0",   true,  FIELD(autoReplayAfterRestart)},
    {ShutdownSettings, "Special",    "disablemp3filenamedisplay",  Boolean,     "0",   true,  FIELD(disableMp3FileNameDisplay)},
    {Bitmaps,          "Grafix",     "MP3PlayingBackgroundBitmap", ShortString, "",    true,  FIELD(mp3PlayingBackgroundBitmap)},
    {Pathes,           "Pathes",     "mp3",                        ShortString, "",    true,  FIELD(mp3)},
    {Pathes,           "Pathes",     "movies",                     ShortString, "",    true,  FIELD(movies)},
    // Written for the old program's sake; nothing reads it.
    {WriteOnly,        "Speech",     "Global_speech_engine",       String,      "",    true,  ZARN_SETTINGS_TEXT(MediaSettings, QString())},
};
// clang-format on
#undef FIELD
} // namespace

MediaSettings::MediaSettings()
{
    applyDefaults(keys(), this);
}

std::span<const SettingsRow> MediaSettings::keys()
{
    return kKeys;
}

} // namespace zarn
