#include "ui/AlternateMenu.h"
#include "ui/ColorScheme.h"
#include "ui/CoverImage.h"
#include "ui/DisplayGamma.h"
#include "ui/LayoutTab.h"
#include "ui/PlainPanel.h"
#include "ui/SchemeActions.h"
#include "ui/TBMWpanel.h"
#include "ui/ZarnWindow.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace zarn;

namespace {

QColor bgr(quint32 v)
{
    return fromBgr(v);
}

// The window with its picture menu and Layout tab, and the dialogs answered by the test.
struct Fixture {
    ZarnWindow w;
    SchemeActions& actions;
    std::optional<QColor> colorAnswer;
    std::optional<QFont> fontAnswer;
    QString fileAnswer;
    QList<QColor> colorAsked;
    int saves = 0;
    QList<GammaRamp> ramps;

    Fixture()
        : actions(*new SchemeActions(w))
    {
        buildAlternateMenu(w, w.page(PageAlternateMenu));
        buildLayoutTab(w, w.layoutTab());
        for (LayoutTab* tab : w.findChildren<LayoutTab*>())
            tab->setSchemeActions(actions);
        actions.colorPicker = [this](const QColor& initial) {
            colorAsked << initial;
            return colorAnswer;
        };
        actions.fontPicker = [this](const QFont&) { return fontAnswer; };
        actions.filePicker = [this](const QString&) { return fileAnswer; };
        actions.saveSettings = [this] { ++saves; };
        actions.setGamma = [this](const GammaRamp& r) { ramps << r; };
        ApplyColorScheme(w);
    }
    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        T* c = w.findChild<T*>(name);
        if (!c)
            qWarning("no control %s", qPrintable(name));
        return c;
    }
    void click(const QString& name)
    {
        QWidget* c = find(name);
        if (auto* item = qobject_cast<TBMWpanel*>(c))
            item->click();
        else if (auto* button = qobject_cast<QPushButton*>(c))
            button->click();
        else
            QFAIL(qPrintable("cannot click " + name));
    }
    // Chooses the one item of a control's right-click menu.
    void rightClickChoose(const QString& name, const QString& text)
    {
        QWidget* c = find(name);
        QVERIFY(c);
        QCOMPARE(c->contextMenuPolicy(), Qt::ActionsContextMenu);
        const QList<QAction*> actions = c->actions();
        QCOMPARE(actions.size(), 1);
        QCOMPARE(actions.first()->text(), text);
        actions.first()->trigger();
    }
};

QColor textOf(QWidget* c)
{
    if (auto* item = qobject_cast<TBMWpanel*>(c))
        return item->fontColor();
    if (auto* panel = qobject_cast<PlainPanel*>(c))
        return panel->fontColor();
    return c->palette().color(qobject_cast<QLineEdit*>(c) ? QPalette::Text : QPalette::WindowText);
}

QColor backgroundOf(QWidget* c)
{
    if (auto* item = qobject_cast<TBMWpanel*>(c))
        return item->color();
    if (auto* panel = qobject_cast<PlainPanel*>(c))
        return panel->color();
    return c->palette().color(qobject_cast<QLineEdit*>(c) ? QPalette::Base : QPalette::Window);
}

bool isOptionPanelItem(const QString& name)
{
    const int n = name.mid(8).toInt();
    return (n >= 48 && n <= 62) || n == 72 || n == 73 || (n >= 86 && n <= 88);
}

// Counts the repaints and palette changes of every control.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* root)
    {
        root->installEventFilter(this);
        for (QWidget* c : root->findChildren<QWidget*>())
            c->installEventFilter(this);
    }
    int paints = 0;
    int paletteChanges = 0;
    QStringList where;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint || e->type() == QEvent::UpdateRequest) {
            ++paints;
            where << o->objectName();
        } else if (e->type() == QEvent::PaletteChange) {
            ++paletteChanges;
            where << o->objectName();
        }
        return false;
    }
};

