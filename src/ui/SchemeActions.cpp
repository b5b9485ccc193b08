#include "ui/SchemeActions.h"

#include "ui/AlternateMenu.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/NowPlayingPage.h"

#include <QAbstractButton>
#include <QAction>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace zarn {

namespace {

const QString BitmapFilter = QStringLiteral("Bitmaps (*.bmp *.BMP)");

QFont boldPixelFont(const QString& name, int px)
{
    QFont f(name);
    f.setPixelSize(std::max(1, px));
    f.setBold(true);
    return f;
}

int sizeOf(const QFont& f)
{
    return f.pixelSize() > 0 ? f.pixelSize() : int(f.pointSizeF());
}

} // namespace

SchemeActions::SchemeActions(ZarnWindow& window)
    : QObject(&window)
    , window_(window)
{
    setObjectName(QStringLiteral("SchemeActions"));
    QWidget* parent = &window;
    colorPicker = [parent](const QColor& initial) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initial, parent);
        return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
    };
    fontPicker = [parent](const QFont& initial) -> std::optional<QFont> {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, initial, parent);
        return ok ? std::optional<QFont>(f) : std::nullopt;
    };
    filePicker = [parent](const QString& filter) {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    };
    setGamma = [](const GammaRamp& ramp) { setDisplayGamma(ramp); };

    // The brightness control is hidden; position 100 (the identity) at every start.
    scrollBar1_ = window.findChild<QScrollBar*>(QStringLiteral("ScrollBar1"));
    if (!scrollBar1_) {
        scrollBar1_ = new QScrollBar(Qt::Horizontal, &window);
        scrollBar1_->setObjectName(QStringLiteral("ScrollBar1"));
        scrollBar1_->hide();
    }
    scrollBar1_->setRange(0, 300);
    scrollBar1_->setValue(100);
    connect(scrollBar1_, &QScrollBar::valueChanged, this, &SchemeActions::ScrollBar1Change);

    connectClick("BMWpanel81", &SchemeActions::BMWpanel81Click);
    connectClick("BMWpanel80", &SchemeActions::BMWpanel80Click);
    connectClick("BMWpanel77", &SchemeActions::BMWpanel77Click);
    connectClick("BMWpanel78", &SchemeActions::BMWpanel78Click);
    connectClick("BMWpanel79", &SchemeActions::BMWpanel79Click);
    connectClick("Button9", &SchemeActions::Button9Click);
    connectClick("Button13", &SchemeActions::Button13Click);
    connectClick("Fonthighcolorbutton", &SchemeActions::FonthighcolorbuttonClick);
    connectClick("Fontlowcolorbutton", &SchemeActions::FontlowcolorbuttonClick);
    connectClick("Custompanelheadercolorbutton", &SchemeActions::CustompanelheadercolorbuttonClick);
    connectClick("SelButton2", &SchemeActions::SelButton2Click);
    connectClick("SelButton9", &SchemeActions::SelButton9Click);
    connectClick("BMWpanel21", &SchemeActions::BMWpanel21Click);
    connectClick("BMWpanel20", &SchemeActions::BMWpanel20Click);

    // The header line is hidden with the customized header; the page switch back to the
    // classic header must show it again, not only the next repaint of the scheme.
    connect(&window, &ZarnWindow::pageShown, this, [this](int page) {
        if (QWidget* line = window_.findChild<QWidget*>(QStringLiteral("headerline")))
            line->setVisible(page != PageAlternateMenu);
    });

    // The real header and status bar pick their roles like their preview mocks.
    // (The music page's and now-playing status bars and the lines of the now-playing
    // and sound pages join here when those pages are built.)
    const QString selectColor = QStringLiteral("Select Color");
    addRoleMenu(window.HeaderPanel(), selectColor, &ColorRoles::cldunkelblau);
    addRoleMenu(window.findChild<QWidget*>(QStringLiteral("StatusBar")), selectColor, &ColorRoles::clHellblau);
    addRoleMenu(window.findChild<QWidget*>(QStringLiteral("headerline")), selectColor, &ColorRoles::clHellblau);
}

void SchemeActions::connectClick(const char* name, void (SchemeActions::*handler)())
{
    QWidget* c = window_.findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* item = qobject_cast<TBMWpanel*>(c))
        connect(item, &TBMWpanel::clicked, this, handler);
    else if (auto* panel = qobject_cast<PlainPanel*>(c))
        connect(panel, &PlainPanel::clicked, this, handler);
    else if (auto* button = qobject_cast<QAbstractButton*>(c))
        connect(button, &QAbstractButton::clicked, this, handler);
}

void SchemeActions::BMWpanel81Click()
{
    setScheme(window_.roles, E39DefaultScheme);
    ApplyColorScheme(window_);
}

void SchemeActions::BMWpanel80Click()
{
    setScheme(window_.roles, customSlots.cust1);
    ApplyColorScheme(window_);
}

