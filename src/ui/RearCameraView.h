#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

class QComboBox;

namespace zarn {

class PlainPanel;
class RearCamera;

// The camera window panel `videoarea` ("Rear Cam window"): over the page area while the
// camera is shown, with the picture drawn from the player's frames and the status label
// `VideoLabel`; and on the settings page "Cam && Speech" the device chooser `Button21`
// and the format chooser `Button22` in place of the capture driver's dialogs.
// Main thread only.
class RearCameraView : public QWidget {
    Q_OBJECT
public:
    // The panel fills `window` while shown; `settings` receives the two choosers.
    RearCameraView(QWidget* window, QWidget* settings);

    // Not owned; the camera and its player must outlive the view or be unset.
    void setCamera(RearCamera* camera);
    PlainPanel* VideoLabel() const { return label_; }
    QComboBox* deviceChooser() const { return devices_; }
    QComboBox* formatChooser() const { return formats_; }
    // Lists the devices again (the chooser shows "first that opens" first).
    void refreshDevices();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawFrame();
    void refreshFormats();

    PlainPanel* label_;
    QComboBox* devices_ = nullptr;
    QComboBox* formats_ = nullptr;
    QPointer<RearCamera> camera_;
    QImage frame_;
};

} // namespace zarn
