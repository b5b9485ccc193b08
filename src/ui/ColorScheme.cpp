#include "ui/ColorScheme.h"

#include "ui/FocusMark.h"
#include "ui/AlternateMenu.h"
#include "ui/FocusRings.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWListbox.h"
#include "ui/TBMWpanel.h"
#include "ui/TTransparentPanel.h"
#include "ui/TmKnob.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/RadarPage.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QHeaderView>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QLabel>
#include <QAbstractItemView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTreeView>

#include <initializer_list>

namespace zarn {

SchemeSlot schemeOf(const ColorRoles& r)
{
    return {r.clschwarz, r.cldunkelblau, r.clHellblau, r.clOrange, r.clUnassigned};
}

void setScheme(ColorRoles& r, const SchemeSlot& s)
{
    r.clschwarz = s.clschwarz;
    r.cldunkelblau = s.cldunkelblau;
    r.clHellblau = s.clHellblau;
    r.clOrange = s.clOrange;
    r.clUnassigned = s.clUnassigned;
}

namespace {

using Pick = quint32 (*)(const ColorRoles&);

constexpr Pick None = nullptr;
constexpr Pick Schwarz = [](const ColorRoles& r) { return r.clschwarz; };
constexpr Pick Dunkelblau = [](const ColorRoles& r) { return r.cldunkelblau; };
constexpr Pick Hellblau = [](const ColorRoles& r) { return r.clHellblau; };
constexpr Pick Orange = [](const ColorRoles& r) { return r.clOrange; };
constexpr Pick Readable = [](const ColorRoles& r) { return r.clreadabletext; };
constexpr Pick FontHigh = [](const ColorRoles& r) { return r.clFontHigh; };
constexpr Pick FontLow = [](const ColorRoles& r) { return r.clFontLow; };
constexpr Pick CustomHeader = [](const ColorRoles& r) { return r.ClCustompanelheader; };
constexpr Pick Black = [](const ColorRoles&) { return quint32(0x000000); };

// Controls painted by name: background, text.
struct Row {
    const char* name;
    Pick background;
    Pick text;
};

constexpr Row NamedControls[] = {
    // Status bars.
    {"StatusBar", Dunkelblau, Readable},
    {"StatusBar2", Dunkelblau, Readable},
    {"FilterInfo", Dunkelblau, Readable},
    {"Mailstatus", Dunkelblau, Readable},
    {"Driverslog_Msg", Dunkelblau, Readable},
    {"loglist", Dunkelblau, Hellblau},
    {"Videoerror", Dunkelblau, Readable},
    // Option panels, alerts, the sound page's frames.
    {"MP3OptionsPanel", Dunkelblau, None},
    {"MovieOptionsPanel", Dunkelblau, None},
    {"AlertPanel", Dunkelblau, None},
    {"command_recognized", Dunkelblau, Readable},
    {"Panel76", Dunkelblau, None},
    {"Panel77", Dunkelblau, None},
    // The now-playing display panels and their texts.
    {"paused_label", Schwarz, Readable},
    {"TimeOfPiece", Schwarz, Readable},
    {"Panel64", Schwarz, Readable},
    {"Panel67", Schwarz, Readable},
    {"edTitle", Schwarz, Readable},
    {"edArtist", Schwarz, Readable},
    {"edAlbum", Schwarz, Readable},
    {"edYear", Schwarz, Readable},
    {"edGenre", Schwarz, Readable},
    {"MP3_scroller", Schwarz, Readable},
    {"PlayMP3Image", Schwarz, None},
    {"PaintFrame", Schwarz, None},
    // The mail pages: the header list in the lists' text color, the mail text, the values.
    {"lvHeaders", Schwarz, Orange},
    {"MailBody", Schwarz, Readable},
    {"From", None, Hellblau},
    {"Recipients", None, Hellblau},
    {"Cc", None, Hellblau},
    {"Date", None, Hellblau},
    {"Subject", None, Hellblau},
    // The safety screen is black whatever the scheme.
    {"Sicherheit", Black, None},
    // Adjust-mode markers: their mode flags are left alone, only the color is reset.
    {"Label4", None, Readable},
    {"Label7", None, Readable},
    {"Label62", None, Readable},
    {"Label63", None, Readable},
    {"Label64", None, Readable},
    {"Label65", None, Readable},
    {"Label2", None, Readable},
    // The customized look's pickers show their colors.
    {"Fonthighcolorbutton", FontHigh, None},
    {"Fontlowcolorbutton", FontLow, None},
    {"Custompanelheadercolorbutton", CustomHeader, None},
    // The Layout preview.
    {"Panel15", Schwarz, None},
    {"Panel13", Orange, None},
    {"Panel14", Dunkelblau, None},
    {"Panel19", Dunkelblau, None},
    {"Panel20", Hellblau, None},
    {"Panel31", Hellblau, None},
    {"SpecialEdit11", Dunkelblau, Readable},
    {"SpecialEdit1", Schwarz, Readable},
    {"SpecialEdit2", Schwarz, Readable},
    {"SpecialEdit3", Schwarz, Readable},
    {"SpecialEdit4", Schwarz, Readable},
    {"SpecialEdit44", Schwarz, Readable},
    {"SpecialEdit5", Schwarz, Readable},
    {"SpecialEdit6", Schwarz, Readable},
    {"SpecialEdit7", Schwarz, Readable},
    {"SpecialEdit8", Schwarz, Readable},
    {"SpecialEdit9", Schwarz, Readable},
    {"SpecialEdit10", Schwarz, Readable},
    {"SpecialEdit12", Schwarz, Readable},
};

constexpr const char* HeaderGroup[] = {"HeaderpanelExtO", "HeaderpanelExtU", "Panel83"};

constexpr const char* Indicators[] = {"LogIndicator",    "traceIndicator", "IbusIndicator", "metricIndicator",
                                      "RandomIndicator", "movieimage",     "RadarIndicator"};

// The items of MP3OptionsPanel and MovieOptionsPanel stand on the dark blue panels.
bool isOptionPanelItem(const QString& name)
{
    static const QSet<QString> names = [] {
        QSet<QString> s;
        for (int n = 48; n <= 62; ++n)
            s.insert(QStringLiteral("BMWpanel%1").arg(n));
        for (int n : {72, 73, 86, 87, 88})
            s.insert(QStringLiteral("BMWpanel%1").arg(n));
        return s;
    }();
    return names.contains(name);
}

// Radar scale item: its text color shows its adjust mode and is left as it is.
const QString KeepsTextColor = QStringLiteral("BMWpanel105");

// Sets palette roles in every color group; a widget that already shows the colors
// is not touched (no palette change, no repaint).
void setRoles(QWidget* w, std::initializer_list<QPalette::ColorRole> roles, const QColor& c)
{
    QPalette p = w->palette();
    bool changed = false;
    for (QPalette::ColorRole role : roles) {
        const bool same = p.isBrushSet(QPalette::Active, role) && p.color(QPalette::Active, role) == c
                          && p.color(QPalette::Inactive, role) == c && p.color(QPalette::Disabled, role) == c;
        if (!same) {
            p.setColor(role, c);
            changed = true;
        }
    }
    if (changed)
        w->setPalette(p);
}

void paintBackground(QWidget* w, const QColor& c)
{
    if (auto* item = qobject_cast<TBMWpanel*>(w))
        item->setColor(c);
    else if (auto* panel = qobject_cast<PlainPanel*>(w))
        panel->setColor(c);
    else if (qobject_cast<QLineEdit*>(w))
        setRoles(w, {QPalette::Base}, c);
    else if (qobject_cast<QAbstractItemView*>(w))
        setRoles(w, {QPalette::Base, QPalette::Window}, c);
    else if (qobject_cast<QAbstractScrollArea*>(w))
        setRoles(w, {QPalette::Base, QPalette::Window, QPalette::Button}, c);
    else {
        setRoles(w, {QPalette::Window, QPalette::Button}, c);
        if (!w->autoFillBackground() && !w->isWindow())
            w->setAutoFillBackground(true);
    }
}

void paintText(QWidget* w, const QColor& c)
{
    if (auto* item = qobject_cast<TBMWpanel*>(w))
        item->setFontColor(c);
    else if (auto* panel = qobject_cast<PlainPanel*>(w))
        panel->setFontColor(c);
    else
        setRoles(w, {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}, c);
}

bool isRaised(const QWidget* w)
{
    if (auto* panel = qobject_cast<const PlainPanel*>(w))
        return panel->raised();
    if (auto* frame = qobject_cast<const QFrame*>(w))
        return frame->frameShadow() == QFrame::Raised;
    return false;
}

// A menu item: background, side bar, focus frame and text together. Each setter
// ignores the color it already has.
void paintItem(TBMWpanel* item, const ColorRoles& r, Pick background = nullptr, Pick text = nullptr)
{
    if (!background)
        background = isOptionPanelItem(item->objectName()) ? Dunkelblau : Schwarz;
    item->setColor(fromBgr(background(r)));
    item->setBMW_Lightcolor(fromBgr(r.clHellblau));
    item->setBMW_Focuscolor(fromBgr(r.clOrange));
    if (text)
        item->setFontColor(fromBgr(text(r)));
    else if (item->objectName() != KeepsTextColor)
        item->setFontColor(fromBgr(r.clreadabletext));
}

// A field the user types into. The line edits inside spin boxes and combo boxes are
// parts of their box, not fields of their own.
bool isInputField(const QWidget* w)
{
    if (qobject_cast<const QLineEdit*>(w))
        return !qobject_cast<const QAbstractSpinBox*>(w->parentWidget())
               && !qobject_cast<const QComboBox*>(w->parentWidget());
    if (auto* box = qobject_cast<const QComboBox*>(w))
        return box->isEditable();
    return qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QPlainTextEdit*>(w)
           || qobject_cast<const QTextEdit*>(w);
}

bool hasFrame(const QWidget* w)
{
    if (auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->hasFrame();
    if (auto* spin = qobject_cast<const QAbstractSpinBox*>(w))
        return spin->hasFrame();
    if (auto* box = qobject_cast<const QComboBox*>(w))
        return box->hasFrame();
    if (auto* frame = qobject_cast<const QFrame*>(w))
        return frame->frameShape() != QFrame::NoFrame;
    return false;
}

// A style sheet takes its pictures from files: the spin boxes' arrows in a color are
// drawn once into the program's temporary directory.
QString arrowImage(bool up, const QColor& color)
{
    static const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("%1-%2.png").arg(up ? "up" : "down", color.name().mid(1)));
    if (QFileInfo::exists(path))
        return path;
    QImage image(9, 5, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const QPolygonF triangle = up ? QPolygonF{{0, 5}, {4.5, 0}, {9, 5}} : QPolygonF{{0, 0}, {4.5, 5}, {9, 0}};
    p.drawPolygon(triangle);
    p.end();
    image.save(path);
    return path;
}

// The style draws a field's frame a shade darker than the page, which vanishes on a
// dark scheme; a style sheet draws it, and the text, in the readable color instead.
// The field's own declarations (the password mask) are kept in front of it.
void paintInputField(QWidget* w, const ColorRoles& r)
{
    const QColor text = fromBgr(r.clreadabletext);
    const QColor background = fromBgr(r.clschwarz);
    setRoles(w, {QPalette::Base, QPalette::Window}, background);
    setRoles(w, {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}, text);
    if (!hasFrame(w))
        return;
    static const char* const OwnSheet = "zarnOwnSheet";
    if (!w->property(OwnSheet).isValid())
        w->setProperty(OwnSheet, w->styleSheet());
    const QString own = w->property(OwnSheet).toString();
    const QLatin1String type(w->metaObject()->className());
    QString sheet = QStringLiteral("%1%2 { color: %3; background-color: %4; border: 1px solid %3; "
                                   "border-radius: 2px; padding: 1px 2px; }")
                        .arg(own.isEmpty() ? QString() : QStringLiteral("* { %1 }\n").arg(own), type, text.name(),
                             background.name());
    // A styled spin box loses the style's arrows: they are drawn in the text color.
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(w); spin && spin->buttonSymbols() != QAbstractSpinBox::NoButtons)
        sheet += QStringLiteral("\n%1::up-button, %1::down-button { width: 16px; border: none; }"
                                "\n%1::up-arrow { image: url(%2); }\n%1::down-arrow { image: url(%3); }")
                     .arg(type, arrowImage(true, text), arrowImage(false, text));
    if (w->styleSheet() != sheet)
        w->setStyleSheet(sheet);
}

// Paints the controls painted by role and not by name: the menu items, labels, check
// boxes and text fields.
void paintByClass(QWidget* w, const ColorRoles& r, const QWidget* settingsPage)
{
    if (settingsPage && isInputField(w) && settingsPage->isAncestorOf(w)) {
        paintInputField(w, r);
        return;
    }
    if (auto* item = qobject_cast<TBMWpanel*>(w)) {
        paintItem(item, r);
        return;
    }
    if (qobject_cast<QLabel*>(w)) {
        const bool onSettings = settingsPage && settingsPage->isAncestorOf(w);
        paintText(w, fromBgr(onSettings ? r.clHellblau : r.clreadabletext));
        return;
    }
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        paintText(w, fromBgr(r.clreadabletext));
        return;
    }
    if (qobject_cast<QLineEdit*>(w)) {
        paintBackground(w, fromBgr(r.clschwarz));
        paintText(w, fromBgr(r.clreadabletext));
    }
}

} // namespace

