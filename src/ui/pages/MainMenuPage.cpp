#include "ui/pages/MainMenuPage.h"

#include "core/StatusLog.h"
#include "ui/PageIndex.h"
#include "ui/PlainPanel.h"
#include "ui/Players.h"
#include "ui/TBMWpanel.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/PageBuilder.h"

#include <QLabel>
#include <QStackedWidget>

namespace zarn {

namespace {
constexpr int StatusBarHeight = 48;

struct ItemRow {
    const char* name;
    const char* caption;
    int left, top, width, height;
    bool right;
};

// Design geometry on a page of 792 by 534.
const ItemRow Items[] = {
    {"BMWpanel1", "MP3 Player", 0, 0, 273, 81, false},
    {"BMWpanel3", "MPG, DivX && DVD", 0, 81, 273, 81, false},
    {"BMWpanel4", "Driver's log", 0, 162, 273, 81, false},
    {"BMWpanel89", "Radar", 0, 243, 273, 81, false},
    {"BMWpanel76", "Launch", 0, 324, 273, 82, false},
    {"BMWpanel2", "I-Bus Explorer", 392, 0, 401, 81, true},
    {"BMWpanel6", "System Status", 392, 81, 401, 81, true},
    {"BMWpanel7", "Web Browser", 392, 162, 401, 81, true},
    {"BMWpanel8", "eMail", 392, 243, 401, 81, true},
    {"BMWpanel123", "Rear Cam", 392, 324, 401, 82, true},
};
} // namespace

MainMenuPage::MainMenuPage(ZarnWindow& window, QWidget* parent)
    : ZarnPage(QStringLiteral("Main"), parent)
    , window_(window)
{
    using namespace PageBuilder;

    mainImage_ = new QLabel(this);
    mainImage_->setObjectName(QStringLiteral("MainImage"));
    mainImage_->setScaledContents(true);

    for (const ItemRow& r : Items)
        item(this, QLatin1String(r.name), QLatin1String(r.caption), QRect(r.left, r.top, r.width, r.height), r.right);

    // The bottom row stands 407 pixels down the page.
    panel40_ = new QWidget(this);
    panel40_->setObjectName(QStringLiteral("Panel40"));
    panel40_->setGeometry(0, 407, 792, 79);
    item(panel40_, QStringLiteral("BMWpanel5"), QStringLiteral("Shutdown"), QRect(0, 0, 273, 79));
    item(panel40_, QStringLiteral("BMWpanel9"), QStringLiteral("Settings"), QRect(392, 0, 401, 79), true);

    // The time and the city on the left, the day and the date on the right.
    statusBar_ = panel(this, QStringLiteral("StatusBar"), QString(), QRect(0, 486, 792, StatusBarHeight),
                       pixelFont(QStringLiteral("Arial Narrow"), 32, true));
    statusBar_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    dateLabel_ = new QLabel(QStringLiteral(" Someday  24.12.0000  00:00"), statusBar_);
    dateLabel_->setObjectName(QStringLiteral("DateLabel1"));
    dateLabel_->setFont(pixelFont(QStringLiteral("Arial Narrow"), 32, true));
    dateLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // Hidden until radar.bin is found.
    menuItem(QStringLiteral("BMWpanel89"))->hide();
    // Hidden until a launch program is set.
    menuItem(QStringLiteral("BMWpanel76"))->hide();
    applyDocking();

    connectItem("BMWpanel1", &MainMenuPage::BMWpanel1Click);
    connectItem("BMWpanel2", &MainMenuPage::BMWpanel2Click);
    connectItem("BMWpanel3", &MainMenuPage::BMWpanel3Click);
    connectItem("BMWpanel4", &MainMenuPage::BMWpanel4Click);
    connectItem("BMWpanel5", &MainMenuPage::BMWpanel5Click);
    connectItem("BMWpanel6", &MainMenuPage::BMWpanel6Click);
    connectItem("BMWpanel7", &MainMenuPage::BMWpanel7Click);
    connectItem("BMWpanel8", &MainMenuPage::BMWpanel8Click);
    connectItem("BMWpanel9", &MainMenuPage::BMWpanel9Click);
    connectItem("BMWpanel76", &MainMenuPage::BMWpanel76Click);
    connectItem("BMWpanel89", &MainMenuPage::BMWpanel89Click);
    connectItem("BMWpanel123", &MainMenuPage::BMWpanel123Click);
}

void MainMenuPage::connectItem(const char* name, void (MainMenuPage::*handler)())
{
    if (TBMWpanel* p = menuItem(QLatin1String(name)))
        connect(p, &TBMWpanel::clicked, this, handler);
}

const QStringList& MainMenuPage::itemNames()
{
    static const QStringList names{
        QStringLiteral("BMWpanel1"),  QStringLiteral("BMWpanel2"),  QStringLiteral("BMWpanel3"),
        QStringLiteral("BMWpanel6"),  QStringLiteral("BMWpanel4"),  QStringLiteral("BMWpanel7"),
        QStringLiteral("BMWpanel89"), QStringLiteral("BMWpanel76"), QStringLiteral("BMWpanel123"),
        QStringLiteral("BMWpanel8"),  QStringLiteral("BMWpanel5"),  QStringLiteral("BMWpanel9"),
    };
    return names;
}

TBMWpanel* MainMenuPage::menuItem(const QString& name) const
{
    return findChild<TBMWpanel*>(name);
}

void MainMenuPage::applyDocking()
{
    mainImage_->setGeometry(rect());
    mainImage_->lower();
    statusBar_->setGeometry(0, height() - StatusBarHeight, width(), StatusBarHeight);
    dateLabel_->setGeometry(statusBar_->rect().adjusted(0, 0, -8, 0));
}

// The header names the item, then its page is shown.
void MainMenuPage::openFeature(const char* item, int page)
{
    window_.setFeatureCaption(menuItem(QLatin1String(item))->BMW_supercaption());
    window_.ShowPage(page);
}

void MainMenuPage::BMWpanel1Click()
{
    if (StatusLog* log = window_.statusLog())
        log->addMessage(QStringLiteral("BitBtnWithColor1Click"));
    window_.setFeatureCaption(menuItem(QStringLiteral("BMWpanel1"))->BMW_supercaption());
    if (window_.players().trackPlaying()) {
        window_.ShowPage(PageNowPlaying);
        return;
    }
    window_.ShowPage(PageMusic);
    if (QWidget* back = window_.findChild<QWidget*>(QStringLiteral("BMWpanel11")))
        back->setFocus();
    // The list may not take the focus (empty, not built yet); the back item keeps it then.
    if (QWidget* list = window_.findChild<QWidget*>(QStringLiteral("BMWListbox1"));
        list && list->isEnabled() && list->isVisibleTo(&window_))
        list->setFocus();
}

void MainMenuPage::BMWpanel2Click()
{
    openFeature("BMWpanel2", PageIbus);
}

void MainMenuPage::BMWpanel3Click()
{
    if (window_.players().movieRunning()) {
        // The movie fills the screen; the header keeps its caption.
        window_.HeaderPanel()->hide();
        window_.PageControl1()->hide();
        if (QWidget* back = window_.findChild<QWidget*>(QStringLiteral("BMWpanel13")))
            back->setFocus();
        return;
    }
    window_.ShowPage(PageMovies);
    window_.setFeatureCaption(menuItem(QStringLiteral("BMWpanel3"))->BMW_supercaption());
}

void MainMenuPage::BMWpanel4Click()
{
    openFeature("BMWpanel4", PageDriversLog);
}

void MainMenuPage::BMWpanel5Click()
{
    emit exitRequested();
}

void MainMenuPage::BMWpanel6Click()
{
    window_.setFeatureCaption(menuItem(QStringLiteral("BMWpanel6"))->BMW_supercaption());
    emit systemStatusRequested();
    window_.ShowPage(PageSystem);
}

void MainMenuPage::BMWpanel7Click()
{
    window_.setHeaderCaption(QLatin1Char(' ') + window_.Versiontitle + QStringLiteral(" Web"));
    window_.ShowPage(PageWeb);
    emit webRequested();
}

void MainMenuPage::BMWpanel8Click()
{
    openFeature("BMWpanel8", PageMailHeaders);
}

void MainMenuPage::BMWpanel9Click()
{
    openFeature("BMWpanel9", PageOptions);
}

void MainMenuPage::BMWpanel76Click()
{
    emit launchRequested();
}

void MainMenuPage::BMWpanel89Click()
{
    openFeature("BMWpanel89", PageRadar);
}

bool MainMenuPage::pressFirst(QWidget*)
{
    QWidget* camera = window_.findChild<QWidget*>(QStringLiteral("videoarea"));
    if (!camera || !camera->isVisible())
        return false;
    emit rearCameraCloseRequested();
    return true;
}

void MainMenuPage::BMWpanel123Click()
{
    emit rearCameraRequested();
}

} // namespace zarn
