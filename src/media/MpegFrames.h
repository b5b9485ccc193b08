#pragma once

#include "media/ByteSource.h"

#include <QByteArrayView>

#include <optional>

namespace zarn {

// One MPEG audio frame header (MPEG 1, 2 and 2.5, layers I to III).
struct MpegHeader {
    enum Version { Mpeg1, Mpeg2, Mpeg25 };
    Version version = Mpeg1;
    int layer = 0;       // 1..3
    int bitrate = 0;     // kbit/s
    int sampleRate = 0;  // Hz
    bool mono = false;
    int frameLength = 0; // bytes, header and padding included

    // The offset of a Xing header from the frame start: after the side information.
    int xingOffset() const;
};

// nullopt unless the four bytes are a frame sync with a valid version, layer, bit-rate
// index (free format has no length to check, so it does not count) and sample rate.
std::optional<MpegHeader> parseMpegHeader(const uchar* bytes);

namespace mpeg {
inline constexpr qint64 ScanBound = 4 * 1024 * 1024; // bytes scanned past the ID3v2 tag
} // namespace mpeg

// The bit rate of the first frame whose header is followed one frame length later by
// another header of the same stream: kbit/s, -1 when that frame carries a Xing header,
// 0 when no such pair starts within the scan bound. A leading ID3v2 tag is skipped by
// its size. nullopt when the source fails to deliver its bytes.
std::optional<int> scanMpegBitrate(ByteSource& source);
std::optional<int> scanMpegBitrate(QByteArrayView bytes);

} // namespace zarn