void ApplyColorScheme(ZarnWindow& w)
{
    const ColorRoles& r = w.roles;
    QSet<const QWidget*> done;

    // 1. The customized-look colors live in w.roles; their picker buttons show them
    //    (named rows below).

    // 2., 3. and 10. Controls painted by name.
    for (const Row& row : NamedControls) {
        QWidget* c = w.findChild<QWidget*>(QString::fromLatin1(row.name));
        if (!c)
            continue;
        if (auto* item = qobject_cast<TBMWpanel*>(c)) {
            paintItem(item, r, row.background, row.text);
        } else {
            if (row.background)
                paintBackground(c, fromBgr(row.background(r)));
            if (row.text)
                paintText(c, fromBgr(row.text(r)));
        }
        done.insert(c);
    }

    // 4. Status indicators: raised (on) light with dark text, otherwise the reverse.
    for (const char* name : Indicators) {
        if (QWidget* c = w.findChild<QWidget*>(QString::fromLatin1(name))) {
            const bool on = isRaised(c);
            paintBackground(c, fromBgr(on ? r.clHellblau : r.cldunkelblau));
            paintText(c, fromBgr(on ? r.cldunkelblau : r.clHellblau));
            done.insert(c);
        }
    }

    // 5. The picture menu's words; the focused one keeps the selected color.
    if (AlternateMenu* menu = AlternateMenu::of(w)) {
        menu->updateLabelColors();
        for (const AlternateMenu::Item& def : AlternateMenu::items())
            if (QWidget* label = w.findChild<QWidget*>(QString::fromLatin1(def.label)))
                done.insert(label);
    }

    // The music page's character keys; the one holding the focus keeps its focus color.
    for (const QString& name : FocusRings::characterKeys()) {
        if (QWidget* key = w.findChild<QWidget*>(name)) {
            paintBackground(key, fromBgr(FocusMark::holds(key) ? r.clOrange : r.clschwarz));
            done.insert(key);
        }
    }

    // 6. The music and movie lists; white entries are drawn as 0xFCFCFC.
    for (TBMWListbox* list : w.findChildren<TBMWListbox*>()) {
        list->setClschwarz(r.clschwarz);
        list->setClhellblau(r.clHellblau);
        list->setClOrangina(r.clOrange);
        list->setClSimpletext(r.clreadabletext == 0xFFFFFF ? 0xFCFCFC : r.clreadabletext);
        done.insert(list);
        done.insert(list->viewport());
    }
    // 7. and 8. The now-playing frame: its edges from the line colors; the slider's
    //    groove and handle in the side-bar color.
    if (auto* frame = w.findChild<PlainPanel*>(QStringLiteral("winamppanel1"))) {
        frame->setColor(fromBgr(r.clschwarz));
        frame->setBevelColors(fromBgr(r.clHellblau), fromBgr(r.cldunkelblau));
        done.insert(frame);
    }
    // The mail header list's column captions: on the lists' background, not the style's.
    if (auto* headers = w.findChild<QTreeView*>(QStringLiteral("lvHeaders"))) {
        setRoles(headers->header(), {QPalette::Button, QPalette::Window, QPalette::Base}, fromBgr(r.clschwarz));
        setRoles(headers->header(), {QPalette::ButtonText, QPalette::WindowText, QPalette::Text}, fromBgr(r.clreadabletext));
        done.insert(headers->header());
    }
    if (QWidget* progress = w.findChild<QWidget*>(QStringLiteral("Progress"))) {
        setRoles(progress, {QPalette::Window, QPalette::Base}, fromBgr(r.clschwarz));
        setRoles(progress, {QPalette::Button, QPalette::Highlight}, fromBgr(r.clHellblau));
        done.insert(progress);
    }
    // 7. The spectrum is painted here once it exists.
    //    The radar map and its knob: the map's roles, the knob's face in orange.
    if (auto* radar = qobject_cast<RadarPage*>(w.page(PageRadar))) {
        RadarMap::Colors map;
        map.background = fromBgr(r.cldunkelblau);
        map.schwarz = fromBgr(r.clschwarz);
        map.dunkelblau = fromBgr(r.cldunkelblau);
        map.hellblau = fromBgr(r.clHellblau);
        map.orange = fromBgr(r.clOrange);
        radar->setMapColors(map);
        if (auto* knob = radar->findChild<TmKnob*>(QStringLiteral("mKnob1")); knob && knob->FaceColor() != map.orange)
            knob->setFaceColor(map.orange);
    }

    // 8. and 9. Header: its style follows the active page.
    const bool customHeader = w.activePage() == PageAlternateMenu;
    QWidget* header = w.HeaderPanel();
    const QColor headerColor = fromBgr(customHeader ? r.ClCustompanelheader : r.cldunkelblau);
    QList<QWidget*> headerParts;
    if (header)
        headerParts << header;
    for (const char* name : HeaderGroup)
        if (QWidget* c = w.findChild<QWidget*>(QString::fromLatin1(name)))
            headerParts << c;
    for (QWidget* c : headerParts) {
        paintBackground(c, headerColor);
        if (!customHeader)
            paintText(c, fromBgr(r.clreadabletext));
        done.insert(c);
    }
    // The header caption may be a label of its own.
    if (header)
        for (QLabel* label : header->findChildren<QLabel*>())
            if (!done.contains(label)) {
                if (!customHeader)
                    paintText(label, fromBgr(r.clreadabletext));
                done.insert(label);
            }
    if (QWidget* line = w.findChild<QWidget*>(QStringLiteral("headerline"))) {
        if (auto* panel = qobject_cast<PlainPanel*>(line))
            panel->setBevelColors(fromBgr(r.clHellblau), fromBgr(r.cldunkelblau));
        if (line->isHidden() != customHeader)
            line->setVisible(!customHeader);
        done.insert(line);
    }

    // 2. Everything painted by its class.
    setRoles(&w, {QPalette::Window}, fromBgr(r.clschwarz));
    const QWidget* settingsPage = w.findChild<QWidget*>(QStringLiteral("Options"));
    for (QWidget* c : w.findChildren<QWidget*>()) {
        if (done.contains(c))
            continue;
        paintByClass(c, r, settingsPage);
    }
}

} // namespace zarn