int distance(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

// What a user types into; the line edits inside spin and combo boxes belong to their box.
bool isInputField(QWidget* w)
{
    QWidget* parent = w->parentWidget();
    if (qobject_cast<QLineEdit*>(w))
        return !qobject_cast<QAbstractSpinBox*>(parent) && !qobject_cast<QComboBox*>(parent);
    if (auto* box = qobject_cast<QComboBox*>(w))
        return box->isEditable();
    return qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QPlainTextEdit*>(w);
}

// Puts a sample text into an empty field, so that its text can be seen.
void fillIn(QWidget* w)
{
    const QString sample = QStringLiteral("WWWW 8888 WWWW 8888");
    if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->text().isEmpty())
        edit->setText(sample);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(w); memo && memo->toPlainText().isEmpty())
        memo->setPlainText(sample);
    else if (auto* box = qobject_cast<QComboBox*>(w); box && box->currentText().isEmpty())
        box->setEditText(sample);
}

// The brightest difference from `page` found within three pixels of an edge, taken at
// the middle of that edge.
int edgeContrast(const QImage& image, const QColor& page, Qt::Edge edge)
{
    int best = 0;
    const int w = image.width(), h = image.height();
    for (int d = 0; d < 3; ++d) {
        QPoint at;
        switch (edge) {
        case Qt::TopEdge: at = {w / 2, d}; break;
        case Qt::BottomEdge: at = {w / 2, h - 1 - d}; break;
        case Qt::LeftEdge: at = {d, h / 2}; break;
        case Qt::RightEdge: at = {w - 1 - d, h / 2}; break;
        }
        best = std::max(best, distance(image.pixelColor(at), page));
    }
    return best;
}

} // namespace

class TstColorScheme : public QObject {
    Q_OBJECT
private slots:
    void e39DefaultPaintsEveryMenuItem();
    void customSlotRestoresTheSavedScheme();
    void indicatorsByTheirState_data();
    void indicatorsByTheirState();
    void headerFollowsTheActivePage();
    void adjustMarkersAreReset();
    void fixedAndNamedControls();
    void characterKeysKeepTheFocusColor();
    void applyingTwiceRepaintsNothing();
    void settingsFieldsStandOutFromThePage_data();
    void settingsFieldsStandOutFromThePage();
    void customizedLookPickers();
    void lookItemsSetTheFlagOnly();
    void layoutPreviewPickers_data();
    void layoutPreviewPickers();
    void readableTextPickerCancelledRepaintsNothing();
    void headerFont();
    void saveMainMenuCaptions();
    void pictureChoosers();
    void darkerTenTimesReachesZero();
    void gammaRampAtTheEnds();
    void gammaRampLevels_data();
    void gammaRampLevels();
    void gammaRampIsMonotoneAndKeepsFullWhite();
};

void TstColorScheme::e39DefaultPaintsEveryMenuItem()
{
    Fixture f;
    f.w.roles.clreadabletext = 0x00FFFF;
    f.click("BMWpanel81");

    QCOMPARE(schemeOf(f.w.roles), E39DefaultScheme);
    QCOMPARE(f.w.roles.clreadabletext, quint32(0x00FFFF)); // not part of a scheme
    const QList<TBMWpanel*> items = f.w.findChildren<TBMWpanel*>();
    QVERIFY(items.size() > 100);
    for (TBMWpanel* item : items) {
        const QString name = item->objectName();
        QCOMPARE(item->color(), isOptionPanelItem(name) ? bgr(0x400000) : QColor(Qt::black));
        QCOMPARE(item->BMW_Lightcolor(), QColor(0x9B, 0x9B, 0x9B));
        QCOMPARE(item->BMW_Focuscolor(), QColor(0xFF, 0x80, 0x00));
        if (name != "BMWpanel105")
            QCOMPARE(item->fontColor(), QColor(0xFF, 0xFF, 0x00));
    }
    QCOMPARE(f.w.palette().color(QPalette::Window), QColor(Qt::black));
}

