#include "app/SettingsKeys.h"

#include <QLocale>

#include <vector>

namespace zarn {

namespace {

template <auto member>
void* ownerIn(Settings& s)
{
    return &(s.*member);
}

template <auto member>
void addRows(std::vector<SettingsKey>& keys)
{
    using Owner = std::remove_reference_t<decltype(std::declval<Settings&>().*member)>;
    for (const SettingsRow& row : Owner::keys())
        keys.push_back({row, &ownerIn<member>});
}

// The owners' rows, step by step: the order of reading Zarn.ini at start-up.
std::vector<SettingsKey> collectKeys()
{
    std::vector<SettingsKey> owners;
    addRows<&Settings::window>(owners);
    addRows<&Settings::bus>(owners);
    addRows<&Settings::serial>(owners);
    addRows<&Settings::power>(owners);
    addRows<&Settings::driversLog>(owners);
    addRows<&Settings::radar>(owners);
    addRows<&Settings::media>(owners);
    addRows<&Settings::mail>(owners);
    addRows<&Settings::launcher>(owners);
    std::vector<SettingsKey> keys;
    for (int step = 0; step <= int(LoadStep::WriteOnly); ++step)
        for (const SettingsKey& key : owners)
            if (int(key.step) == step)
                keys.push_back(key);
    return keys;
}

const std::vector<SettingsKey>& allKeys()
{
    static const std::vector<SettingsKey> keys = collectKeys();
    return keys;
}

// clang-format off
const SavedKey kSaveOrder[] = {
    {"Pop3", "ServerName"}, {"Pop3", "ServerPort"}, {"Pop3", "ServerUser"}, {"Pop3", "ServerPassword"},
    {"Pop3", "Security"}, {"Pop3", "CheckCertificate"}, {"Pop3", "CAFile"},
    {"COMPORT", "SerialPortNG1.ParityTyp"}, {"Speech", "Global_speech_engine"},
    {"Scale", "form1.width"}, {"Scale", "form1.top"}, {"Scale", "form1.height"}, {"Scale", "form1.left"},
    {"HeaderPanelFonts", "HeaderPanel.font.Name"}, {"HeaderPanelFonts", "HeaderPanel.font.Size"},
    {"Special", "shutdownafterIBUSidle_seconds"}, {"Special", "RadioGroup1.ItemIndex"},
    {"Special", "ShutDownMessage"}, {"Special", "ExplorerShellCommand"}, {"COM-Port", "CBPort.ItemIndex"}, {"COM-Port", "DevicePath"},
    {WebSettings::Section, nullptr},
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

} // namespace

std::span<const SettingsKey> settingsKeys()
{
    return allKeys();
}

const SettingsKey* findSettingsKey(const QString& section, const QString& key)
{
    for (const SettingsKey& k : allKeys())
        if (section.compare(QLatin1String(k.section), Qt::CaseInsensitive) == 0
            && key.compare(QLatin1String(k.key), Qt::CaseInsensitive) == 0)
            return &k;
    return nullptr;
}

QString defaultText(const SettingsKey& key, const Settings& settings)
{
    // An "@key" default names a key of the same owner.
    const void* owner = key.owner(const_cast<Settings&>(settings));
    std::vector<SettingsRow> sameOwner;
    for (const SettingsKey& k : allKeys())
        if (k.owner == key.owner)
            sameOwner.push_back(k);
    return zarn::defaultText(key, sameOwner, owner);
}

bool assignFromText(const SettingsKey& key, Settings& settings, const QString& text, const QLocale& locale)
{
    return zarn::assignFromText(static_cast<const SettingsRow&>(key), key.owner(settings), text, locale);
}

void applyDefaults(Settings& settings)
{
    for (const SettingsKey& key : allKeys()) {
        if (key.step == LoadStep::WriteOnly)
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
