#pragma once

#include <QByteArray>
#include <QString>
#include <QTime>

// The frames the car's units send, byte for byte as the real units do.
namespace zarn::carsim::frames {

// Radio to the CD changer.
QByteArray cdPoll();          // 68 03 18 01 72
QByteArray cdStateRequest();  // 68 05 18 38 00 00 4D
QByteArray cdPlay();          // 68 05 18 38 03 00 4E
QByteArray cdStop();          // 68 05 18 38 01 00 4C

// Radio to the screen unit: the tape-mode text, 45 then "Dolby B" (or C).
QByteArray tapeText(bool dolbyC = false);
// Radio to the screen unit: the title text (type 23 62 10), blank padded to 13 characters.
// "AUX" gives the frame the program takes as the AUX source.
QByteArray radioTitleText(const QString& text);

// Monitor knob: 1..9 detents to the right or the left.
QByteArray knobTurn(bool right, int steps);

// Cluster: the time text "HH:MM  " to all displays; flag is the byte before the text.
QByteArray clusterTime(QTime time, quint8 flag = 0x00);
// Cluster: speed in km/h (sent halved) and engine speed in rpm (sent in hundreds).
QByteArray speedAndRpm(int kmh, int rpm);
// Cluster: the odometer, 24 bits, lowest byte first.
QByteArray odometer(int km);
QByteArray checkControlButton(); // 80 04 FF 57 01 2D

// Navigation fix as the navigation computer reports it.
struct NavFix {
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive
    int altitudeM = 0;     // 0..9999
    QTime utc;
};
QByteArray position(const NavFix& fix);
// City and street texts, Latin-1, zero padded to 30 bytes; the street ends with ";".
QByteArray city(const QString& name);
QByteArray street(const QString& name);

// Telephone state to all displays (2C 31 talking hands-free, 2C 10 idle, 2C 30 talking).
QByteArray phoneState(quint8 state);

} // namespace zarn::carsim::frames
