#include "vehicle/RadarSettings.h"

#include <QtGlobal>

namespace zarn {

namespace {
using enum KeyType;
using enum LoadStep;
#define FIELD(member) ZARN_SETTINGS_FIELD(RadarSettings, member)

// clang-format off
const SettingsRow kKeys[] = {
    {ScreenPosition, "Radarwarning", "RadarSensitivitylabel",                     Float,       "1.1", true, FIELD(warningThresholdKm)},
    {RadarDetails,   "Radarwarning", "global_radarwarning",                       Boolean,     "0",   true, FIELD(radarWarning)},
    {Randomizer,     "Radarwarning", "Global_radarwarning_acoutsicsignal",        Boolean,     "0",   true, FIELD(radarAcousticSignal)},
    {Randomizer,     "Radarwarning", "Global_radarwarning_only_warn_if_too_fast", Boolean,     "0",   true, FIELD(radarOnlyWarnIfTooFast)},
    {CdEmulation,    "Radarwarning", "BMWpanel105.tag",                           Integer,     "3",   true, FIELD(radarScaleKm)},
    {Pathes,         "Pathes",       "Radarsound",                                ShortString, "",    true, FIELD(radarsound)},
};
// clang-format on
#undef FIELD
} // namespace

RadarSettings::RadarSettings()
{
    applyDefaults(keys(), this);
}

std::span<const SettingsRow> RadarSettings::keys()
{
    return kKeys;
}

QString RadarSettings::warningThresholdLabel() const
{
    return QStringLiteral(" Warning Threshold is now ") + QString::number(qRound64(warningThresholdKm * 1000))
        + QStringLiteral(" m");
}

QString RadarSettings::radarWarningCaption() const
{
    return radarWarning ? QStringLiteral("Radarwarning now ON") : QStringLiteral("Radarwarning now OFF");
}

QString RadarSettings::radarSoundCaption() const
{
    return radarAcousticSignal ? QStringLiteral("Sound=ON") : QStringLiteral("Sound=OFF");
}

QString RadarSettings::radarTooFastCaption() const
{
    return radarOnlyWarnIfTooFast ? QStringLiteral("Only warn if too fast")
                                  : QStringLiteral("Warn regardless of speed");
}

QString RadarSettings::radarScaleCaption() const
{
    return QString::number(radarScaleKm) + QStringLiteral(" km");
}

} // namespace zarn