void TstColorScheme::customSlotRestoresTheSavedScheme()
{
    Fixture f;
    const SchemeSlot mine{0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF};
    setScheme(f.w.roles, mine);
    f.w.roles.clreadabletext = 0x010203;
    f.click("Button9");
    QCOMPARE(f.saves, 1);
    QCOMPARE(f.actions.customSlots.cust1, mine);
    QCOMPARE(f.actions.customSlots.cust2, SchemeSlot{});

    f.click("BMWpanel81");
    QCOMPARE(schemeOf(f.w.roles), E39DefaultScheme);
    f.w.roles.clreadabletext = 0x0A0B0C;
    f.click("BMWpanel80");
    QCOMPARE(schemeOf(f.w.roles), mine);
    QCOMPARE(f.w.roles.clreadabletext, quint32(0x0A0B0C));
    QCOMPARE(f.find<TBMWpanel>("BMWpanel1")->color(), bgr(0x112233));
    QCOMPARE(f.find<TBMWpanel>("BMWpanel1")->BMW_Focuscolor(), bgr(0xAABBCC));

    // The second slot is its own.
    f.click("Button13");
    QCOMPARE(f.saves, 2);
    QCOMPARE(f.actions.customSlots.cust2, mine);
    f.actions.customSlots.cust2 = E39DefaultScheme;
    f.click("BMWpanel77");
    QCOMPARE(schemeOf(f.w.roles), E39DefaultScheme);
}

void TstColorScheme::indicatorsByTheirState_data()
{
    QTest::addColumn<QString>("name");
    for (const char* n : {"LogIndicator", "traceIndicator", "IbusIndicator", "metricIndicator", "RandomIndicator",
                          "movieimage", "RadarIndicator"})
        QTest::addRow("%s", n) << QString::fromLatin1(n);
}

void TstColorScheme::indicatorsByTheirState()
{
    QFETCH(QString, name);
    Fixture f;
    auto* indicator = f.find<PlainPanel>(name);
    QVERIFY(indicator);
    const QColor light = bgr(f.w.roles.clHellblau);
    const QColor dark = bgr(f.w.roles.cldunkelblau);
    QVERIFY(light != dark);

    indicator->setRaised(true);
    ApplyColorScheme(f.w);
    QCOMPARE(indicator->color(), light);
    QCOMPARE(indicator->fontColor(), dark);

    indicator->setRaised(false);
    ApplyColorScheme(f.w);
    QCOMPARE(indicator->color(), dark);
    QCOMPARE(indicator->fontColor(), light);
}

void TstColorScheme::headerFollowsTheActivePage()
{
    Fixture f;
    f.w.roles.ClCustompanelheader = 0x0000FF;
    f.w.roles.cldunkelblau = 0x300000;
    f.w.roles.clHellblau = 0x00FF00;
    auto* header = f.find<PlainPanel>("HeaderPanel");
    auto* line = f.find<PlainPanel>("headerline");

    f.w.ShowPage(ZarnWindow::ShowCustomized);
    ApplyColorScheme(f.w);
    for (const char* n : {"HeaderPanel", "HeaderpanelExtO", "HeaderpanelExtU", "Panel83"})
        QCOMPARE(f.find<PlainPanel>(n)->color(), QColor(Qt::red));
    QVERIFY(line->isHidden());

    // Back to the classic header: its line shows at once, before any repaint of the scheme.
    f.w.ShowPage(ZarnWindow::ShowClassic);
    QVERIFY(!line->isHidden());
    header->setFontColor(Qt::gray);
    ApplyColorScheme(f.w);
    for (const char* n : {"HeaderPanel", "HeaderpanelExtO", "HeaderpanelExtU", "Panel83"})
        QCOMPARE(f.find<PlainPanel>(n)->color(), bgr(0x300000));
    QCOMPARE(header->fontColor(), bgr(f.w.roles.clreadabletext));
    QVERIFY(!line->isHidden());
    QCOMPARE(line->bevelHighlight(), QColor(Qt::green));
    QCOMPARE(line->bevelShadow(), bgr(0x300000));
}

