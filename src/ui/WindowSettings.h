#pragma once

#include "core/SettingsRow.h"
#include "ui/ColorRoles.h"

#include <QString>

namespace zarn {

// The five role colors of a color scheme, 0x00BBGGRR.
using SchemeColors = SchemeSlot;

struct MenuItemPosition {
    int top = 0;
    int left = 0;
    bool operator==(const MenuItemPosition&) const = default;
};

// The window's share of Zarn.ini: title and captions, header font, colors, bounds,
// the picture menu and its look. A default-constructed value holds the defaults of
// its rows. Main thread only.
struct WindowSettings {
    WindowSettings();
    static std::span<const SettingsRow> keys();

    QString versiontitle;
    struct MainMenuCaptions {
        QString BMWpanel1, BMWpanel2, BMWpanel3, BMWpanel6, BMWpanel4, BMWpanel7,
            BMWpanel89, BMWpanel76, BMWpanel123, BMWpanel8, BMWpanel5, BMWpanel9;
        bool operator==(const MainMenuCaptions&) const = default;
    } captions; // BMW_supercaption of the main menu items

    QString headerFontName; // always bold
    int headerFontSize = 0;

    SchemeColors scheme, cust1, cust2;
    quint32 clreadabletext = 0;
    quint32 clFontHigh = 0;
    quint32 clFontLow = 0;
    quint32 ClCustompanelheader = 0;

    struct WindowBounds {
        int width = 0, top = 0, height = 0, left = 0;
        bool operator==(const WindowBounds&) const = default;
    } form1; // window bounds
    struct AlternateMenuPositions {
        MenuItemPosition E649Panel, E644Panel, E644Panel1, E644Panel2, E644Panel3, E646Panel,
            E6445Panel, E60QuilPanel, E648Panel, E600Panel;
        bool operator==(const AlternateMenuPositions&) const = default;
    } alternateMenu;
    bool alternateLayout = false; // [MainMenueLayout] New
    QString alternativeBackgroundBitmap;

    bool operator==(const WindowSettings&) const = default;

    QString headerCaption() const;   // " " + title + " Main"
    int layoutTitleFontSize() const; // 0.4 x the header size, truncated
};

} // namespace zarn
