#pragma once

#include <QString>

namespace zarn::carsim {

// The text of an ini file with key=value set in [section]; every other line is kept as
// it was, a missing section is added at the end.
QString setIniValue(const QString& text, const QString& section, const QString& key, const QString& value);

// Makes dir a home for the program that talks to this car: Zarn.ini gets the serial
// device, CD emulation and the speed camera warning on, radar.bin the cameras along the
// route; other settings the file already has stay.
bool prepareDemoHome(const QString& dir, const QString& devicePath, QString* error);

} // namespace zarn::carsim