void SchemeActions::BMWpanel77Click()
{
    setScheme(window_.roles, customSlots.cust2);
    ApplyColorScheme(window_);
}

// The look changes at the next return to the main menu.
void SchemeActions::BMWpanel78Click()
{
    window_.CustomizedLook = false;
}

void SchemeActions::BMWpanel79Click()
{
    window_.CustomizedLook = true;
}

void SchemeActions::Button9Click()
{
    customSlots.cust1 = schemeOf(window_.roles);
    if (saveSettings)
        saveSettings();
}

void SchemeActions::Button13Click()
{
    customSlots.cust2 = schemeOf(window_.roles);
    if (saveSettings)
        saveSettings();
}

void SchemeActions::pickRoleColor(quint32 ColorRoles::*role, bool repaintOnCancel)
{
    const std::optional<QColor> chosen = colorPicker ? colorPicker(fromBgr(window_.roles.*role)) : std::nullopt;
    if (chosen)
        window_.roles.*role = toBgr(*chosen);
    if (chosen || repaintOnCancel)
        ApplyColorScheme(window_);
}

void SchemeActions::addRoleMenu(QWidget* control, const QString& text, quint32 ColorRoles::*role, bool repaintOnCancel)
{
    if (!control)
        return;
    auto* action = new QAction(text, control);
    connect(action, &QAction::triggered, this, [this, role, repaintOnCancel] { pickRoleColor(role, repaintOnCancel); });
    control->addAction(action);
    control->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void SchemeActions::FonthighcolorbuttonClick()
{
    pickRoleColor(&ColorRoles::clFontHigh);
}

void SchemeActions::FontlowcolorbuttonClick()
{
    pickRoleColor(&ColorRoles::clFontLow);
}

void SchemeActions::CustompanelheadercolorbuttonClick()
{
    pickRoleColor(&ColorRoles::ClCustompanelheader);
}

void SchemeActions::SelButton2Click()
{
    const QString file = filePicker ? filePicker(BitmapFilter) : QString();
    if (file.isEmpty())
        return;
    if (auto* field = window_.findChild<QLineEdit*>(QStringLiteral("Edit1")))
        field->setText(file);
    loadNowPlayingPicture(file);
}

bool SchemeActions::loadNowPlayingPicture(const QString& file)
{
    QImage image;
    if (file.isEmpty() || !image.load(file))
        return false; // the old picture stays
    const QPixmap picture = QPixmap::fromImage(image);
    if (auto* thumbnail = window_.findChild<QLabel*>(QStringLiteral("PlayMP3Image_Thumbnail"))) {
        thumbnail->setScaledContents(true);
        thumbnail->setPixmap(picture);
    }
    if (auto* page = qobject_cast<NowPlayingPage*>(window_.page(PageNowPlaying)))
        page->setDefaultCover(picture);
    if (nowPlayingPicture)
        nowPlayingPicture(picture);
    return true;
}

void SchemeActions::SelButton9Click()
{
    const QString file = filePicker ? filePicker(BitmapFilter) : QString();
    if (file.isEmpty())
        return;
    if (auto* field = window_.findChild<QLineEdit*>(QStringLiteral("Edit6")))
        field->setText(file);
    if (AlternateMenu* menu = AlternateMenu::of(window_))
        menu->loadBackground(file);
}

void SchemeActions::BMWpanel21Click()
{
    scrollBar1_->setValue(scrollBar1_->value() + 10);
}

void SchemeActions::BMWpanel20Click()
{
    scrollBar1_->setValue(scrollBar1_->value() - 10);
}

// Runs only when the position changed (the scroll bar clamps to 0 .. 300).
void SchemeActions::ScrollBar1Change(int position)
{
    if (setGamma)
        setGamma(gammaRamp(position));
}

QFont SchemeActions::headerFont() const
{
    return window_.headerFont();
}

int SchemeActions::headerFontSize() const
{
    return sizeOf(window_.headerFont());
}

void SchemeActions::setHeaderFont(const QString& name, int size)
{
    window_.setHeaderFont(boldPixelFont(name, size));
    if (QWidget* title = window_.findChild<QWidget*>(QStringLiteral("SpecialEdit11")))
        title->setFont(boldPixelFont(name, size * 2 / 5));
}

void SchemeActions::pickHeaderFont()
{
    const std::optional<QFont> chosen = fontPicker ? fontPicker(headerFont()) : std::nullopt;
    if (chosen) {
        QFont f = *chosen;
        const int size = sizeOf(f);
        f.setPixelSize(std::max(1, size));
        window_.setHeaderFont(f);
        if (QWidget* title = window_.findChild<QWidget*>(QStringLiteral("SpecialEdit11")))
            title->setFont(boldPixelFont(f.family(), size * 2 / 5));
    }
    ApplyColorScheme(window_);
}

} // namespace zarn
