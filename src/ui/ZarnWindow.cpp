#include "ui/ZarnWindow.h"

#include "core/StatusLog.h"
#include "ui/AlertSign.h"
#include "ui/AlternateMenu.h"
#include "ui/FocusRings.h"
#include "ui/LayoutTab.h"
#include "ui/Players.h"
#include "ui/MovieScreen.h"
#include "ui/PlainPanel.h"
#include "ui/ScreenLayout.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/DriversLogPage.h"
#include "ui/pages/IbusPage.h"
#include "ui/pages/MailHeadersPage.h"
#include "ui/pages/MailPage.h"
#include "ui/pages/MainMenuPage.h"
#include "ui/pages/MoviesPage.h"
#include "ui/pages/MusicPage.h"
#include "ui/pages/NowPlayingPage.h"
#include "ui/pages/OptionsPage.h"
#include "ui/pages/PageBuilder.h"
#include "ui/pages/QuestionPage.h"
#include "ui/pages/RadarPage.h"
#include "ui/pages/ScalePage.h"
#include "ui/pages/SoundFxPage.h"
#include "ui/pages/SystemPage.h"
#include "ui/pages/WebPage.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>

#include <utility>

namespace zarn {

namespace {
constexpr int HeaderHeight = 65;
constexpr int HeaderLineHeight = 8;
// Above the window's top edge, the page control's tab row is out of sight.
constexpr int CustomizedPageTop = -23;

Players& nothingPlays()
{
    static Players none;
    return none;
}

struct Indicator {
    const char* name;
    const char* caption;
    int width;
    bool visible;
};
// Left to right in the header's indicator row.
const Indicator Indicators[] = {
    {"RandomIndicator", "Rnd...", 44, false}, {"movieimage", "Movie", 52, false},
    {"LogIndicator", "L", 26, true},          {"traceIndicator", "T", 26, true},
    {"IbusIndicator", "I", 26, true},         {"metricIndicator", "?", 26, true},
    {"RadarIndicator", "R", 26, true},
};

// The back items, each returning to the main menu.
const char* const BackItems[] = {"BMWpanel11", "BMWpanel13", "BMWpanel42", "BMWpanel44", "BMWpanel15",
                                 "BMWpanel16", "BMWpanel19", "BMWpanel90", "BMWpanel32"};
} // namespace

ZarnWindow::ZarnWindow(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , players_(&nothingPlays())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Zarn"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, fromBgr(roles.clschwarz));
    pal.setColor(QPalette::WindowText, fromBgr(roles.clreadabletext));
    setPalette(pal);

    pageControl_ = new QStackedWidget(this);
    pageControl_->setObjectName(QStringLiteral("PageControl1"));
    // The pages lie inside the control's frame and below its (hidden) tab row.
    pageControl_->setContentsMargins(4, 24, 2, 2);
    const QList<QWidget*> pages{
        new MainMenuPage(*this), new OptionsPage, new WebPage,    new MoviesPage,   new MusicPage,       new NowPlayingPage,
        new MailHeadersPage, new MailPage,   new ZarnPage(QStringLiteral("TabSheet1")), new ScalePage,
        new DriversLogPage, new SystemPage,  new IbusPage,   new RadarPage,    new SoundFxPage,     new QuestionPage,
    };
    for (QWidget* p : pages)
        pageControl_->addWidget(p);
    // The music list's position goes into the header behind the music item's caption.
    connect(static_cast<MusicPage*>(pages[PageMusic]), &MusicPage::positionShown, this, [this](const QString& position) {
        const TBMWpanel* music = item(QStringLiteral("BMWpanel1"));
        setFeatureCaption((music ? music->BMW_supercaption() : QString()) + QStringLiteral(" - ") + position);
    });
    pageControl_->setCurrentIndex(PageNowPlaying);

    buildHeader();
    buildWindowPanels();
    wireItems();
    buildAlternateMenu(*this, page(PageAlternateMenu));
    buildLayoutTab(*this, layoutTab());
    resize(800, 600);
    enterClassicHeader();
    ArrangeLayout();
}

ZarnWindow::~ZarnWindow()
{
    // The pages' focus and event handlers read the window (its colors, its captions).
    // The focus leaves and the pages go while it is still whole: from QWidget's
    // destructor they would reach a window that is no longer a ZarnWindow.
    if (QWidget* focus = focusWidget())
        focus->clearFocus();
    delete std::exchange(pageControl_, nullptr);
}

void ZarnWindow::buildHeader()
{
    header_ = new PlainPanel(QStringLiteral("HeaderPanel"), this, QStringLiteral(" Zarn"));
    header_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(34);
    font.setBold(true);
    header_->setFont(font);
    header_->setFontColor(fromBgr(roles.clreadabletext));
    connect(header_, &PlainPanel::clicked, this, &ZarnWindow::headerClicked);
    connect(header_, &PlainPanel::doubleClicked, this, &ZarnWindow::headerDoubleClicked);

    headerLine_ = new PlainPanel(QStringLiteral("headerline"), header_);
    headerLine_->setBevel(PlainPanel::Bevel::Raised);
    headerLine_->setBevelWidth(HeaderLineHeight / 2);

    headerExtO_ = new PlainPanel(QStringLiteral("HeaderpanelExtO"), header_);
    headerExtU_ = new PlainPanel(QStringLiteral("HeaderpanelExtU"), header_);
    panel83_ = new PlainPanel(QStringLiteral("Panel83"), header_);
    auto* row = new QHBoxLayout(panel83_);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(3);
    row->addStretch(1);
    const QFont indicatorFont = PageBuilder::pixelFont(QStringLiteral("Arial"), 18, true);
    for (const Indicator& i : Indicators) {
        auto* p = new PlainPanel(QLatin1String(i.name), panel83_, QLatin1String(i.caption));
        p->setFont(indicatorFont);
        p->setFixedSize(i.width, 26);
        p->setRaised(false);
        p->setVisible(i.visible);
        row->addWidget(p);
    }
    auto* random = panel83_->findChild<PlainPanel*>(QStringLiteral("RandomIndicator"));
    random->setColor(Qt::red);
    panel83_->findChild<PlainPanel*>(QStringLiteral("IbusIndicator"))->setToolTip(QStringLiteral("Ibus connection indicator"));
}

void ZarnWindow::buildWindowPanels()
{
    using PageBuilder::pixelFont;
    // Beneath everything else: the header and the pages cover it until a movie plays.
    movieScreen_ = new MovieScreen(this);
    offpanel_ = new PlainPanel(QStringLiteral("offpanel"), this,
                               QStringLiteral("press MODE-> TAPE or click this screen for  simulation - click main header for "
                                              "MOUSE simulation !"));
    offpanel_->setFont(pixelFont(QStringLiteral("Arial Narrow"), 21, false, true));
    offpanel_->setFontColor(QColor(0xE3, 0xF0, 0xFF));
    offpanel_->setColor(QColor(0x59, 0x6D, 0x82));
    connect(offpanel_, &PlainPanel::clicked, this, &ZarnWindow::offpanelClicked);

    sicherheit_ = new PlainPanel(QStringLiteral("Sicherheit"), this, QStringLiteral("Zu Ihrer Sicherheit TV nur im Stand"));
    sicherheit_->setFont(pixelFont(QStringLiteral("Arial Narrow"), 45, false, true));
    sicherheit_->setColor(Qt::black);
    sicherheit_->setFontColor(fromBgr(roles.clreadabletext));
    sicherheit_->hide();
    connect(sicherheit_, &PlainPanel::clicked, this, &ZarnWindow::sicherheitClicked);

    alert_ = new AlertSign(this);

    // The steering simulator's buttons are put in by its builder.
    wheelbuttons_ = new QWidget(this);
    wheelbuttons_->setObjectName(QStringLiteral("Wheelbuttons"));
    wheelbuttons_->setGeometry(50, 50, 320, 280);
    wheelbuttons_->hide();
}

TBMWpanel* ZarnWindow::item(const QString& name) const
{
    return findChild<TBMWpanel*>(name);
}

void ZarnWindow::connectItem(const char* name, void (ZarnWindow::*handler)())
{
    if (TBMWpanel* p = item(QLatin1String(name)))
        connect(p, &TBMWpanel::clicked, this, handler);
}

void ZarnWindow::wireItems()
{
    for (const char* name : BackItems)
        connectItem(name, &ZarnWindow::BackItemClick);
    connectItem("BMWpanel10", &ZarnWindow::BMWpanel10Click);
    connectItem("BMWpanel31", &ZarnWindow::BMWpanel31Click);
    for (const char* name : {"BMWpanel17", "BMWpanel33"}) {
        if (TBMWpanel* p = item(QLatin1String(name)))
            connect(p, &TBMWpanel::clicked, this, &ZarnWindow::systemStatusRefreshRequested);
    }

    auto* scale = static_cast<ScalePage*>(page(PageScale));
    connect(scale, &ScalePage::nudge, this, &ZarnWindow::nudgeWindow);

    auto* ibus = static_cast<IbusPage*>(page(PageIbus));
    connect(ibus, &IbusPage::traceIndicatorChanged, this, [this](bool raised) {
        if (auto* t = findChild<PlainPanel*>(QStringLiteral("traceIndicator")))
            t->setRaised(raised);
        emit applyColorSchemeRequested();
    });
    connect(ibus, &IbusPage::randomListRequested, this, &ZarnWindow::randomListRequested);
    connect(ibus, &IbusPage::saveLogFailed, this, &ZarnWindow::saveLogFailed);

    if (auto* launch = findChild<QLineEdit*>(QStringLiteral("Edit11")))
        connect(launch, &QLineEdit::textChanged, this, &ZarnWindow::Edit11Change);
}

void ZarnWindow::setPlayers(Players* players)
{
    players_ = players ? players : &nothingPlays();
}

void ZarnWindow::attachStatusLog(StatusLog& log)
{
    log_ = &log;
    static_cast<IbusPage*>(page(PageIbus))->attachStatusLog(log);
    static_cast<NowPlayingPage*>(page(PageNowPlaying))->setStatusLog(&log);
}

StatusLog* ZarnWindow::statusLog() const
{
    return log_;
}

QWidget* ZarnWindow::page(int index) const
{
    return pageControl_->widget(index);
}

MainMenuPage* ZarnWindow::mainMenu() const
{
    return static_cast<MainMenuPage*>(page(PageMain));
}

int ZarnWindow::activePage() const
{
    return pageControl_->currentIndex();
}

PageInput* ZarnWindow::visibleInput() const
{
    QWidget* shown = pageControl_->isHidden() ? page(PageMovies) : pageControl_->currentWidget();
    return static_cast<ZarnPage*>(shown);
}

QWidget* ZarnWindow::HeaderPanel() const
{
    return header_;
}

void ZarnWindow::setHeaderCaption(const QString& caption)
{
    header_->setCaption(caption);
}

QString ZarnWindow::headerCaption() const
{
    return header_->caption();
}

void ZarnWindow::setFeatureCaption(const QString& caption)
{
    setHeaderCaption(QLatin1Char(' ') + Versiontitle + QLatin1Char(' ') + caption);
}

QFont ZarnWindow::headerFont() const
{
    return header_->font();
}

void ZarnWindow::setHeaderFont(const QFont& font)
{
    header_->setFont(font);
}

void ZarnWindow::setHeaderDock(HeaderDock dock)
{
    headerDock_ = dock;
    placeHeader();
}

void ZarnWindow::placeHeader()
{
    switch (headerDock_) {
    case HeaderDock::Top:
        header_->setGeometry(0, 0, width(), HeaderHeight);
        break;
    case HeaderDock::Bottom:
        header_->setGeometry(0, height() - HeaderHeight, width(), HeaderHeight);
        break;
    case HeaderDock::None:
        break;
    }
    const int w = header_->width();
    const int h = header_->height();
    headerLine_->setGeometry(0, h - HeaderLineHeight, w, HeaderLineHeight);
    // The indicator row at the right, with the two extension panels above and below it.
    constexpr int RowWidth = 260;
    constexpr int RowHeight = 30;
    const int rowTop = (h - HeaderLineHeight - RowHeight) / 2;
    headerExtO_->setGeometry(w - RowWidth, 0, RowWidth, rowTop);
    panel83_->setGeometry(w - RowWidth, rowTop, RowWidth, RowHeight);
    headerExtU_->setGeometry(w - RowWidth, rowTop + RowHeight, RowWidth, h - HeaderLineHeight - rowTop - RowHeight);
}

void ZarnWindow::enterCustomizedHeader()
{
    const QColor c = fromBgr(roles.ClCustompanelheader);
    for (PlainPanel* p : {header_, headerExtO_, headerExtU_, panel83_})
        p->setColor(c);
    headerLine_->setBevelColors(c, c);
    header_->setBevel(PlainPanel::Bevel::Raised);
    customizedHeader_ = true;
    headerDock_ = HeaderDock::Bottom;
    placeHeader();
    pageControl_->move(pageControl_->x(), CustomizedPageTop);
    update();
}

void ZarnWindow::enterClassicHeader()
{
    header_->setBevel(PlainPanel::Bevel::None);
    customizedHeader_ = false;
    headerDock_ = HeaderDock::Top;
    placeHeader();
    const QColor c = fromBgr(roles.cldunkelblau);
    for (PlainPanel* p : {header_, headerExtO_, headerExtU_, panel83_})
        p->setColor(c);
    headerLine_->setBevelColors(fromBgr(roles.clschwarz), fromBgr(roles.clHellblau));
    pageControl_->move(pageControl_->x(), header_->height() - 24);
}

void ZarnWindow::ShowPage(int n)
{
    const int current = activePage();
    if (n == ShowCustomized || (n == PageAlternateMenu && current != PageAlternateMenu)) {
        n = PageAlternateMenu;
        enterCustomizedHeader();
    } else if (n == ShowClassic || (current == PageAlternateMenu && n != PageAlternateMenu && n < ShowClassic)) {
        if (n == ShowClassic)
            n = PageMain;
        enterClassicHeader();
    }
    if (n < 0 || n >= PageCount)
        return;

    if (n == PageNowPlaying)
        static_cast<MusicPage*>(page(PageMusic))->selectPlayingFile(players_->playingFileName());
    static_cast<MoviesPage*>(page(PageMovies))->Videoerror()->setCaption(QStringLiteral(" "));

    QWidget* const old = pageControl_->currentWidget();
    QWidget* const focus = focusWidget();
    pageControl_->setCurrentIndex(n);
    // The focus leaves with the page it was on and enters at the new page's first item.
    if (!focus || focus == old || old->isAncestorOf(focus)) {
        const QList<QWidget*> order = forwardOrder(n);
        if (!order.isEmpty())
            order.first()->setFocus();
        else
            page(n)->setFocus();
    }
    emit pageShown(n);
}

void ZarnWindow::ShowMainMenu()
{
    ShowPage(CustomizedLook ? PageAlternateMenu : PageMain);
    setHeaderCaption(QLatin1Char(' ') + Versiontitle + QStringLiteral(" Main"));
}

QList<QWidget*> ZarnWindow::forwardOrder(int index) const
{
    QList<QWidget*> out;
    QWidget* p = page(index);
    if (!p)
        return out;
    const auto canTakeFocus = [p](QWidget* w) {
        return w->isVisibleTo(p) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
    };
    for (const QString& name : FocusRings::forwardOrder(index)) {
        QWidget* w = p->findChild<QWidget*>(name);
        if (w && canTakeFocus(w))
            out << w;
    }
    if (index == PageOptions) {
        auto* notebook = p->findChild<QTabWidget*>(QStringLiteral("TabbedNotebook1"));
        if (notebook && notebook->currentIndex() != OptionsPage::Schemes) {
            for (QWidget* w : notebook->currentWidget()->findChildren<QWidget*>()) {
                // A spin box's inner field hands its focus on to the spin box.
                if (!w->focusProxy() && canTakeFocus(w) && !out.contains(w))
                    out << w;
            }
        }
    }
    return out;
}

void ZarnWindow::setMainMenuCaptions(const QHash<QString, QString>& captions)
{
    for (auto it = captions.cbegin(); it != captions.cend(); ++it) {
        if (!MainMenuPage::itemNames().contains(it.key()))
            continue;
        if (TBMWpanel* p = item(it.key()))
            p->setBMW_supercaption(it.value());
    }
}

void ZarnWindow::setRadarItemVisible(bool visible)
{
    item(QStringLiteral("BMWpanel89"))->setVisible(visible);
}

void ZarnWindow::setLaunchPath(const QString& path)
{
    auto* field = findChild<QLineEdit*>(QStringLiteral("Edit11"));
    if (field->text() != path)
        field->setText(path); // runs Edit11Change
    else
        Edit11Change(path);
}

void ZarnWindow::Edit11Change(const QString& text)
{
    item(QStringLiteral("BMWpanel76"))->setVisible(!text.isEmpty());
}

void ZarnWindow::ArrangeLayout()
{
    zarn::ArrangeLayout(*this);
}

void ZarnWindow::setBounds(int left, int top, int width, int height)
{
    setGeometry(left, top, width, height);
}

void ZarnWindow::nudgeWindow(int dx, int dy, int dw, int dh)
{
    const QRect g = geometry();
    setBounds(g.x() + dx, g.y() + dy, g.width() + dw, g.height() + dh);
}

void ZarnWindow::setAlternateBackgroundSize(const QSize& size)
{
    backgroundSize_ = size;
    ArrangeLayout();
}

ComTab* ZarnWindow::comTab() const
{
    return static_cast<OptionsPage*>(page(PageOptions))->comTab();
}

TabSpecial* ZarnWindow::specialTab() const
{
    return static_cast<OptionsPage*>(page(PageOptions))->specialTab();
}

QWidget* ZarnWindow::layoutTab() const
{
    return static_cast<OptionsPage*>(page(PageOptions))->layoutTab();
}

void ZarnWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void ZarnWindow::FormResize()
{
    placeHeader();
    offpanel_->setGeometry(rect());
    sicherheit_->setGeometry(rect());
    ArrangeLayout();
    // Stacking: pages, header, the full-window panels, the floating simulator.
    header_->raise();
    offpanel_->raise();
    sicherheit_->raise();
    wheelbuttons_->raise();
}

void ZarnWindow::BackItemClick()
{
    setHeaderCaption(QLatin1Char(' ') + Versiontitle + QStringLiteral(" Main"));
    ShowMainMenu();
}

void ZarnWindow::BMWpanel10Click()
{
    const auto text = [this](const char* name) { return findChild<QLineEdit*>(QLatin1String(name))->text(); };
    // A port that is not a number is taken as the POP3 default, as saving the settings does.
    bool ok = false;
    int port = text("Pop3PortEdit").trimmed().toInt(&ok);
    if (!ok)
        port = 110;
    emit mailSettingsApplied(text("Pop3ServerEdit"), port, text("Pop3UserEdit"), text("Pop3PasswordEdit"));
    BackItemClick();
}

void ZarnWindow::BMWpanel31Click()
{
    ShowPage(PageScale);
}

} // namespace zarn
