#include "services/WebSettings.h"

namespace zarn {

QStringList WebSettings::defaultWebSites()
{
    return {
        QStringLiteral("www.google.com"),     QStringLiteral("www.bmw.com"),
        QStringLiteral("www.wikipedia.org"),  QStringLiteral("www.openstreetmap.org"),
        QStringLiteral("www.bbc.co.uk"),      QStringLiteral("www.spiegel.de"),
        QStringLiteral("www.heise.de"),       QStringLiteral("www.wetter.com"),
        QStringLiteral("www.adac.de"),        QStringLiteral("www.debian.org"),
    };
}

} // namespace zarn
