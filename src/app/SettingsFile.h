#pragma once

#include "app/Settings.h"

#include <QString>

#include <functional>

namespace zarn {

class IniFile;
class StatusLog;

struct SettingsLoadHooks {
    // A splash line with its progress position (-1: the bar stays where it is).
    // Leave empty when no splash screen is shown.
    std::function<void(int progress, const QString& line)> splash;
    // Runs at the "BMW Ibus codes" step, after its splash line: the code table reads
    // and lists [codes] itself through the same IniFile.
    std::function<void()> loadCodes;
    // Runs right after the COM port keys are read: the serial link takes them and
    // reports the receive delays now in effect.
    std::function<void(const Settings&)> comPort;
};

// Reads every key in the start-up order. A missing file is said (status line and
// stderr) with the path the settings will be saved to. Writes the splash lines and the status
// lines of the reading (radar warning). A value that cannot be used is
// reported (status line and stderr: section, key, text, the default used) and the
// default taken; reading always goes on to the end.
Settings LoadSettings(const IniFile& ini, StatusLog& log, const SettingsLoadHooks& hooks = {});

// Writes the saved keys in their order in one atomic replace of the file. The site
// list goes to Site0 .. Site(N-1); higher Site keys present in the file (up to
// Site100) are emptied so deleted sites stay deleted. On failure nothing is
// changed on disk and false comes back with "Unable to write to <file>".
bool SaveSettings(IniFile& ini, const Settings& settings, QString* error = nullptr);

// [mileage] lastknownmilage ("4711" when missing). Text that is no whole number
// is reported and gives 0.
int LoadMileage(const IniFile& ini, StatusLog& log);
// Writes the mileage item's caption as it is.
bool SaveMileage(IniFile& ini, const QString& mileageCaption, QString* error = nullptr);

// The keys other parts write on their own, each at once.
bool SaveLastMp3Played(IniFile& ini, const QString& fileName);
bool SaveEqGain(IniFile& ini, int band /* 1 .. 6 */, double gain);

} // namespace zarn
