#include "app/SettingsKeys.h"

#include "core/IniValues.h"

#include <QLocale>

namespace zarn {

namespace {

using enum KeyType;
using enum LoadStep;
constexpr bool Saved = true;
constexpr bool NotSaved = false;

#define FIELD(member) +[](Settings& s) -> auto& { return s.member; }

// clang-format off
const SettingsKey kKeys[] = {
    // [28] websites: the Site keys, see SettingsFile
    // [32] custom captions
    {Captions, "MainPanelCaptions", "Versiontitle",                 String, "Zarn",             Saved,    FIELD(versiontitle)},
    {Captions, "MP3Player",         "LastMP3played",                String, "n/a",              NotSaved, FIELD(lastMp3Played)},
    {Captions, "MainPanelCaptions", "BMWpanel1.BMW_supercaption",   String, "MP3 Player",       Saved,    FIELD(captions.BMWpanel1)},
    {Captions, "MainPanelCaptions", "BMWpanel2.BMW_supercaption",   String, "I-Bus Explorer",   Saved,    FIELD(captions.BMWpanel2)},
    {Captions, "MainPanelCaptions", "BMWpanel3.BMW_supercaption",   String, "MPG, DivX && DVD", Saved,    FIELD(captions.BMWpanel3)},
    {Captions, "MainPanelCaptions", "BMWpanel6.BMW_supercaption",   String, "System Status",    Saved,    FIELD(captions.BMWpanel6)},
    {Captions, "MainPanelCaptions", "BMWpanel4.BMW_supercaption",   String, "Driver's log",     Saved,    FIELD(captions.BMWpanel4)},
    {Captions, "MainPanelCaptions", "BMWpanel7.BMW_supercaption",   String, "Web Browser",      Saved,    FIELD(captions.BMWpanel7)},
    {Captions, "MainPanelCaptions", "BMWpanel89.BMW_supercaption",  String, "Radar",            Saved,    FIELD(captions.BMWpanel89)},
    {Captions, "MainPanelCaptions", "BMWpanel76.BMW_supercaption",  String, "Launch",           Saved,    FIELD(captions.BMWpanel76)},
    {Captions, "MainPanelCaptions", "BMWPanel123.BMW_supercaption", String, "Rear Cam",         Saved,    FIELD(captions.BMWpanel123)},
    {Captions, "MainPanelCaptions", "BMWpanel8.BMW_supercaption",   String, "eMail",            Saved,    FIELD(captions.BMWpanel8)},
    {Captions, "MainPanelCaptions", "BMWpanel5.BMW_supercaption",   String, "Shutdown",         Saved,    FIELD(captions.BMWpanel5)},
    {Captions, "MainPanelCaptions", "BMWpanel9.BMW_supercaption",   String, "Settings",         Saved,    FIELD(captions.BMWpanel9)},
    // [38] BMW Ibus codes: the code table reads [codes] itself
    {HeaderFont, "HeaderPanelFonts", "HeaderPanel.font.Name", String,  "Arial", Saved, FIELD(headerFontName)},
    {HeaderFont, "HeaderPanelFonts", "HeaderPanel.font.size", Integer, "34",    Saved, FIELD(headerFontSize)},
    {Shutdown, "Special", "shutdownafterIBUSidle_seconds", Integer, "120", Saved, FIELD(idleShutdownSeconds)},
    {Shutdown, "Special", "ShutDownMessage", String, "Your code with no blanks between hex pairs here !", Saved, FIELD(shutDownMessage)},
    {Shutdown, "Special", "RadioGroup1.ItemIndex",         Integer, "0",   Saved, FIELD(powerOption)},
    // [42] COM port details
    {ComPort, "COM-Port",      "CBPort.ItemIndex",  Integer, "0",    Saved, FIELD(portIndex)},
    {ComPort, "COM-Port",      "DevicePath",        String,  "",     Saved, FIELD(devicePath)},
    {ComPort, "SerialPortNG1", "RTOExtraDelayTime", Integer, "50",   Saved, FIELD(rtoExtraDelayTime)},
    {ComPort, "SerialPortNG1", "RTOCharDelayTime",  Integer, "1100", Saved, FIELD(rtoCharDelayTime)},
    // [46] drivers log settings
    {DriversLog, "Driverslog", "record", Integer, "1", Saved, FIELD(driversLogRecord)},
    // [48] colors
    {Colors, "Colors", "clschwarz",          Color, "$00400000",       Saved, FIELD(scheme.clschwarz)},
    {Colors, "Colors", "cldunkelblau",       Color, "$00400000",       Saved, FIELD(scheme.cldunkelblau)},
    {Colors, "Colors", "clHellblau",         Color, "$00E78A7A",       Saved, FIELD(scheme.clHellblau)},
    {Colors, "Colors", "clOrange",           Color, "$000080FF",       Saved, FIELD(scheme.clOrange)},
    {Colors, "Colors", "clUnassigned",       Color, "$00AEAEFF",       Saved, FIELD(scheme.clUnassigned)},
    {Colors, "Colors", "clreadabletext",     Color, "clWhite",         Saved, FIELD(clreadabletext)},
    {Colors, "Colors", "cust1_clschwarz",    Color, "$00400000",       Saved, FIELD(cust1.clschwarz)},
    {Colors, "Colors", "cust1_cldunkelblau", Color, "$00400000",       Saved, FIELD(cust1.cldunkelblau)},
    {Colors, "Colors", "cust1_clHellblau",   Color, "$00E78A7A",       Saved, FIELD(cust1.clHellblau)},
    {Colors, "Colors", "cust1_clOrange",     Color, "$000080FF",       Saved, FIELD(cust1.clOrange)},
    {Colors, "Colors", "cust1_clUnassigned", Color, "$00AEAEFF",       Saved, FIELD(cust1.clUnassigned)},
    {Colors, "Colors", "cust2_clschwarz",    Color, "$00400000",       Saved, FIELD(cust2.clschwarz)},
    {Colors, "Colors", "cust2_cldunkelblau", Color, "$00400000",       Saved, FIELD(cust2.cldunkelblau)},
    {Colors, "Colors", "cust2_clHellblau",   Color, "$00E78A7A",       Saved, FIELD(cust2.clHellblau)},
    {Colors, "Colors", "cust2_clOrange",     Color, "$000080FF",       Saved, FIELD(cust2.clOrange)},
    {Colors, "Colors", "cust2_clUnassigned", Color, "$00AEAEFF",       Saved, FIELD(cust2.clUnassigned)},
    {Colors, "Colors", "clFontHigh",         Color, "@clreadabletext", Saved, FIELD(clFontHigh)},
    {Colors, "Colors", "clFontLow",          Color, "clRed",           Saved, FIELD(clFontLow)},
    {Colors, "Colors", "ClCustompanelheader", Color, "clBlue",         Saved, FIELD(ClCustompanelheader)},
    // [52] screen position
    {ScreenPosition, "Scale", "form1.width",  IntegerText, "800", Saved, FIELD(form1.width)},
    {ScreenPosition, "Scale", "form1.top",    IntegerText, "0",   Saved, FIELD(form1.top)},
    {ScreenPosition, "Scale", "form1.height", IntegerText, "600", Saved, FIELD(form1.height)},
    {ScreenPosition, "Scale", "form1.left",   IntegerText, "0",   Saved, FIELD(form1.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E649Panel.Top",     IntegerText, "0",   Saved, FIELD(alternateMenu.E649Panel.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E649Panel.left",    IntegerText, "0",   Saved, FIELD(alternateMenu.E649Panel.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel.Top",     IntegerText, "50",  Saved, FIELD(alternateMenu.E644Panel.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel.left",    IntegerText, "0",   Saved, FIELD(alternateMenu.E644Panel.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel1.Top",    IntegerText, "100", Saved, FIELD(alternateMenu.E644Panel1.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel1.left",   IntegerText, "0",   Saved, FIELD(alternateMenu.E644Panel1.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel2.Top",    IntegerText, "150", Saved, FIELD(alternateMenu.E644Panel2.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel2.left",   IntegerText, "0",   Saved, FIELD(alternateMenu.E644Panel2.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel3.Top",    IntegerText, "200", Saved, FIELD(alternateMenu.E644Panel3.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E644Panel3.left",   IntegerText, "0",   Saved, FIELD(alternateMenu.E644Panel3.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E646Panel.Top",     IntegerText, "250", Saved, FIELD(alternateMenu.E646Panel.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E646Panel.left",    IntegerText, "0",   Saved, FIELD(alternateMenu.E646Panel.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E6445Panel.Top",    IntegerText, "300", Saved, FIELD(alternateMenu.E6445Panel.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E6445Panel.left",   IntegerText, "0",   Saved, FIELD(alternateMenu.E6445Panel.left)},
    {ScreenPosition, "AlternateMenueItemPositions", "E60QuilPanel.Top",  IntegerText, "400", Saved, FIELD(alternateMenu.E60QuilPanel.top)},
    {ScreenPosition, "AlternateMenueItemPositions", "E60QuilPanel.left", IntegerText, "0",   Saved, FIELD(alternateMenu.E60QuilPanel.left)},
    {ScreenPosition, "Radarwarning", "RadarSensitivitylabel", Float, "1.1", Saved,    FIELD(warningThresholdKm)},
    {ScreenPosition, "EQ", "EQ1_Gain", Float, "0", NotSaved, FIELD(eqGain[0])},
    {ScreenPosition, "EQ", "EQ2_Gain", Float, "0", NotSaved, FIELD(eqGain[1])},
    {ScreenPosition, "EQ", "EQ3_Gain", Float, "0", NotSaved, FIELD(eqGain[2])},
    {ScreenPosition, "EQ", "EQ4_Gain", Float, "0", NotSaved, FIELD(eqGain[3])},
    {ScreenPosition, "EQ", "EQ5_Gain", Float, "0", NotSaved, FIELD(eqGain[4])},
    {ScreenPosition, "EQ", "EQ6_Gain", Float, "0", NotSaved, FIELD(eqGain[5])},
    // [56] radar details
    {RadarDetails, "AlternateMenueItemPositions", "E648Panel.Top",  IntegerText, "350", Saved, FIELD(alternateMenu.E648Panel.top)},
    {RadarDetails, "AlternateMenueItemPositions", "E648Panel.left", IntegerText, "0",   Saved, FIELD(alternateMenu.E648Panel.left)},
    {RadarDetails, "AlternateMenueItemPositions", "E600Panel.Top",  IntegerText, "400", Saved, FIELD(alternateMenu.E600Panel.top)},
    {RadarDetails, "AlternateMenueItemPositions", "E600Panel.left", IntegerText, "0",   Saved, FIELD(alternateMenu.E600Panel.left)},
    {RadarDetails, "Radarwarning", "global_radarwarning", Boolean, "0", Saved, FIELD(radarWarning)},
    // [60] randomizer settings
    {Randomizer, "Randomizer",   "startwithrandom",                          Boolean, "0", Saved, FIELD(startWithRandom)},
    {Randomizer, "Radarwarning", "Global_radarwarning_acoutsicsignal",       Boolean, "0", Saved, FIELD(radarAcousticSignal)},
    {Randomizer, "Radarwarning", "Global_radarwarning_only_warn_if_too_fast", Boolean, "0", Saved, FIELD(radarOnlyWarnIfTooFast)},
    // [64] shutdown settings
    {ShutdownSettings, "Special", "ShutDownMessage_active",     Boolean, "0", Saved, FIELD(shutDownMessageActive)},
    {ShutdownSettings, "Special", "Shutdown_with_checkcontrol", Boolean, "0", Saved, FIELD(shutdownWithCheckControl)},
    {ShutdownSettings, "Special", "autoreplay_after_restart",   Boolean, "0", Saved, FIELD(autoReplayAfterRestart)},
    {ShutdownSettings, "Special", "disablemp3filenamedisplay",  Boolean, "0", Saved, FIELD(disableMp3FileNameDisplay)},
    {ShutdownSettings, "Special", "shutdownafterIBUSidle",      Boolean, "0", Saved, FIELD(shutdownAfterIbusIdle)},
    // [68] CD emulation details
    {CdEmulation, "CD_Emulation",    "CD_CheckBox",     Boolean, "0", Saved, FIELD(cdEmulation)},
    {CdEmulation, "NOSEND",          "NOSEND_CheckBox", Boolean, "0", Saved, FIELD(noSend)},
    {CdEmulation, "nonmetricworld",  "Miles_checkbox",  Boolean, "0", Saved, FIELD(miles)},
    {CdEmulation, "MainMenueLayout", "new",             Boolean, "0", Saved, FIELD(alternateLayout)},
    {CdEmulation, "Radarwarning",    "BMWpanel105.tag", Integer, "3", Saved, FIELD(radarScaleKm)},
    // [72] email details
    {Email, "Pop3",  "ServerName",             String,      "pop.example.com",       Saved,    FIELD(pop3.serverName)},
    {Email, "Pop3",  "ServerPort",             IntegerText, "110",                   Saved,    FIELD(pop3.serverPort)},
    {Email, "Pop3",  "ServerUser",             String,      "your_login",            Saved,    FIELD(pop3.serverUser)},
    {Email, "Pop3",  "ServerPassword",         String,      "enter_pw_here",         Saved,    FIELD(pop3.serverPassword)},
    {Email, "Smtp",  "ServerName",             String,      "smtp.example.com",      NotSaved, FIELD(smtp.serverName)},
    {Email, "Smtp",  "ServerPort",             IntegerText, "25",                    NotSaved, FIELD(smtp.serverPort)},
    {Email, "Smtp",  "ServerUser",             String,      "your_login",            NotSaved, FIELD(smtp.serverUser)},
    {Email, "Smtp",  "ServerPassword",         String,      "enter_pw_here",         NotSaved, FIELD(smtp.serverPassword)},
    {Email, "Smtp",  "SMTPAuthenticationType", Integer,     "0",                     NotSaved, FIELD(smtpAuthenticationType)},
    {Email, "Email", "PersonalEmail",          String,      "your.name@example.com", NotSaved, FIELD(personalEmail)},
    // [76] bitmaps
    {Bitmaps, "Grafix", "AlternativeBackgroundBitmap", ShortString, "", Saved, FIELD(alternativeBackgroundBitmap)},
    {Bitmaps, "Grafix", "MP3PlayingBackgroundBitmap",  ShortString, "", Saved, FIELD(mp3PlayingBackgroundBitmap)},
    // [80] pathes, [84] MP3 selection list, [88] movie selection list
    {Pathes, "Pathes", "mp3",             ShortString, "", Saved, FIELD(mp3)},
    {Pathes, "Pathes", "movies",          ShortString, "", Saved, FIELD(movies)},
    {Pathes, "Pathes", "duallog",         ShortString, "", Saved, FIELD(duallog)},
    {Pathes, "Pathes", "Application1",    ShortString, "", Saved, FIELD(application1)},
    {Pathes, "Pathes", "Radarsound",      ShortString, "", Saved, FIELD(radarsound)},
    {Pathes, "Pathes", "LaunchButtonExe", ShortString, "", Saved, FIELD(launchButtonExe)},
    // Written for the old program's sake; nothing reads them.
    {WriteOnly, "COMPORT",    "SerialPortNG1.ParityTyp",   Integer, "2", Saved,
        +[](const Settings&) { return QStringLiteral("2"); }},
    {WriteOnly, "Speech",     "Global_speech_engine",      String,  "",  Saved,
        +[](const Settings&) { return QString(); }},
    {WriteOnly, "Driverslog", "Global_driverslog_private", Boolean, "0", Saved,
        +[](const Settings& s) { return s.businessMode() ? QStringLiteral("0") : QStringLiteral("1"); }},
};

const SavedKey kSaveOrder[] = {
    {"Pop3", "ServerName"}, {"Pop3", "ServerPort"}, {"Pop3", "ServerUser"}, {"Pop3", "ServerPassword"},
    {"COMPORT", "SerialPortNG1.ParityTyp"}, {"Speech", "Global_speech_engine"},
    {"Scale", "form1.width"}, {"Scale", "form1.top"}, {"Scale", "form1.height"}, {"Scale", "form1.left"},
    {"HeaderPanelFonts", "HeaderPanel.font.Name"}, {"HeaderPanelFonts", "HeaderPanel.font.Size"},
    {"Special", "shutdownafterIBUSidle_seconds"}, {"Special", "RadioGroup1.ItemIndex"},
    {"Special", "ShutDownMessage"}, {"COM-Port", "CBPort.ItemIndex"}, {"COM-Port", "DevicePath"},
    {WebsitesSection, nullptr},
    {"Colors", "clFontLow"}, {"Colors", "clFonthigh"}, {"Colors", "ClCustompanelheader"},
    {"Colors", "clreadabletext"}, {"Colors", "clschwarz"}, {"Colors", "cldunkelblau"},
    {"Colors", "clHellblau"}, {"Colors", "clOrange"}, {"Colors", "clUnassigned"},
    {"Colors", "cust1_clschwarz"}, {"Colors", "cust1_cldunkelblau"}, {"Colors", "cust1_clHellblau"},
    {"Colors", "cust1_clOrange"}, {"Colors", "cust1_clUnassigned"},
    {"Colors", "cust2_clschwarz"}, {"Colors", "cust2_cldunkelblau"}, {"Colors", "cust2_clHellblau"},
    {"Colors", "cust2_clOrange"}, {"Colors", "cust2_clUnassigned"},
    {"MainMenueLayout", "New"}, {"Randomizer", "startwithrandom"},
    {"Special", "disablemp3filenamedisplay"}, {"Special", "autoreplay_after_restart"},
    {"Special", "shutdownafterIBUSidle"}, {"Special", "ShutDownMessage_active"},
    {"CD_Emulation", "CD_CheckBox"}, {"NOSEND", "NOSEND_CheckBox"},
    {"Special", "Shutdown_with_checkcontrol"}, {"nonmetricworld", "Miles_checkbox"},
    {"Driverslog", "Global_driverslog_private"},
    {"Radarwarning", "global_radarwarning"}, {"Radarwarning", "Global_radarwarning_acoutsicsignal"},
    {"Radarwarning", "Global_radarwarning_only_warn_if_too_fast"}, {"Radarwarning", "BMWpanel105.tag"},
    {"Radarwarning", "RadarSensitivitylabel"}, {"Driverslog", "record"},
    {"SerialPortNG1", "RTOExtraDelayTime"}, {"SerialPortNG1", "RTOCharDelayTime"},
    {"MainPanelCaptions", "Versiontitle"},
    {"MainPanelCaptions", "BMWpanel89.BMW_supercaption"}, {"MainPanelCaptions", "BMWpanel76.BMW_supercaption"},
    {"MainPanelCaptions", "BMWpanel123.BMW_supercaption"}, {"MainPanelCaptions", "BMWpanel1.BMW_supercaption"},
    {"MainPanelCaptions", "BMWpanel2.BMW_supercaption"}, {"MainPanelCaptions", "BMWpanel3.BMW_supercaption"},
    {"MainPanelCaptions", "BMWpanel6.BMW_supercaption"}, {"MainPanelCaptions", "BMWpanel4.BMW_supercaption"},
    {"MainPanelCaptions", "BMWpanel7.BMW_supercaption"}, {"MainPanelCaptions", "BMWpanel8.BMW_supercaption"},
    {"MainPanelCaptions", "BMWpanel5.BMW_supercaption"}, {"MainPanelCaptions", "BMWpanel9.BMW_supercaption"},
    {"AlternateMenueItemPositions", "E649Panel.Top"}, {"AlternateMenueItemPositions", "E649Panel.left"},
    {"AlternateMenueItemPositions", "E644Panel.Top"}, {"AlternateMenueItemPositions", "E644Panel.left"},
    {"AlternateMenueItemPositions", "E644Panel1.Top"}, {"AlternateMenueItemPositions", "E644Panel1.left"},
    {"AlternateMenueItemPositions", "E644Panel2.Top"}, {"AlternateMenueItemPositions", "E644Panel2.left"},
    {"AlternateMenueItemPositions", "E644Panel3.Top"}, {"AlternateMenueItemPositions", "E644Panel3.left"},
    {"AlternateMenueItemPositions", "E646Panel.Top"}, {"AlternateMenueItemPositions", "E646Panel.left"},
    {"AlternateMenueItemPositions", "E6445Panel.Top"}, {"AlternateMenueItemPositions", "E6445Panel.left"},
    {"AlternateMenueItemPositions", "E60QuilPanel.Top"}, {"AlternateMenueItemPositions", "E60QuilPanel.left"},
    {"AlternateMenueItemPositions", "E6445Panel.Top"}, {"AlternateMenueItemPositions", "E6445Panel.left"},
    {"AlternateMenueItemPositions", "E600Panel.Top"}, {"AlternateMenueItemPositions", "E600Panel.left"},
    {"AlternateMenueItemPositions", "E648Panel.Top"}, {"AlternateMenueItemPositions", "E648Panel.left"},
    {"Grafix", "AlternativeBackgroundBitmap"}, {"Grafix", "MP3PlayingBackgroundBitmap"},
    {"Pathes", "mp3"}, {"Pathes", "movies"}, {"Pathes", "duallog"}, {"Pathes", "Application1"},
    {"Pathes", "LaunchButtonExe"}, {"Pathes", "Radarsound"},
};
// clang-format on

#undef FIELD

} // namespace

std::span<const SettingsKey> settingsKeys()
{
    return kKeys;
}

const SettingsKey* findSettingsKey(const QString& section, const QString& key)
{
    for (const SettingsKey& k : kKeys)
        if (section.compare(QLatin1String(k.section), Qt::CaseInsensitive) == 0
            && key.compare(QLatin1String(k.key), Qt::CaseInsensitive) == 0)
            return &k;
    return nullptr;
}

QString defaultText(const SettingsKey& key, const Settings& settings)
{
    if (key.defaultText[0] != '@')
        return QString::fromUtf8(key.defaultText);
    const SettingsKey* source = findSettingsKey(QLatin1String(key.section), QLatin1String(key.defaultText + 1));
    Q_ASSERT(source && source->type == KeyType::Color);
    // Only read through the accessor.
    return ini::colorToString(std::get<ColorField>(source->field)(const_cast<Settings&>(settings)));
}

bool assignFromText(const SettingsKey& key, Settings& settings, const QString& text, const QLocale& locale)
{
    switch (key.type) {
    case String:
    case ShortString:
        std::get<StringField>(key.field)(settings) = text;
        return true;
    case Integer:
        if (const auto n = ini::parseInteger(text)) {
            std::get<IntField>(key.field)(settings) = *n;
            return true;
        }
        return false;
    case Boolean:
        if (const auto n = ini::parseInteger(text)) {
            std::get<BoolField>(key.field)(settings) = *n != 0;
            return true;
        }
        return false;
    case Float:
        if (const auto x = ini::parseFloat(text, locale)) {
            std::get<FloatField>(key.field)(settings) = *x;
            return true;
        }
        return false;
    case Color:
        if (const auto c = ini::parseColor(text)) {
            std::get<ColorField>(key.field)(settings) = *c;
            return true;
        }
        return false;
    case IntegerText:
        if (const auto n = ini::parseDecimal(text)) {
            if (const auto* f = std::get_if<IntField>(&key.field))
                (*f)(settings) = *n;
            else
                std::get<StringField>(key.field)(settings) = text;
            return true;
        }
        return false;
    }
    return false;
}

void applyDefaults(Settings& settings)
{
    for (const SettingsKey& key : kKeys) {
        if (key.step == WriteOnly)
            continue;
        const bool ok = assignFromText(key, settings, defaultText(key, settings), QLocale::c());
        Q_ASSERT(ok);
        Q_UNUSED(ok);
    }
}

std::span<const SavedKey> saveOrder()
{
    return kSaveOrder;
}

} // namespace zarn
