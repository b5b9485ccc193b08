#pragma once

namespace zarn {

// The pages of the main page control by number; every part that switches pages uses them.
enum PageIndex {
    PageMain = 0,
    PageOptions = 1,
    PageWeb = 2,
    PageMovies = 3,
    PageMusic = 4,
    PageNowPlaying = 5,
    PageMailHeaders = 6,
    PageMail = 7,
    PageAlternateMenu = 8,
    PageScale = 9,
    PageDriversLog = 10,
    PageSystem = 11,
    PageIbus = 12,
    PageRadar = 13,
    PageSoundFx = 14,
    PageQuestion = 15,
    PageCount = 16
};

} // namespace zarn
