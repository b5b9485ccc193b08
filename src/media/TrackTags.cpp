#include "media/TrackTags.h"

namespace zarn {

// Placeholder until the readers arrive: nothing is read.
std::optional<TrackTags> readTrackTags(const QString&, QString*)
{
    return TrackTags{};
}

std::optional<int> mpegBitrate(const QString&)
{
    return 0;
}

QString GetBitrateText(const QString& path)
{
    const std::optional<int> rate = mpegBitrate(path);
    if (!rate)
        return {};
    return *rate < 0 ? QStringLiteral("VBR") : QString::number(*rate);
}

} // namespace zarn
