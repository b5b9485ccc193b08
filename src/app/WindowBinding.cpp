#include "app/WindowBinding.h"

#include "app/Settings.h"
#include "core/AppDir.h"
#include "ui/AlternateMenu.h"
#include "ui/ColorScheme.h"
#include "ui/LayoutTab.h"
#include "ui/SchemeActions.h"
#include "ui/TBMWpanel.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/TabSpecial.h"

#include <QFileInfo>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

namespace zarn {

namespace {
// The main menu items and where their captions live in the model.
struct CaptionField {
    const char* item;
    QString WindowSettings::MainMenuCaptions::*caption;
};
constexpr CaptionField CaptionFields[] = {
    {"BMWpanel1", &WindowSettings::MainMenuCaptions::BMWpanel1},
    {"BMWpanel2", &WindowSettings::MainMenuCaptions::BMWpanel2},
    {"BMWpanel3", &WindowSettings::MainMenuCaptions::BMWpanel3},
    {"BMWpanel6", &WindowSettings::MainMenuCaptions::BMWpanel6},
    {"BMWpanel4", &WindowSettings::MainMenuCaptions::BMWpanel4},
    {"BMWpanel7", &WindowSettings::MainMenuCaptions::BMWpanel7},
    {"BMWpanel89", &WindowSettings::MainMenuCaptions::BMWpanel89},
    {"BMWpanel76", &WindowSettings::MainMenuCaptions::BMWpanel76},
    {"BMWpanel123", &WindowSettings::MainMenuCaptions::BMWpanel123},
    {"BMWpanel8", &WindowSettings::MainMenuCaptions::BMWpanel8},
    {"BMWpanel5", &WindowSettings::MainMenuCaptions::BMWpanel5},
    {"BMWpanel9", &WindowSettings::MainMenuCaptions::BMWpanel9},
};

struct PositionField {
    const char* item;
    MenuItemPosition WindowSettings::AlternateMenuPositions::*position;
};
constexpr PositionField PositionFields[] = {
    {"E649Panel", &WindowSettings::AlternateMenuPositions::E649Panel},
    {"E644Panel", &WindowSettings::AlternateMenuPositions::E644Panel},
    {"E644Panel1", &WindowSettings::AlternateMenuPositions::E644Panel1},
    {"E644Panel2", &WindowSettings::AlternateMenuPositions::E644Panel2},
    {"E644Panel3", &WindowSettings::AlternateMenuPositions::E644Panel3},
    {"E646Panel", &WindowSettings::AlternateMenuPositions::E646Panel},
    {"E6445Panel", &WindowSettings::AlternateMenuPositions::E6445Panel},
    {"E60QuilPanel", &WindowSettings::AlternateMenuPositions::E60QuilPanel},
    {"E648Panel", &WindowSettings::AlternateMenuPositions::E648Panel},
    {"E600Panel", &WindowSettings::AlternateMenuPositions::E600Panel},
};

// The settings page's fields and check boxes.
// Each names its owner's field.
#define SETTING(path) +[](Settings& s) -> auto& { return s.path; }
struct TextField {
    const char* field;
    QString& (*value)(Settings&);
};
const TextField TextFields[] = {
    {"Edit3", SETTING(media.mp3)},
    {"edit4", SETTING(media.movies)},
    {"DualLogEdit", SETTING(driversLog.duallog)},
    {"Edit5", SETTING(launcher.application1)},
    {"RadarSoundEdit", SETTING(radar.radarsound)},
    {"Edit11", SETTING(launcher.launchButtonExe)},
    {"ShutDownMessage", SETTING(bus.shutDownMessage)},
    {"PersonalEmailEdit", SETTING(mail.personalEmail)},
};
struct MailField {
    const char* field;
    QString MailServer::*value;
};
constexpr MailField MailFields[] = {
    {"Pop3ServerEdit", &MailServer::serverName},
    {"Pop3PortEdit", &MailServer::serverPort},
    {"Pop3UserEdit", &MailServer::serverUser},
    {"Pop3PasswordEdit", &MailServer::serverPassword},
};
struct CheckField {
    const char* box;
    bool& (*value)(Settings&);
};
const CheckField CheckFields[] = {
    {"Miles_checkbox", SETTING(bus.miles)},
    {"CD_CheckBox", SETTING(bus.cdEmulation)},
    {"NOSEND_CheckBox", SETTING(bus.noSend)},
    {"startwithrandom", SETTING(media.startWithRandom)},
    {"autoreplay_after_restart", SETTING(media.autoReplayAfterRestart)},
    {"disablemp3filenamedisplay", SETTING(media.disableMp3FileNameDisplay)},
    {"shutdownafterIBUSidle", SETTING(power.shutdownAfterIbusIdle)},
    {"Shutdown_with_checkcontrol", SETTING(bus.shutdownWithCheckControl)},
    {"ShutDownMessage_active", SETTING(bus.shutDownMessageActive)},
};
#undef SETTING

void setText(ZarnWindow& w, const char* field, const QString& text)
{
    if (auto* edit = w.findChild<QLineEdit*>(QLatin1String(field)))
        edit->setText(text);
}

QString textOf(ZarnWindow& w, const char* field, const QString& fallback)
{
    auto* edit = w.findChild<QLineEdit*>(QLatin1String(field));
    return edit ? edit->text() : fallback;
}

void applySettingsPage(const Settings& settings, ZarnWindow& w)
{
    // The accessors hand out references for both directions; nothing is changed here.
    Settings& s = const_cast<Settings&>(settings);
    for (const TextField& f : TextFields)
        setText(w, f.field, f.value(s));
    for (const MailField& f : MailFields)
        setText(w, f.field, s.mail.pop3.*f.value);
    for (const CheckField& f : CheckFields)
        if (auto* box = w.findChild<QCheckBox*>(QLatin1String(f.box))) {
            const QSignalBlocker quiet(box);
            box->setChecked(f.value(s));
        }
    if (auto* seconds = w.findChild<QSpinBox*>(QStringLiteral("shutdownafterIBUSidle_seconds"))) {
        const QSignalBlocker quiet(seconds);
        seconds->setValue(s.power.idleShutdownSeconds);
    }
    if (auto* sites = w.findChild<QPlainTextEdit*>(QStringLiteral("WebsitesMemo")))
        sites->setPlainText(s.web.webSites.join(QLatin1Char('\n')));
    if (TabSpecial* special = w.specialTab())
        special->setPowerOptionIndex(s.power.powerOption);
}

void captureSettingsPage(ZarnWindow& w, Settings& s)
{
    for (const TextField& f : TextFields)
        f.value(s) = textOf(w, f.field, f.value(s));
    for (const MailField& f : MailFields)
        s.mail.pop3.*f.value = textOf(w, f.field, s.mail.pop3.*f.value);
    for (const CheckField& f : CheckFields)
        if (auto* box = w.findChild<QCheckBox*>(QLatin1String(f.box)))
            f.value(s) = box->isChecked();
    if (auto* seconds = w.findChild<QSpinBox*>(QStringLiteral("shutdownafterIBUSidle_seconds")))
        s.power.idleShutdownSeconds = seconds->value();
    if (auto* sites = w.findChild<QPlainTextEdit*>(QStringLiteral("WebsitesMemo")))
        s.web.webSites = sites->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (TabSpecial* special = w.specialTab())
        s.power.powerOption = special->powerOptionIndex();
}
} // namespace

void applyToWindow(const Settings& s, ZarnWindow& w, SchemeActions& schemes)
{

    // Captions and title.
    w.Versiontitle = s.window.versiontitle;
    QHash<QString, QString> captions;
    for (const CaptionField& f : CaptionFields)
        captions.insert(QLatin1String(f.item), s.window.captions.*f.caption);
    w.setMainMenuCaptions(captions);
    AlternateMenu* menu = AlternateMenu::of(w);
    if (menu)
        menu->copyCaptions();
    if (LayoutTab* layout = LayoutTab::of(w))
        layout->copyCaptionsFromMenu();

    schemes.setHeaderFont(s.window.headerFontName, s.window.headerFontSize);

    // Colors.
    setScheme(w.roles, s.window.scheme);
    w.roles.clreadabletext = s.window.clreadabletext;
    w.roles.clFontHigh = s.window.clFontHigh;
    w.roles.clFontLow = s.window.clFontLow;
    w.roles.ClCustompanelheader = s.window.ClCustompanelheader;
    schemes.customSlots = {s.window.cust1, s.window.cust2};
    ApplyColorScheme(w);

    w.setBounds(s.window.form1.left, s.window.form1.top, s.window.form1.width, s.window.form1.height);
    if (menu) {
        QMap<QString, QPoint> positions;
        for (const PositionField& f : PositionFields) {
            const MenuItemPosition& p = s.window.alternateMenu.*f.position;
            positions.insert(QLatin1String(f.item), QPoint(p.left, p.top));
        }
        menu->setItemPositions(positions);
    }

    w.CustomizedLook = s.window.alternateLayout;
    w.ShowPage(ZarnWindow::ShowClassic);

    // Pictures: the chosen file, else the program's own; a missing one leaves none.
    if (menu) {
        const bool chosen = QFileInfo::exists(s.window.alternativeBackgroundBitmap)
            && menu->loadBackground(s.window.alternativeBackgroundBitmap);
        if (chosen)
            setText(w, "Edit6", s.window.alternativeBackgroundBitmap);
        else
            menu->loadBackground(AppDir() + QStringLiteral("E64Image.bmp"));
    }
    if (QFileInfo::exists(s.media.mp3PlayingBackgroundBitmap) && schemes.loadNowPlayingPicture(s.media.mp3PlayingBackgroundBitmap))
        setText(w, "Edit1", s.media.mp3PlayingBackgroundBitmap);
    else
        schemes.loadNowPlayingPicture(AppDir() + QStringLiteral("PlayMP3Image.bmp"));

    applySettingsPage(s, w);
    w.setLaunchPath(s.launcher.launchButtonExe);
    w.setHeaderCaption(QLatin1Char(' ') + s.window.versiontitle + QStringLiteral(" Main"));
}

void captureFromWindow(ZarnWindow& w, const SchemeActions& schemes, Settings& s)
{
    s.window.versiontitle = w.Versiontitle;
    for (const CaptionField& f : CaptionFields)
        if (auto* item = w.findChild<TBMWpanel*>(QLatin1String(f.item)))
            s.window.captions.*f.caption = item->BMW_supercaption();

    s.window.headerFontName = schemes.headerFont().family();
    s.window.headerFontSize = schemes.headerFontSize();

    s.window.scheme = schemeOf(w.roles);
    s.window.clreadabletext = w.roles.clreadabletext;
    s.window.clFontHigh = w.roles.clFontHigh;
    s.window.clFontLow = w.roles.clFontLow;
    s.window.ClCustompanelheader = w.roles.ClCustompanelheader;
    s.window.cust1 = schemes.customSlots.cust1;
    s.window.cust2 = schemes.customSlots.cust2;

    const QRect bounds = w.geometry();
    s.window.form1 = {bounds.width(), bounds.top(), bounds.height(), bounds.left()};
    if (AlternateMenu* menu = AlternateMenu::of(w)) {
        const QMap<QString, QPoint> positions = menu->itemPositions();
        for (const PositionField& f : PositionFields) {
            const QPoint p = positions.value(QLatin1String(f.item));
            s.window.alternateMenu.*f.position = {p.y(), p.x()};
        }
    }
    s.window.alternateLayout = w.CustomizedLook;
    s.window.alternativeBackgroundBitmap = textOf(w, "Edit6", s.window.alternativeBackgroundBitmap);
    s.media.mp3PlayingBackgroundBitmap = textOf(w, "Edit1", s.media.mp3PlayingBackgroundBitmap);
    captureSettingsPage(w, s);
}

} // namespace zarn
