#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QScrollBar;
class QSpinBox;

namespace zarn {

class TBMWpanel;

// The "COM" sub-page of the settings: the port, the serial device, the two read
// time-outs, the port restart and the line length of the bus buffer display. Its
// signals go to the serial link.
class ComTab : public QWidget {
    Q_OBJECT
public:
    explicit ComTab(QWidget* parent = nullptr);

    QComboBox* CBPort() const { return port_; }
    // [COM-Port] DevicePath: a device offered from the list or any text; empty opens the
    // CBPort choice. Taken by "Restart COM port". Not a knob stop: it needs a keyboard.
    QComboBox* DevicePath() const { return device_; }
    QString devicePath() const;
    void setDevicePath(const QString& path);

    // The serial devices under devRoot: serial/by-id/* first (the names that survive
    // replugging), then ttyUSB*, ttyACM*, ttyS*, each in numeric order.
    static QStringList serialDevices(const QString& devRoot = QStringLiteral("/dev"));
    // Where the list looks (tests point it elsewhere); the list is refilled, the text kept.
    void setDeviceRoot(const QString& devRoot);
    void refreshDevices();
    QSpinBox* SpinEdit1() const { return extraDelay_; }
    QSpinBox* SpinEdit2() const { return charDelay_; }
    QScrollBar* ScrollBar2() const { return lineLength_; }
    QWidget* Panel23() const { return panel23_; }

signals:
    void portIndexChanged(int index);        // CBPort: save the settings, effective next start
    void rxExtraDelayChanged(int ms);        // RTOExtraDelayTime
    void rxCharDelayChanged(int microseconds); // RTOCharDelayTime
    void restartPortRequested();             // BMWpanel66 "Restart COM port"
    void hexLineLengthChanged(int length);   // HexLineLength, 64..512

protected:
    void showEvent(QShowEvent* event) override;

private:
    QComboBox* port_;
    QComboBox* device_;
    QString deviceRoot_ = QStringLiteral("/dev");
    QSpinBox* extraDelay_;
    QSpinBox* charDelay_;
    QScrollBar* lineLength_;
    QWidget* panel23_;
    QLabel* label6_;
};

} // namespace zarn
