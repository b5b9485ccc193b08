#pragma once

#include <QString>

namespace zarn {

// What the now-playing page shows, as the music player keeps it: one value per control
// (named on each member). The page draws it and owns nothing of it. Plain data; the
// player's viewChanged() signal follows every change.
struct NowPlayingView {
    enum class Format { None, Mp3, Wma, Ogg };

    QString coverPath;                          // PlayMP3Image; empty: the default cover
    QString playMark = QStringLiteral(">");     // paused_label: ">" or "||"
    QString timeText = QStringLiteral("00:00 / 00:00"); // TimeOfPiece
    QString bitrateText;                        // Panel64
    QString sampleRateText;                     // Panel67
    Format format = Format::None;               // playbmp
    int progressMax = 100;                      // Progress (minimum 0)
    int progressValue = 0;
    QString scrollerText;                       // MP3_scroller
    bool scrolling = false;
    QString title, artist, album, year, genre;  // edTitle, edArtist, edAlbum, edYear, edGenre
    QString pauseCaption = QStringLiteral("(1) Pause");       // BMWpanel54
    bool seekEnabled = true;                                  // BMWpanel57, BMWpanel61
    QString randomizeCaption = QStringLiteral(" n/a (4) ");   // BMWpanel59
    QString randomCaption = QStringLiteral("Random is OFF");  // BMWpanel58
    QString randomStatus;                                     // BMWpanel72

    bool operator==(const NowPlayingView&) const = default;
};

} // namespace zarn
