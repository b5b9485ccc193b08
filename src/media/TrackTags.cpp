#include "media/TrackTags.h"

#include "media/ByteSource.h"
#include "media/Id3Reader.h"
#include "media/MpegFrames.h"

namespace zarn {

std::optional<TrackTags> readTrackTags(const QString& path, QString* problem)
{
    if (problem)
        problem->clear();
    FileSource file(path);
    if (!file.open())
        return std::nullopt;
    return readId3Tags(file, problem);
}

std::optional<int> mpegBitrate(const QString& path)
{
    FileSource file(path);
    if (!file.open())
        return std::nullopt;
    return scanMpegBitrate(file);
}

QString GetBitrateText(const QString& path)
{
    const std::optional<int> rate = mpegBitrate(path);
    if (!rate)
        return {};
    return *rate < 0 ? QStringLiteral("VBR") : QString::number(*rate);
}

} // namespace zarn
