#include "app/Settings.h"

#include "app/SettingsKeys.h"

namespace zarn {

Settings::Settings()
{
    // The bus options start empty for the bus side; the file's defaults are set here.
    applyDefaults(*this);
}

void Settings::clampToFields()
{
    power.clampToFields();
    driversLog.clampToFields();
}

} // namespace zarn
