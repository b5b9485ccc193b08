#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace zarn {

class VideoPlayer;

// The rear camera: the live picture of a V4L2 capture device, shown until it is closed.
// The device is the chosen one, or else the first of video0..video9 that opens; the
// format is the device's own unless one of the formats it offers is chosen.
//
// Contract:
// - Main thread only; the video player reports on the main thread.
// - shown(true) when the picture panel is to be shown, shown(false) when it goes.
// - statusText(text) is for the camera's status label `VideoLabel`.
// - message(text) is shown to the driver once: "No Driver: Error in capFileSetCaptureFile"
//   when no device opens.
// - A camera that disappears while shown ends in the player's error: the picture goes
//   and the label says why.
// - The player must outlive the camera.
class RearCamera : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxDevices = 10;
    static constexpr const char* NoDriver = "No Driver";

    RearCamera(VideoPlayer& player, QObject* parent = nullptr);

    // Where the device files are looked for ("/dev" unless set).
    void setDeviceDirectory(const QString& dir) { deviceDir_ = dir; }
    // The capture devices there, video0..video9 in order of their number.
    QStringList devices() const;
    // Empty: the first that opens.
    void setChosenDevice(const QString& path) { chosen_ = path; }
    // The pixel formats a device offers, as their four-character codes ("YUYV").
    static QStringList formats(const QString& devicePath);
    // Empty: the device's own.
    void setChosenFormat(const QString& fourcc) { format_ = fourcc; }

    VideoPlayer& player() { return player_; }
    bool isShown() const { return shown_; }
    QString driverName() const { return driverName_; }
    // The device in use, empty when none opened.
    QString device() const { return device_; }

    void BMWpanel123Click(); // show
    void close();

signals:
    void shown(bool visible);
    void statusText(const QString& text);
    void message(const QString& text);

private:
    static bool opens(const QString& path);
    static QString nameOf(const QString& devicePath);

    VideoPlayer& player_;
    QString deviceDir_ = QStringLiteral("/dev");
    QString chosen_;
    QString format_;
    QString driverName_ = QLatin1String(NoDriver);
    QString device_;
    bool shown_ = false;
};

} // namespace zarn
