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

QUrl WebSettings::siteAddress(const QString& entry, QString* problem)
{
    const auto fail = [problem](const char* why) {
        if (problem)
            *problem = QLatin1String(why);
        return QUrl();
    };
    const QString text = entry.trimmed();
    if (text.isEmpty())
        return fail("is empty");
    if (text.size() > MaxAddressLength)
        return fail("is too long for a web address");
    for (const QChar c : text)
        if (c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return fail("is not a web address");
    const QUrl url = QUrl::fromUserInput(text);
    const QString scheme = url.scheme();
    if (!url.isValid())
        return fail("is not a web address");
    if (scheme == QLatin1String("file"))
        return url;
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return fail("is not a web address (http, https or file)");
    if (url.host().isEmpty())
        return fail("is not a web address");
    return url;
}

QStringList WebSettings::usableSites(const QStringList& entries, QStringList* rejected)
{
    QStringList sites;
    for (const QString& entry : entries) {
        QString problem;
        if (siteAddress(entry, &problem).isValid()) {
            sites << entry.trimmed();
        } else if (rejected) {
            // A line of garbage is shown short and printable.
            QString shown = entry.left(60);
            for (QChar& c : shown)
                if (!c.isPrint())
                    c = QLatin1Char('?');
            if (entry.size() > 60)
                shown += QStringLiteral("...");
            *rejected << QLatin1Char('"') + shown + QStringLiteral("\" ") + problem;
        }
    }
    return sites;
}

} // namespace zarn