void TstColorScheme::adjustMarkersAreReset()
{
    Fixture f;
    const QColor orange = bgr(f.w.roles.clOrange);
    const QColor readable = bgr(f.w.roles.clreadabletext);
    // The movie options panel's BMWpanel48 and BMWpanel51 join once the movie page has them.
    QStringList markers{"BMWpanel124", "Label4", "Label7", "Label62", "Label63", "Label64", "Label65", "Label2"};
    for (const char* later : {"BMWpanel48", "BMWpanel51"})
        if (f.w.findChild<QWidget*>(later))
            markers << later;
    for (const QString& n : markers) {
        QWidget* c = f.find(n);
        QVERIFY(c);
        if (auto* item = qobject_cast<TBMWpanel*>(c)) {
            item->setFontColor(orange);
        } else {
            QPalette p = c->palette();
            p.setColor(QPalette::WindowText, orange);
            c->setPalette(p);
        }
    }
    auto* scale = f.find<TBMWpanel>("BMWpanel105");
    scale->setFontColor(orange);

    ApplyColorScheme(f.w);
    for (const QString& n : markers)
        QCOMPARE(textOf(f.find(n)), readable);
    QCOMPARE(scale->fontColor(), orange);
}

void TstColorScheme::fixedAndNamedControls()
{
    Fixture f;
    f.w.roles.clschwarz = 0x010101;
    f.w.roles.cldunkelblau = 0x020202;
    f.w.roles.clHellblau = 0x030303;
    f.w.roles.clOrange = 0x040404;
    f.w.roles.clreadabletext = 0x050505;
    ApplyColorScheme(f.w);

    QCOMPARE(f.find<PlainPanel>("Sicherheit")->color(), QColor(Qt::black));
    for (const char* n : {"StatusBar", "StatusBar2", "FilterInfo"}) {
        QCOMPARE(backgroundOf(f.find(n)), bgr(0x020202));
        QCOMPARE(textOf(f.find(n)), bgr(0x050505));
    }
    // Settings labels are light, other labels and text fields readable.
    QCOMPARE(textOf(f.find<QLabel>("AlternativeStart")), bgr(0x030303));
    QCOMPARE(backgroundOf(f.find("Edit6")), bgr(0x010101));
    QCOMPARE(textOf(f.find("Edit6")), bgr(0x050505));
    // The Layout preview.
    QCOMPARE(backgroundOf(f.find("Panel15")), bgr(0x010101));
    QCOMPARE(backgroundOf(f.find("Panel13")), bgr(0x040404));
    QCOMPARE(backgroundOf(f.find("Panel14")), bgr(0x020202));
    QCOMPARE(backgroundOf(f.find("Panel19")), bgr(0x020202));
    QCOMPARE(backgroundOf(f.find("Panel20")), bgr(0x030303));
    QCOMPARE(backgroundOf(f.find("Panel31")), bgr(0x030303));
    QCOMPARE(backgroundOf(f.find("SpecialEdit11")), bgr(0x020202));
    for (const char* n : {"SpecialEdit1", "SpecialEdit44", "SpecialEdit12"}) {
        QCOMPARE(backgroundOf(f.find(n)), bgr(0x010101));
        QCOMPARE(textOf(f.find(n)), bgr(0x050505));
    }
    // The now-playing display: dark panels with readable texts, the frame's edges in
    // the line colors.
    for (const char* n : {"paused_label", "TimeOfPiece", "Panel64", "Panel67", "edTitle", "edGenre", "MP3_scroller"}) {
        QCOMPARE(backgroundOf(f.find(n)), bgr(0x010101));
        QCOMPARE(textOf(f.find(n)), bgr(0x050505));
    }
    auto* frame = f.find<PlainPanel>("winamppanel1");
    QCOMPARE(frame->color(), bgr(0x010101));
    QCOMPARE(frame->bevelHighlight(), bgr(0x030303));
    QCOMPARE(frame->bevelShadow(), bgr(0x020202));
}

void TstColorScheme::characterKeysKeepTheFocusColor()
{
    Fixture f;
    f.w.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w));
    f.w.ShowPage(PageMusic);
    f.w.roles.clschwarz = 0x010101;
    f.w.roles.clOrange = 0x0000FF;
    auto* a = f.find<PlainPanel>("BitBtnWithColor10");
    auto* b = f.find<PlainPanel>("BitBtnWithColor11");
    a->setFocus();
    QVERIFY(a->hasFocus());
    ApplyColorScheme(f.w);
    QCOMPARE(a->color(), QColor(Qt::red));
    QCOMPARE(b->color(), bgr(0x010101));
}

