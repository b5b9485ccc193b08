#include "ui/WindowSettings.h"

namespace zarn {

namespace {
using enum KeyType;
using enum LoadStep;
#define FIELD(member) ZARN_SETTINGS_FIELD(WindowSettings, member)

// clang-format off
const SettingsRow kKeys[] = {
    {Captions, "MainPanelCaptions", "Versiontitle",                 String, "Zarn",             true,    FIELD(versiontitle)},
    {Captions, "MainPanelCaptions", "BMWpanel1.BMW_supercaption",   String, "MP3 Player",       true,    FIELD(captions.BMWpanel1)},
    {Captions, "MainPanelCaptions", "BMWpanel2.BMW_supercaption",   String, "I-Bus Explorer",   true,    FIELD(captions.BMWpanel2)},
    {Captions, "MainPanelCaptions", "BMWpanel3.BMW_supercaption",   String, "MPG, DivX && DVD", true,    FIELD(captions.BMWpanel3)},
    {Captions, "MainPanelCaptions", "BMWpanel6.BMW_supercaption",   String, "System Status",    true,    FIELD(captions.BMWpanel6)},
    {Captions, "MainPanelCaptions", "BMWpanel4.BMW_supercaption",   String, "Driver's log",     true,    FIELD(captions.BMWpanel4)},
    {Captions, "MainPanelCaptions", "BMWpanel7.BMW_supercaption",   String, "Web Browser",      true,    FIELD(captions.BMWpanel7)},
    {Captions, "MainPanelCaptions", "BMWpanel89.BMW_supercaption",  String, "Radar",            true,    FIELD(captions.BMWpanel89)},
    {Captions, "MainPanelCaptions", "BMWpanel76.BMW_supercaption",  String, "Launch",           true,    FIELD(captions.BMWpanel76)},
    {Captions, "MainPanelCaptions", "BMWPanel123.BMW_supercaption", String, "Rear Cam",         true,    FIELD(captions.BMWpanel123)},
    {Captions, "MainPanelCaptions", "BMWpanel8.BMW_supercaption",   String, "eMail",            true,    FIELD(captions.BMWpanel8)},
    {Captions, "MainPanelCaptions", "BMWpanel5.BMW_supercaption",   String, "Shutdown",         true,    FIELD(captions.BMWpanel5)},
    {Captions, "MainPanelCaptions", "BMWpanel9.BMW_supercaption",   String, "Settings",         true,    FIELD(captions.BMWpanel9)},
    {HeaderFont, "HeaderPanelFonts", "HeaderPanel.font.Name", String,  "Arial", true, FIELD(headerFontName)},
    {HeaderFont, "HeaderPanelFonts", "HeaderPanel.font.size", Integer, "34",    true, FIELD(headerFontSize)},
    {Colors, "Colors", "clschwarz",          Color, "$00400000",       true, FIELD(scheme.clschwarz)},
    {Colors, "Colors", "cldunkelblau",       Color, "$00400000",       true, FIELD(scheme.cldunkelblau)},
    {Colors, "Colors", "clHellblau",         Color, "$00E78A7A",       true, FIELD(scheme.clHellblau)},
    {Colors, "Colors", "clOrange",           Color, "$000080FF",       true, FIELD(scheme.clOrange)},
    {Colors, "Colors", "clUnassigned",       Color, "$00AEAEFF",       true, FIELD(scheme.clUnassigned)},
    {Colors, "Colors", "clreadabletext",     Color, "clWhite",         true, FIELD(clreadabletext)},
    {Colors, "Colors", "cust1_clschwarz",    Color, "$00400000",       true, FIELD(cust1.clschwarz)},
    {Colors, "Colors", "cust1_cldunkelblau", Color, "$00400000",       true, FIELD(cust1.cldunkelblau)},
    {Colors, "Colors", "cust1_clHellblau",   Color, "$00E78A7A",       true, FIELD(cust1.clHellblau)},
    {Colors, "Colors", "cust1_clOrange",     Color, "$000080FF",       true, FIELD(cust1.clOrange)},
    {Colors, "Colors", "cust1_clUnassigned", Color, "$00AEAEFF",       true, FIELD(cust1.clUnassigned)},
    {Colors, "Colors", "cust2_clschwarz",    Color, "$00400000",       true, FIELD(cust2.clschwarz)},
    {Colors, "Colors", "cust2_cldunkelblau", Color, "$00400000",       true, FIELD(cust2.cldunkelblau)},
    {Colors, "Colors", "cust2_clHellblau",   Color, "$00E78A7A",       true, FIELD(cust2.clHellblau)},
    {Colors, "Colors", "cust2_clOrange",     Color, "$000080FF",       true, FIELD(cust2.clOrange)},
    {Colors, "Colors", "cust2_clUnassigned", Color, "$00AEAEFF",       true, FIELD(cust2.clUnassigned)},
    {Colors, "Colors", "clFontHigh",         Color, "@clreadabletext", true, FIELD(clFontHigh)},
    {Colors, "Colors", "clFontLow",          Color, "clRed",           true, FIELD(clFontLow)},
    {Colors, "Colors", "ClCustompanelheader", Color, "clBlue",         true, FIELD(ClCustompanelheader)},
    {ScreenPosition, "Scale", "form1.width",  IntegerText, "800", true, FIELD(form1.width)},
    {ScreenPosition, "Scale", "form1.top",    IntegerText, "0",   true, FIELD(form1.top)},
    {ScreenPosition, "Scale", "form1.height", IntegerText, "600", true, FIELD(form1.height)},
    {ScreenPosition, "Scale", "form1.left",   IntegerText, "0",   true, FIELD(form1.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E649Panel.Top",     IntegerText, "0",   true, FIELD(alternateMenu.E649Panel.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E649Panel.left",    IntegerText, "0",   true, FIELD(alternateMenu.E649Panel.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel.Top",     IntegerText, "50",  true, FIELD(alternateMenu.E644Panel.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel.left",    IntegerText, "0",   true, FIELD(alternateMenu.E644Panel.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel1.Top",    IntegerText, "100", true, FIELD(alternateMenu.E644Panel1.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel1.left",   IntegerText, "0",   true, FIELD(alternateMenu.E644Panel1.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel2.Top",    IntegerText, "150", true, FIELD(alternateMenu.E644Panel2.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel2.left",   IntegerText, "0",   true, FIELD(alternateMenu.E644Panel2.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel3.Top",    IntegerText, "200", true, FIELD(alternateMenu.E644Panel3.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel3.left",   IntegerText, "0",   true, FIELD(alternateMenu.E644Panel3.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E646Panel.Top",     IntegerText, "250", true, FIELD(alternateMenu.E646Panel.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E646Panel.left",    IntegerText, "0",   true, FIELD(alternateMenu.E646Panel.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E6445Panel.Top",    IntegerText, "300", true, FIELD(alternateMenu.E6445Panel.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E6445Panel.left",   IntegerText, "0",   true, FIELD(alternateMenu.E6445Panel.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E60QuilPanel.Top",  IntegerText, "400", true, FIELD(alternateMenu.E60QuilPanel.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E60QuilPanel.left", IntegerText, "0",   true, FIELD(alternateMenu.E60QuilPanel.left)},
    {RadarDetails, "AlternateMenueItemPositions", "E648Panel.Top",  IntegerText, "350", true, FIELD(alternateMenu.E648Panel.top)},
    {RadarDetails, "AlternateMenueItemPositions", "E648Panel.left", IntegerText, "0",   true, FIELD(alternateMenu.E648Panel.left)},
    {RadarDetails, "AlternateMenueItemPositions", "E600Panel.Top",  IntegerText, "400", true, FIELD(alternateMenu.E600Panel.top)},
    {RadarDetails, "AlternateMenueItemPositions", "E600Panel.left", IntegerText, "0",   true, FIELD(alternateMenu.E600Panel.left)},
    {CdEmulation, "MainMenueLayout", "new",             Boolean, "0", true, FIELD(alternateLayout)},
    {Bitmaps, "Grafix", "AlternativeBackgroundBitmap", ShortString, "", true, FIELD(alternativeBackgroundBitmap)},
};
// clang-format on
#undef FIELD
} // namespace

WindowSettings::WindowSettings()
{
    applyDefaults(keys(), this);
}

std::span<const SettingsRow> WindowSettings::keys()
{
    return kKeys;
}

QString WindowSettings::headerCaption() const
{
    return QLatin1Char(' ') + versiontitle + QStringLiteral(" Main");
}

int WindowSettings::layoutTitleFontSize() const
{
    return int(0.4 * headerFontSize);
}

} // namespace zarn
