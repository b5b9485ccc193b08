#pragma once

#include <QString>

namespace zarn {

// The program directory, ending in "/": ZARN_HOME when set, else the directory of
// the executable. Zarn.ini, radar.bin, driverslog/ and the marker files live there.
// Callable before the application object exists.
QString AppDir();

} // namespace zarn
