// Arbitrary bytes as a whole file through the MPEG audio frame scanner: the tag skip,
// the block reads and the header pair check.
#include "media/MpegFrames.h"

#include <QByteArrayView>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>

namespace {
// Every bit rate some version and layer can give, in kbit/s.
constexpr int Known[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192,
                         224, 256, 288, 320, 352, 384, 416, 448};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<int> rate = zarn::scanMpegBitrate(bytes);
    // A buffer always delivers its bytes, so there is always an answer, and it is one
    // of the table's bit rates, 0 or -1.
    if (!rate || (*rate > 0 && std::find(std::begin(Known), std::end(Known), *rate) == std::end(Known)) || *rate < -1)
        std::abort();
    for (size_t at = 0; at + 4 <= std::min<size_t>(size, 64); ++at) {
        const std::optional<zarn::MpegHeader> h = zarn::parseMpegHeader(data + at);
        if (h && (h->frameLength < 21 || h->frameLength > 2881))
            std::abort();
    }
    return 0;
}
