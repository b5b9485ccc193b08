#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QScrollBar;
class QSpinBox;

namespace zarn {

class TBMWpanel;

// The "COM" sub-page of the settings: the port, the two read time-outs, the port restart
// and the line length of the bus buffer display. Its signals go to the serial link.
class ComTab : public QWidget {
    Q_OBJECT
public:
    explicit ComTab(QWidget* parent = nullptr);

    QComboBox* CBPort() const { return port_; }
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

private:
    QComboBox* port_;
    QSpinBox* extraDelay_;
    QSpinBox* charDelay_;
    QScrollBar* lineLength_;
    QWidget* panel23_;
    QLabel* label6_;
};

} // namespace zarn