void TstColorScheme::applyingTwiceRepaintsNothing()
{
    Fixture f;
    f.w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.w));
    f.click("BMWpanel81");
    QCoreApplication::processEvents();

    PaintCounter counter(&f.w);
    ApplyColorScheme(f.w);
    QCoreApplication::processEvents();
    QVERIFY2(counter.paletteChanges == 0 && counter.paints == 0, qPrintable(counter.where.join(' ')));

    // The counter does see a change.
    f.w.roles.clHellblau = 0x123456;
    ApplyColorScheme(f.w);
    QCoreApplication::processEvents();
    QVERIFY(counter.paints > 0);
}

void TstColorScheme::settingsFieldsStandOutFromThePage_data()
{
    QTest::addColumn<quint32>("page");
    QTest::addColumn<quint32>("readable");
    QTest::addRow("navy page, white text") << 0x400000u << 0xFFFFFFu;
    QTest::addRow("black page (E39 default), white text") << 0x000000u << 0xFFFFFFu;
    QTest::addRow("white page, black text") << 0xFFFFFFu << 0x000000u;
}

// Every field of every settings sub-page shows its frame and its text in the readable
// color, seen as pixels. The Layout preview's caption fields stand for menu items and
// have no frame: only their text is looked at.
void TstColorScheme::settingsFieldsStandOutFromThePage()
{
    QFETCH(quint32, page);
    QFETCH(quint32, readable);
    Fixture f;
    f.w.roles.clschwarz = page;
    f.w.roles.clreadabletext = readable;
    ApplyColorScheme(f.w);
    f.w.setBounds(0, 0, 800, 600);
    f.w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.w));
    f.w.ShowPage(PageOptions);
    auto* notebook = f.find<QTabWidget>("TabbedNotebook1");
    QVERIFY(notebook);
    const QColor background = bgr(page);
    const QColor text = bgr(readable);
    QStringList seen;
    for (int t = 0; t < notebook->count(); ++t) {
        notebook->setCurrentIndex(t);
        const QList<QWidget*> children = notebook->widget(t)->findChildren<QWidget*>();
        for (QWidget* field : children) {
            if (!isInputField(field) || !field->isVisible())
                continue;
            fillIn(field);
            QCoreApplication::processEvents();
            const QImage image = field->grab().toImage();
            const QString where = notebook->tabText(t) + QLatin1Char(' ') + field->objectName();
            const bool preview = field->objectName().startsWith(QLatin1String("SpecialEdit"));
            if (!preview)
                for (Qt::Edge edge : {Qt::TopEdge, Qt::BottomEdge, Qt::LeftEdge, Qt::RightEdge})
                    QVERIFY2(edgeContrast(image, background, edge) > 300, qPrintable(where + " has no visible frame"));
            int textPixels = 0;
            for (int y = 3; y < image.height() - 3; ++y)
                for (int x = 3; x < image.width() - 3; ++x)
                    if (distance(image.pixelColor(x, y), text) < 90)
                        ++textPixels;
            QVERIFY2(textPixels > 12, qPrintable(where + " shows no text in the readable color"));
            seen << field->objectName();
        }
    }
    for (const char* name : {"Pop3ServerEdit", "Pop3PortEdit", "Pop3UserEdit", "Pop3PasswordEdit",
                             "PersonalEmailEdit", "WebsitesMemo", "Edit6", "Edit1", "Edit3", "SpinEdit1",
                             "DevicePath", "shutdownafterIBUSidle_seconds", "ShutDownMessage", "SpecialEdit1"})
        QVERIFY2(seen.contains(QLatin1String(name)), name);
}

