#pragma once

#include <QString>

namespace zarn::test {

// Writes a movie with a test picture and a tone, made by the ffmpeg tool; the container
// and codecs follow the extension (.mpg/.mpeg/.dat MPEG program stream, .vob DVD, .avi
// MPEG-4, .wmv ASF). False when ffmpeg failed.
bool makeMovie(const QString& path, int seconds, const QString& size = QStringLiteral("320x240"));

} // namespace zarn::test
