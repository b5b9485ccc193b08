#pragma once

#include <QStringList>
#include <QUrl>

namespace zarn {

// The web page's site list: [Websites] Site0 .. Site100, read and written as a list
// rather than as rows. Main thread only.
struct WebSettings {
    QStringList webSites = defaultWebSites();

    bool operator==(const WebSettings&) const = default;

    static QStringList defaultWebSites();
    static constexpr const char* Section = "Websites";
    static constexpr int LastSiteKey = 100;           // Site0 .. Site100
    static constexpr const char* ValueUnused = "x";   // a site key that holds no site

    // The address a site entry stands for, as a user types it ("www.bmw.com",
    // "https://...", "file:///..."). Invalid, with `problem` set, for anything else:
    // blanks or control characters inside, no host, another scheme, or a text longer
    // than any address.
    static QUrl siteAddress(const QString& entry, QString* problem = nullptr);
    // The usable entries in their order; each other one is added to `rejected` as
    // "<entry> <problem>".
    static QStringList usableSites(const QStringList& entries, QStringList* rejected);
    static constexpr int MaxAddressLength = 2048;
};

} // namespace zarn