void TstColorScheme::customizedLookPickers()
{
    Fixture f;
    f.colorAnswer = QColor(0x12, 0x34, 0x56);
    f.click("Fontlowcolorbutton");
    QCOMPARE(f.colorAsked.value(0), bgr(0x0000FF));
    QCOMPARE(f.w.roles.clFontLow, toBgr(QColor(0x12, 0x34, 0x56)));
    // The picture menu's words take the new color at once.
    for (const AlternateMenu::Item& item : AlternateMenu::items())
        QCOMPARE(textOf(f.find(QString::fromLatin1(item.label))), QColor(0x12, 0x34, 0x56));
    QCOMPARE(backgroundOf(f.find("Fontlowcolorbutton")), QColor(0x12, 0x34, 0x56));

    f.colorAnswer = QColor(Qt::green);
    f.click("Fonthighcolorbutton");
    QCOMPARE(f.w.roles.clFontHigh, 0x00FF00u);
    f.click("Custompanelheadercolorbutton");
    QCOMPARE(f.w.roles.ClCustompanelheader, 0x00FF00u);

    // Cancelled: nothing changes.
    f.colorAnswer.reset();
    const ColorRoles before = f.w.roles;
    f.click("Fonthighcolorbutton");
    QCOMPARE(f.w.roles, before);
}

void TstColorScheme::lookItemsSetTheFlagOnly()
{
    Fixture f;
    const int page = f.w.activePage();
    f.click("BMWpanel79");
    QVERIFY(f.w.CustomizedLook);
    QCOMPARE(f.w.activePage(), page);
    f.click("BMWpanel78");
    QVERIFY(!f.w.CustomizedLook);
}

void TstColorScheme::layoutPreviewPickers_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("menuText");
    QTest::addColumn<int>("role"); // index into the role list below
    QTest::addRow("menu area") << "Panel15" << "Select color" << 0;
    QTest::addRow("focused item") << "Panel13" << "Select Color" << 1;
    QTest::addRow("header mock") << "Panel14" << "Select Color" << 2;
    QTest::addRow("status bar mock") << "Panel19" << "Select Color" << 2;
    QTest::addRow("real header") << "HeaderPanel" << "Select Color" << 2;
    QTest::addRow("left side bar") << "Panel20" << "Select Color" << 3;
    QTest::addRow("right side bar") << "Panel31" << "Select Color" << 3;
    QTest::addRow("main status bar") << "StatusBar" << "Select Color" << 3;
    QTest::addRow("header line") << "headerline" << "Select Color" << 3;
    QTest::addRow("first caption field") << "SpecialEdit1" << "Select Font Color for all car readable text" << 4;
}

void TstColorScheme::layoutPreviewPickers()
{
    QFETCH(QString, control);
    QFETCH(QString, menuText);
    QFETCH(int, role);
    const quint32 ColorRoles::*roles[] = {&ColorRoles::clschwarz, &ColorRoles::clOrange, &ColorRoles::cldunkelblau,
                                          &ColorRoles::clHellblau, &ColorRoles::clreadabletext};
    Fixture f;
    const QColor chosen(0x21, 0x43, 0x65);
    f.colorAnswer = chosen;
    f.rightClickChoose(control, menuText);
    QCOMPARE(f.colorAsked.size(), 1);
    QCOMPARE(f.w.roles.*roles[role], toBgr(chosen));
    // Applied at once: the mock shows the role.
    const QString mock = QStringList{"Panel15", "Panel13", "Panel14", "Panel20", "SpecialEdit1"}[role];
    if (role == 4)
        QCOMPARE(textOf(f.find(mock)), chosen);
    else
        QCOMPARE(backgroundOf(f.find(mock)), chosen);
}

void TstColorScheme::readableTextPickerCancelledRepaintsNothing()
{
    Fixture f;
    const QColor shown = textOf(f.find("SpecialEdit1"));
    f.w.roles.clreadabletext = 0x123456; // not applied yet
    f.colorAnswer.reset();
    f.rightClickChoose("SpecialEdit1", "Select Font Color for all car readable text");
    QCOMPARE(textOf(f.find("SpecialEdit1")), shown);

    // Other pickers repaint even when cancelled.
    f.rightClickChoose("Panel15", "Select color");
    QCOMPARE(textOf(f.find("SpecialEdit1")), bgr(0x123456));
}

