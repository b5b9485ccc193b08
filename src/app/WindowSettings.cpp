#include "app/WindowSettings.h"

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
    QString Settings::MainMenuCaptions::*caption;
};
constexpr CaptionField CaptionFields[] = {
    {"BMWpanel1", &Settings::MainMenuCaptions::BMWpanel1},
    {"BMWpanel2", &Settings::MainMenuCaptions::BMWpanel2},
    {"BMWpanel3", &Settings::MainMenuCaptions::BMWpanel3},
    {"BMWpanel6", &Settings::MainMenuCaptions::BMWpanel6},
    {"BMWpanel4", &Settings::MainMenuCaptions::BMWpanel4},
    {"BMWpanel7", &Settings::MainMenuCaptions::BMWpanel7},
    {"BMWpanel89", &Settings::MainMenuCaptions::BMWpanel89},
    {"BMWpanel76", &Settings::MainMenuCaptions::BMWpanel76},
    {"BMWpanel123", &Settings::MainMenuCaptions::BMWpanel123},
    {"BMWpanel8", &Settings::MainMenuCaptions::BMWpanel8},
    {"BMWpanel5", &Settings::MainMenuCaptions::BMWpanel5},
    {"BMWpanel9", &Settings::MainMenuCaptions::BMWpanel9},
};

struct PositionField {
    const char* item;
    MenuItemPosition Settings::AlternateMenuPositions::*position;
};
constexpr PositionField PositionFields[] = {
    {"E649Panel", &Settings::AlternateMenuPositions::E649Panel},
    {"E644Panel", &Settings::AlternateMenuPositions::E644Panel},
    {"E644Panel1", &Settings::AlternateMenuPositions::E644Panel1},
    {"E644Panel2", &Settings::AlternateMenuPositions::E644Panel2},
    {"E644Panel3", &Settings::AlternateMenuPositions::E644Panel3},
    {"E646Panel", &Settings::AlternateMenuPositions::E646Panel},
    {"E6445Panel", &Settings::AlternateMenuPositions::E6445Panel},
    {"E60QuilPanel", &Settings::AlternateMenuPositions::E60QuilPanel},
    {"E648Panel", &Settings::AlternateMenuPositions::E648Panel},
    {"E600Panel", &Settings::AlternateMenuPositions::E600Panel},
};

// The settings page's fields and check boxes.
struct TextField {
    const char* field;
    QString Settings::*value;
};
constexpr TextField TextFields[] = {
    {"Edit3", &Settings::mp3},
    {"edit4", &Settings::movies},
    {"DualLogEdit", &Settings::duallog},
    {"Edit5", &Settings::application1},
    {"RadarSoundEdit", &Settings::radarsound},
    {"Edit11", &Settings::launchButtonExe},
    {"ShutDownMessage", &Settings::shutDownMessage},
    {"PersonalEmailEdit", &Settings::personalEmail},
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
    bool Settings::*value;
};
constexpr CheckField CheckFields[] = {
    {"Miles_checkbox", &Settings::miles},
    {"CD_CheckBox", &Settings::cdEmulation},
    {"NOSEND_CheckBox", &Settings::noSend},
    {"startwithrandom", &Settings::startWithRandom},
    {"autoreplay_after_restart", &Settings::autoReplayAfterRestart},
    {"disablemp3filenamedisplay", &Settings::disableMp3FileNameDisplay},
    {"shutdownafterIBUSidle", &Settings::shutdownAfterIbusIdle},
    {"Shutdown_with_checkcontrol", &Settings::shutdownWithCheckControl},
    {"ShutDownMessage_active", &Settings::shutDownMessageActive},
};

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

void applySettingsPage(const Settings& s, ZarnWindow& w)
{
    for (const TextField& f : TextFields)
        setText(w, f.field, s.*f.value);
    for (const MailField& f : MailFields)
        setText(w, f.field, s.pop3.*f.value);
    for (const CheckField& f : CheckFields)
        if (auto* box = w.findChild<QCheckBox*>(QLatin1String(f.box))) {
            const QSignalBlocker quiet(box);
            box->setChecked(s.*f.value);
        }
    if (auto* seconds = w.findChild<QSpinBox*>(QStringLiteral("shutdownafterIBUSidle_seconds"))) {
        const QSignalBlocker quiet(seconds);
        seconds->setValue(s.idleShutdownSeconds);
    }
    if (auto* sites = w.findChild<QPlainTextEdit*>(QStringLiteral("WebsitesMemo")))
        sites->setPlainText(s.webSites.join(QLatin1Char('\n')));
    if (TabSpecial* special = w.specialTab())
        special->setPowerOptionIndex(s.powerOption);
}

