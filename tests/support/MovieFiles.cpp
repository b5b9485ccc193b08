#include "MovieFiles.h"

#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace zarn::test {

bool makeMovie(const QString& path, int seconds, const QString& size)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    QStringList codecs;
    if (ext == QLatin1String("avi"))
        codecs = {"-c:v", "mpeg4", "-c:a", "mp2", "-f", "avi"};
    else if (ext == QLatin1String("vob"))
        codecs = {"-c:v", "mpeg2video", "-c:a", "ac3", "-f", "vob"};
    else if (ext == QLatin1String("wmv"))
        codecs = {"-c:v", "wmv2", "-c:a", "wmav2", "-f", "asf"};
    else if (ext == QLatin1String("dat"))
        codecs = {"-c:v", "mpeg1video", "-c:a", "mp2", "-f", "mpeg"};
    else
        codecs = {"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "mpeg"};
    const QString d = QString::number(seconds);
    QStringList args = {"-nostdin", "-v", "error", "-y",
                        "-f", "lavfi", "-i", "testsrc=size=" + size + ":rate=25:duration=" + d,
                        "-f", "lavfi", "-i", "sine=f=440:r=44100:duration=" + d,
                        "-shortest", "-b:v", "1M"};
    args << codecs << path;
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace zarn::test