void TstColorScheme::headerFont()
{
    Fixture f;
    f.click("Button23");
    auto* title = f.find<QLineEdit>("SpecialEdit11");
    QCOMPARE(title->font().pixelSize(), 13);
    QVERIFY(title->font().bold());
    QCOMPARE(title->font().family(), QString("Arial"));
    QCOMPARE(f.w.headerFont().family(), QString("Arial"));
    QCOMPARE(f.actions.headerFontSize(), 34);
    QVERIFY(f.w.headerFont().bold());

    QFont chosen("Liberation Serif");
    chosen.setPixelSize(41);
    f.fontAnswer = chosen;
    f.rightClickChoose("SpecialEdit11", "Select Font");
    QCOMPARE(f.w.headerFont().family(), QString("Liberation Serif"));
    QCOMPARE(f.actions.headerFontSize(), 41);
    QCOMPARE(title->font().family(), QString("Liberation Serif"));
    QCOMPARE(title->font().pixelSize(), 16); // 41 x 0.4 = 16.4
    QVERIFY(title->font().bold());

    f.fontAnswer.reset();
    f.rightClickChoose("SpecialEdit11", "Select Font");
    QCOMPARE(f.actions.headerFontSize(), 41);

    f.actions.setHeaderFont("Arial", 35);
    QCOMPARE(title->font().pixelSize(), 14);
}

void TstColorScheme::saveMainMenuCaptions()
{
    Fixture f;
    LayoutTab* tab = LayoutTab::of(f.w);
    QVERIFY(tab);
    tab->copyCaptionsFromMenu();
    QCOMPARE(f.find<QLineEdit>("SpecialEdit2")->text(), QString("MPG, DivX && DVD"));
    QCOMPARE(f.find<QLineEdit>("SpecialEdit11")->text(), QString("Zarn"));

    int n = 0;
    for (const LayoutTab::Field& field : LayoutTab::fields())
        f.find<QLineEdit>(QString::fromLatin1(field.edit))->setText(QStringLiteral("Caption %1").arg(++n));
    f.find<QLineEdit>("SpecialEdit11")->setText("Car PC");
    f.click("Button16");
    n = 0;
    for (const LayoutTab::Field& field : LayoutTab::fields())
        QCOMPARE(f.find<TBMWpanel>(QString::fromLatin1(field.item))->BMW_supercaption(), QStringLiteral("Caption %1").arg(++n));
    QCOMPARE(f.w.Versiontitle, QString("Car PC"));
    QCOMPARE(f.saves, 1);
}

void TstColorScheme::pictureChoosers()
{
    Fixture f;
    QTemporaryDir dir;
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::cyan);
    const QString good = dir.filePath("car.bmp");
    QVERIFY(image.save(good));
    const QString broken = dir.filePath("broken.bmp");
    {
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a bitmap");
    }
    QList<QSize> nowPlaying;
    f.actions.nowPlayingPicture = [&](const QPixmap& p) { nowPlaying << p.size(); };
    AlternateMenu* menu = AlternateMenu::of(f.w);
    QVERIFY(menu);

    f.fileAnswer = good;
    f.click("SelButton9");
    QCOMPARE(f.find<QLineEdit>("Edit6")->text(), good);
    QCOMPARE(menu->background().size(), QSize(64, 48));
    QCOMPARE(f.w.alternateBackgroundSize(), QSize(64, 48));
    QVERIFY(!f.find<QLabel>("AlternativeStart")->pixmap().isNull());
    f.click("SelButton2");
    QCOMPARE(f.find<QLineEdit>("Edit1")->text(), good);
    QCOMPARE(nowPlaying, QList<QSize>{QSize(64, 48)});
    QVERIFY(!f.find<QLabel>("PlayMP3Image_Thumbnail")->pixmap().isNull());
    // With no track's cover the now-playing page shows the new default.
    auto* cover = f.find<CoverImage>("PlayMP3Image");
    QVERIFY(cover->showsDefault());
    const QImage shown = cover->shown().toImage();
    QCOMPARE(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(Qt::cyan));

    // A file that cannot be read: the path shows, the old pictures stay.
    f.fileAnswer = broken;
    f.click("SelButton9");
    QCOMPARE(f.find<QLineEdit>("Edit6")->text(), broken);
    QCOMPARE(menu->background().size(), QSize(64, 48));
    f.click("SelButton2");
    QCOMPARE(nowPlaying.size(), 1);

    // Cancelled: nothing changes.
    f.fileAnswer.clear();
    f.click("SelButton9");
    QCOMPARE(f.find<QLineEdit>("Edit6")->text(), broken);
}

