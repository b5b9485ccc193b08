#include "ui/RearCameraView.h"

#include "media/RearCamera.h"
#include "media/VideoPlayer.h"
#include "ui/PlainPanel.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>

namespace zarn {

namespace {
const QString FirstThatOpens = QStringLiteral("First that opens");
const QString DeviceOwn = QStringLiteral("The device's own");
} // namespace

RearCameraView::RearCameraView(QWidget* window, QWidget* settings)
    : QWidget(window)
{
    setObjectName(QStringLiteral("videoarea"));
    setToolTip(QStringLiteral("Rear Cam window"));
    label_ = new PlainPanel(QStringLiteral("VideoLabel"), this, QString());
    label_->setGeometry(0, 0, 400, 24);
    hide();
    if (settings) {
        auto* deviceText = new QLabel(QStringLiteral("Camera Options"), settings);
        deviceText->setGeometry(20, 20, 260, 30);
        devices_ = new QComboBox(settings);
        devices_->setObjectName(QStringLiteral("Button21"));
        devices_->setGeometry(290, 20, 300, 30);
        auto* formatText = new QLabel(QStringLiteral("Video Format Options"), settings);
        formatText->setGeometry(20, 60, 260, 30);
        formats_ = new QComboBox(settings);
        formats_->setObjectName(QStringLiteral("Button22"));
        formats_->setGeometry(290, 60, 300, 30);
        connect(devices_, &QComboBox::currentIndexChanged, this, [this] {
            if (camera_)
                camera_->setChosenDevice(devices_->currentIndex() > 0 ? devices_->currentText() : QString());
            refreshFormats();
        });
        connect(formats_, &QComboBox::currentIndexChanged, this, [this] {
            if (camera_)
                camera_->setChosenFormat(formats_->currentIndex() > 0 ? formats_->currentText() : QString());
        });
    }
}

void RearCameraView::setCamera(RearCamera* camera)
{
    if (camera_)
        disconnect(camera_, nullptr, this, nullptr);
    camera_ = camera;
    if (!camera)
        return;
    connect(camera, &RearCamera::shown, this, [this](bool visible) {
        if (visible) {
            setGeometry(parentWidget()->rect());
            label_->setGeometry(0, height() - 24, width(), 24);
            frame_ = QImage();
            raise();
        }
        setVisible(visible);
    });
    connect(camera, &RearCamera::statusText, label_, &PlainPanel::setCaption);
    connect(camera, &RearCamera::message, label_, &PlainPanel::setCaption);
    connect(&camera->player(), &VideoPlayer::frameReady, this, &RearCameraView::drawFrame);
    refreshDevices();
}

void RearCameraView::refreshDevices()
{
    if (!devices_ || !camera_)
        return;
    const QSignalBlocker block(devices_);
    devices_->clear();
    devices_->addItem(FirstThatOpens);
    devices_->addItems(camera_->devices());
    refreshFormats();
}

void RearCameraView::refreshFormats()
{
    if (!formats_)
        return;
    const QSignalBlocker block(formats_);
    formats_->clear();
    formats_->addItem(DeviceOwn);
    if (devices_->currentIndex() > 0)
        formats_->addItems(RearCamera::formats(devices_->currentText()));
    if (camera_)
        camera_->setChosenFormat(QString());
}

void RearCameraView::drawFrame()
{
    if (!camera_ || !isVisible() || !camera_->player().rendersFrames())
        return;
    if (frame_.size() != size())
        frame_ = QImage(size(), QImage::Format_RGB32);
    if (camera_->player().renderFrame(frame_.width(), frame_.height(), int(frame_.bytesPerLine()), frame_.bits()))
        update();
}

void RearCameraView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (!frame_.isNull())
        p.drawImage(rect(), frame_);
}

} // namespace zarn
