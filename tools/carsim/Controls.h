#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace zarn::carsim {

// A button of the car (monitor, radio, steering wheel) and the frames it sends.
// The knob's turns are not here: they carry a count (see frames::knobTurn).
struct Control {
    QString name;        // how scenarios name it: "knob press", "button fm", "wheel rt"
    QString label;       // how notes name it: "FM button"
    QByteArray press;
    QByteArray release;  // sent a moment after the press; empty when the unit sends none
};

const QList<Control>& controls();
const Control* findControl(QStringView name);
// The control whose press or release frame this is; *released tells which.
const Control* findControlByFrame(const QByteArray& frame, bool* released = nullptr);

} // namespace zarn::carsim
