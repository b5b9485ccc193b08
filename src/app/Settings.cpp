#include "app/Settings.h"

#include "app/SettingsKeys.h"
#include "core/IniValues.h"

#include <QtGlobal>

namespace zarn {

Settings::Settings()
    : webSites(defaultWebSites())
{
    applyDefaults(*this);
}

QStringList Settings::defaultWebSites()
{
    return {
        QStringLiteral("www.google.com"),     QStringLiteral("www.bmw.com"),
        QStringLiteral("www.wikipedia.org"),  QStringLiteral("www.openstreetmap.org"),
        QStringLiteral("www.bbc.co.uk"),      QStringLiteral("www.spiegel.de"),
        QStringLiteral("www.heise.de"),       QStringLiteral("www.wetter.com"),
        QStringLiteral("www.adac.de"),        QStringLiteral("www.debian.org"),
    };
}

QString Settings::driversLogMessage() const
{
    return businessMode() ? QStringLiteral(" Business mode set") : QStringLiteral(" Private mode set");
}

QString Settings::driversLogModeCaption() const
{
    return businessMode() ? QStringLiteral("Mode is BUSINESS") : QStringLiteral("Mode is PRIVATE");
}

QString Settings::warningThresholdLabel() const
{
    return QStringLiteral(" Warning Threshold is now ") + QString::number(qRound64(warningThresholdKm * 1000))
        + QStringLiteral(" m");
}

QString Settings::radarWarningCaption() const
{
    return radarWarning ? QStringLiteral("Radarwarning now ON") : QStringLiteral("Radarwarning now OFF");
}

QString Settings::radarSoundCaption() const
{
    return radarAcousticSignal ? QStringLiteral("Sound=ON") : QStringLiteral("Sound=OFF");
}

QString Settings::radarTooFastCaption() const
{
    return radarOnlyWarnIfTooFast ? QStringLiteral("Only warn if too fast")
                                  : QStringLiteral("Warn regardless of speed");
}

QString Settings::radarScaleCaption() const
{
    return QString::number(radarScaleKm) + QStringLiteral(" km");
}

QString Settings::headerCaption() const
{
    return QLatin1Char(' ') + versiontitle + QStringLiteral(" Main");
}

int Settings::layoutTitleFontSize() const
{
    return int(0.4 * headerFontSize);
}

int Settings::pop3Port() const
{
    return ini::parseInteger(pop3.serverPort).value_or(110);
}

void Settings::clampToFields()
{
    idleShutdownSeconds = qBound(60, idleShutdownSeconds, 9999999);
    driversLogRecord = businessMode() ? 1 : 0;
}

} // namespace zarn
