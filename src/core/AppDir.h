#pragma once

#include <QString>

namespace zarn {

// Where the program directory comes from, in this order.
enum class AppDirSource {
    Environment, // ZARN_HOME is set
    Installed,   // the executable lies in an installation's bin directory: $XDG_CONFIG_HOME/zarn
    Executable,  // a build tree or a copied program: the directory of the executable
};

AppDirSource appDirSource();

// The program directory, ending in "/". Zarn.ini, radar.bin, driverslog/ and the marker
// files live there. Callable before the application object exists.
QString AppDir();

// The installation's data directory ("<prefix>/share/zarn/"), found beside the
// executable's bin directory; empty for a program that is not installed.
QString InstalledDataDir();

// For an installed program: creates the program directory and copies in each file of
// the data directory the user does not have yet. What is there already stays as it is.
// Returns false with the reason when the directory cannot be made or a file not copied.
bool SeedAppDir(QString* error);

} // namespace zarn
