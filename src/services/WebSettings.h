#pragma once

#include <QStringList>

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
};

} // namespace zarn