void captureSettingsPage(ZarnWindow& w, Settings& s)
{
    for (const TextField& f : TextFields)
        s.*f.value = textOf(w, f.field, s.*f.value);
    for (const MailField& f : MailFields)
        s.pop3.*f.value = textOf(w, f.field, s.pop3.*f.value);
    for (const CheckField& f : CheckFields)
        if (auto* box = w.findChild<QCheckBox*>(QLatin1String(f.box)))
            s.*f.value = box->isChecked();
    if (auto* seconds = w.findChild<QSpinBox*>(QStringLiteral("shutdownafterIBUSidle_seconds")))
        s.idleShutdownSeconds = seconds->value();
    if (auto* sites = w.findChild<QPlainTextEdit*>(QStringLiteral("WebsitesMemo")))
        s.webSites = sites->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (TabSpecial* special = w.specialTab())
        s.powerOption = special->powerOptionIndex();
}
} // namespace

void applyToWindow(const Settings& s, ZarnWindow& w)
{
    SchemeActions& schemes = SchemeActions::of(w);

    // Captions and title.
    w.Versiontitle = s.versiontitle;
    QHash<QString, QString> captions;
    for (const CaptionField& f : CaptionFields)
        captions.insert(QLatin1String(f.item), s.captions.*f.caption);
    w.setMainMenuCaptions(captions);
    AlternateMenu* menu = AlternateMenu::of(w);
    if (menu)
        menu->copyCaptions();
    if (LayoutTab* layout = LayoutTab::of(w))
        layout->copyCaptionsFromMenu();

    schemes.setHeaderFont(s.headerFontName, s.headerFontSize);

    // Colors.
    setScheme(w.roles, s.scheme);
    w.roles.clreadabletext = s.clreadabletext;
    w.roles.clFontHigh = s.clFontHigh;
    w.roles.clFontLow = s.clFontLow;
    w.roles.ClCustompanelheader = s.ClCustompanelheader;
    schemes.customSlots = {s.cust1, s.cust2};
    ApplyColorScheme(w);

    w.setBounds(s.form1.left, s.form1.top, s.form1.width, s.form1.height);
    if (menu) {
        QMap<QString, QPoint> positions;
        for (const PositionField& f : PositionFields) {
            const MenuItemPosition& p = s.alternateMenu.*f.position;
            positions.insert(QLatin1String(f.item), QPoint(p.left, p.top));
        }
        menu->setItemPositions(positions);
    }

    w.CustomizedLook = s.alternateLayout;
    w.ShowPage(ZarnWindow::ShowClassic);

    // Pictures: the chosen file, else the program's own; a missing one leaves none.
    if (menu) {
        const bool chosen = QFileInfo::exists(s.alternativeBackgroundBitmap)
            && menu->loadBackground(s.alternativeBackgroundBitmap);
        if (chosen)
            setText(w, "Edit6", s.alternativeBackgroundBitmap);
        else
            menu->loadBackground(AppDir() + QStringLiteral("E64Image.bmp"));
    }
    if (QFileInfo::exists(s.mp3PlayingBackgroundBitmap) && schemes.loadNowPlayingPicture(s.mp3PlayingBackgroundBitmap))
        setText(w, "Edit1", s.mp3PlayingBackgroundBitmap);
    else
        schemes.loadNowPlayingPicture(AppDir() + QStringLiteral("PlayMP3Image.bmp"));

    applySettingsPage(s, w);
    w.setLaunchPath(s.launchButtonExe);
    w.setHeaderCaption(QLatin1Char(' ') + s.versiontitle + QStringLiteral(" Main"));
}

void captureFromWindow(ZarnWindow& w, Settings& s)
{
    SchemeActions& schemes = SchemeActions::of(w);
    s.versiontitle = w.Versiontitle;
    for (const CaptionField& f : CaptionFields)
        if (auto* item = w.findChild<TBMWpanel*>(QLatin1String(f.item)))
            s.captions.*f.caption = item->BMW_supercaption();

    s.headerFontName = schemes.headerFont().family();
    s.headerFontSize = schemes.headerFontSize();

    s.scheme = schemeOf(w.roles);
    s.clreadabletext = w.roles.clreadabletext;
    s.clFontHigh = w.roles.clFontHigh;
    s.clFontLow = w.roles.clFontLow;
    s.ClCustompanelheader = w.roles.ClCustompanelheader;
    s.cust1 = schemes.customSlots.cust1;
    s.cust2 = schemes.customSlots.cust2;

    const QRect bounds = w.geometry();
    s.form1 = {bounds.width(), bounds.top(), bounds.height(), bounds.left()};
    if (AlternateMenu* menu = AlternateMenu::of(w)) {
        const QMap<QString, QPoint> positions = menu->itemPositions();
        for (const PositionField& f : PositionFields) {
            const QPoint p = positions.value(QLatin1String(f.item));
            s.alternateMenu.*f.position = {p.y(), p.x()};
        }
    }
    s.alternateLayout = w.CustomizedLook;
    s.alternativeBackgroundBitmap = textOf(w, "Edit6", s.alternativeBackgroundBitmap);
    s.mp3PlayingBackgroundBitmap = textOf(w, "Edit1", s.mp3PlayingBackgroundBitmap);
    captureSettingsPage(w, s);
}

} // namespace zarn