void TstColorScheme::darkerTenTimesReachesZero()
{
    Fixture f;
    QScrollBar* bar = f.find<QScrollBar>("ScrollBar1");
    QVERIFY(bar);
    QCOMPARE(bar->value(), 100);
    QVERIFY(bar->isHidden());

    f.click("BMWpanel21");
    QCOMPARE(f.ramps.size(), 1);
    QVERIFY(f.ramps.last() == gammaRamp(110));
    f.click("BMWpanel20");
    for (int i = 0; i < 10; ++i)
        f.click("BMWpanel20");
    QCOMPARE(bar->value(), 0);
    QCOMPARE(f.ramps.size(), 12);
    QVERIFY(f.ramps.last() == gammaRamp(0));
    f.click("BMWpanel20"); // the eleventh press from the start: nothing changes
    QCOMPARE(bar->value(), 0);
    QCOMPARE(f.ramps.size(), 12);

    bar->setValue(295);
    f.click("BMWpanel21");
    QCOMPARE(bar->value(), 300);
    f.click("BMWpanel21");
    QCOMPARE(f.ramps.size(), 14);
}

void TstColorScheme::gammaRampAtTheEnds()
{
    const GammaRamp identity = gammaRamp(100);
    for (int i = 0; i < 256; ++i)
        QCOMPARE(int(identity[std::size_t(i)]), i * 256);

    const GammaRamp black = gammaRamp(0);
    for (int i = 0; i < 255; ++i)
        QCOMPARE(int(black[std::size_t(i)]), 0);
    QCOMPARE(int(black[255]), 255 * 256);
}

void TstColorScheme::gammaRampLevels_data()
{
    // Expected values computed on their own: 255 * (1 - (1 - i/255)^(p/100)), rounded, x 256.
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("entry");
    QTest::addRow("p 200, level 1 (1.996)") << 200 << 1 << 2 * 256;
    QTest::addRow("p 200, level 128 (191.749)") << 200 << 128 << 192 * 256;
    QTest::addRow("p 200, level 254 (254.996)") << 200 << 254 << 255 * 256;
    QTest::addRow("p 300, level 1 (2.988)") << 300 << 1 << 3 * 256;
    QTest::addRow("p 50, level 1 (0.5005, just above a half)") << 50 << 1 << 1 * 256;
    QTest::addRow("p 50, level 128 (75.042)") << 50 << 128 << 75 * 256;
    QTest::addRow("p 10, level 1 (0.100)") << 10 << 1 << 0;
    QTest::addRow("p 10, level 254 (108.484)") << 10 << 254 << 108 * 256;
}

void TstColorScheme::gammaRampLevels()
{
    QFETCH(int, position);
    QFETCH(int, level);
    QFETCH(int, entry);
    QCOMPARE(int(gammaRamp(position)[std::size_t(level)]), entry);
}

void TstColorScheme::gammaRampIsMonotoneAndKeepsFullWhite()
{
    for (int p = 0; p <= 300; p += 10) {
        const GammaRamp ramp = gammaRamp(p);
        QCOMPARE(int(ramp[255]), 65280);
        QCOMPARE(int(ramp[0]), 0);
        for (int i = 1; i < 256; ++i)
            QVERIFY2(ramp[std::size_t(i)] >= ramp[std::size_t(i - 1)], qPrintable(QString("p %1 level %2").arg(p).arg(i)));
    }
}

QTEST_MAIN(TstColorScheme)
#include "tst_colorscheme.moc"
