// Arbitrary bytes as a whole file through the ID3v2 and ID3v1 tag reader: frame walks,
// unsynchronisation, inflating and text decoding.
#include "media/Id3Reader.h"

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString problem;
    const zarn::TrackTags tags = zarn::readId3Tags(bytes, &problem);
    // The reader is a pure function of the bytes.
    QString again;
    if (!(zarn::readId3Tags(bytes, &again) == tags) || again != problem)
        std::abort();
    zarn::id3FrameText(bytes);
    return 0;
}
