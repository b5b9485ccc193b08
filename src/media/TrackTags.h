#pragma once

#include <QString>

#include <optional>

namespace zarn {

// The five tag lines of the now-playing page.
struct TrackTags {
    QString title, artist, album, year, genre;
    bool operator==(const TrackTags&) const = default;
};

// Reads the ID3v2 tag at the start of the file, or else the ID3v1 record at its end.
// The file is opened read-only and never changed. Frames that the tag does not hold
// give empty lines; a file without either tag gives five empty lines. nullopt when the
// file cannot be opened (the page then keeps the previous track's lines). A tag that
// claims more than the file holds, a frame that inflates beyond a sane bound or an
// endless chain of frames ends the reading at that point: what was read stays and
// `problem` (when given) says what stopped it. Any thread; no shared state.
std::optional<TrackTags> readTrackTags(const QString& path, QString* problem = nullptr);

// The bit rate of the first pair of MPEG audio frames in kbit/s, -1 for a variable
// bit rate (a Xing header in the first frame), 0 when no frame pair was found;
// nullopt when the file cannot be read. Reads in blocks and stops at a bound, so a
// large file or a long tag never makes the caller wait long. Any thread.
std::optional<int> mpegBitrate(const QString& path);

// The bit-rate text of the now-playing page: "VBR", the number (for example "192"),
// "0" without a frame pair, empty when the file cannot be read.
QString GetBitrateText(const QString& path);

} // namespace zarn
