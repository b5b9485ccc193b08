#include "media/RearCamera.h"

#include "media/VideoPlayer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace zarn {

RearCamera::RearCamera(VideoPlayer& player, QObject* parent)
    : QObject(parent)
    , player_(player)
{
    connect(&player_, &VideoPlayer::error, this, [this](int, const QString& text) {
        if (!shown_)
            return;
        emit statusText(driverName_ + QStringLiteral(": ") + text);
        device_.clear();
    });
}

QStringList RearCamera::devices() const
{
    QStringList out;
    const QDir dir(deviceDir_);
    for (int n = 0; n < MaxDevices; ++n) {
        const QString path = dir.filePath(QStringLiteral("video%1").arg(n));
        if (QFileInfo::exists(path))
            out << path;
    }
    return out;
}

// A capture device that opens for reading; a file that is no device does not count.
bool RearCamera::opens(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    v4l2_capability cap{};
    const bool capture = ::ioctl(fd, VIDIOC_QUERYCAP, &cap) == 0;
    ::close(fd);
    return capture;
}

QString RearCamera::nameOf(const QString& devicePath)
{
    const int fd = ::open(QFile::encodeName(devicePath).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    v4l2_capability cap{};
    QString name;
    if (::ioctl(fd, VIDIOC_QUERYCAP, &cap) == 0)
        name = QString::fromUtf8(reinterpret_cast<const char*>(cap.card),
                                 qstrnlen(reinterpret_cast<const char*>(cap.card), sizeof cap.card));
    ::close(fd);
    return name.left(80);
}

QStringList RearCamera::formats(const QString& devicePath)
{
    QStringList out;
    const int fd = ::open(QFile::encodeName(devicePath).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return out;
    for (quint32 i = 0; i < 64; ++i) {
        v4l2_fmtdesc d{};
        d.index = i;
        d.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (::ioctl(fd, VIDIOC_ENUM_FMT, &d) != 0)
            break;
        const quint32 f = d.pixelformat;
        const char code[4] = {char(f & 0xFF), char((f >> 8) & 0xFF), char((f >> 16) & 0xFF), char(f >> 24)};
        out << QString::fromLatin1(code, 4);
    }
    ::close(fd);
    return out;
}

void RearCamera::BMWpanel123Click()
{
    shown_ = true;
    emit shown(true);
    device_.clear();
    QStringList candidates = devices();
    if (!chosen_.isEmpty())
        candidates.prepend(chosen_);
    for (const QString& path : candidates)
        if (opens(path)) {
            device_ = path;
            break;
        }
    if (device_.isEmpty()) {
        driverName_ = QLatin1String(NoDriver);
        emit message(driverName_ + QStringLiteral(": Error in capFileSetCaptureFile"));
        return;
    }
    if (const QString name = nameOf(device_); !name.isEmpty())
        driverName_ = name;
    emit statusText(driverName_);
    // The formats the device lists by their codes, as FFmpeg's capture reader names them.
    static const QHash<QString, QString> ffmpegNames = {{"YUYV", "yuyv422"}, {"MJPG", "mjpeg"}, {"UYVY", "uyvy422"},
                                                       {"YU12", "yuv420p"}, {"NV12", "nv12"}, {"RGB3", "rgb24"},
                                                       {"BGR3", "bgr24"}, {"GREY", "gray"}, {"H264", "h264"}};
    if (const QString name = ffmpegNames.value(format_); !name.isEmpty())
        player_.setNextOpenOptions(QStringLiteral("demuxer-lavf-o=input_format=") + name);
    player_.open(QStringLiteral("av://v4l2:") + device_);
}

void RearCamera::close()
{
    if (!shown_)
        return;
    shown_ = false;
    player_.stop();
    device_.clear();
    emit shown(false);
}

} // namespace zarn
