#pragma once

#include "media/ByteSource.h"
#include "media/TrackTags.h"

#include <QByteArrayView>
#include <QString>

namespace zarn {

// Limits that keep a hostile file from costing more than a real tag would.
namespace id3 {
inline constexpr qint64 MaxInflatedFrame = 16 * 1024 * 1024; // a compressed frame's content
inline constexpr qint64 MaxUnsyncedTag = 16 * 1024 * 1024;   // a tag read whole to be resynchronised
inline constexpr int MaxFrames = 4096;
} // namespace id3

// Reads the ID3v2 tag at the start of the source (major version up to 4), or else the
// ID3v1 record in its last 128 bytes, into the five tag lines. A tag or frame that
// claims more than there is, a frame that inflates beyond its bound, or a frame chain
// that is empty or too long ends the reading there: the lines read so far stay and
// `problem` (when given) says what stopped it; it stays empty when nothing did.
TrackTags readId3Tags(ByteSource& source, QString* problem = nullptr);
TrackTags readId3Tags(QByteArrayView bytes, QString* problem = nullptr);

// The text of a text frame's content: its first byte names the encoding (0 Latin-1,
// 1 UTF-16 with byte order mark, 2 UTF-16BE, 3 UTF-8); the text ends at the first
// terminator and is trimmed of blanks.
QString id3FrameText(QByteArrayView content);

} // namespace zarn
