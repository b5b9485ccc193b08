#pragma once

#include <QByteArray>
#include <QString>

namespace zarn::carsim {

// What a frame means, in words: "CD changer answer: poll", "knob right 3",
// "navigation: city \"München\"". Works on the car's frames and on the program's alike;
// the caller has checked the frame's length and checksum.
QString explainFrame(const QByteArray& frame);

// The program's greeting, its first cluster text once it has opened the port:
// "Zarn <version> start..". The caller has checked the frame's length and checksum.
bool isGreeting(const QByteArray& frame);

} // namespace zarn::carsim
