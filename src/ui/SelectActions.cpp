#include "ui/SelectActions.h"

#include "ui/Controls.h"
#include "ui/FocusNavigator.h"
#include "ui/FocusRings.h"

#include <QEvent>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QWidget>

namespace zarn {

namespace {

QStringList numbered(const char* prefix, int first, int last)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out << QString::fromLatin1(prefix) + QString::number(i);
    return out;
}

constexpr int PageWeb = 2;
constexpr int PageNowPlaying = 5;

} // namespace

const QStringList& SelectActions::optionItems()
{
    static const QStringList names = QStringList{"BMWpanel49", "BMWpanel50", "BMWpanel52"} // movie options
                                     + numbered("BMWpanel", 53, 62)                        // now-playing options
                                     + QStringList{"BMWpanel63",                           // driver's log
                                                   "BMWpanel64", "BMWpanel65", "BMWpanel66", // serial settings
                                                   "BMWpanel67"}                            // restart
                                     + numbered("BMWpanel", 77, 81)                        // schemes
                                     + QStringList{"BMWpanel82", "BMWpanel86", "BMWpanel87", "BMWpanel88"};
    return names;
}

const QStringList& SelectActions::alternateMenuItems()
{
    static const QStringList names{"E649Panel", "E644Panel",  "E644Panel1", "E644Panel2",   "E644Panel3",
                                   "E646Panel", "E6445Panel", "E648Panel",  "E600Panel", "E60QuilPanel"};
    return names;
}

const QStringList& SelectActions::menuItems()
{
    static const QStringList names =
        numbered("BMWpanel", 1, 9) + QStringList{"BMWpanel76", "BMWpanel89", "BMWpanel123"} // main menu
        + numbered("BMWpanel", 10, 22)
        + numbered("BMWpanel", 90, 94) + QStringList{"BMWPanel96", "BMWpanel97", "BMWpanel108"} // radar page
        + QStringList{"BMWpanel136", "BMWpanel137", "BMWpanel125", "BMWpanel127", "BMWpanel128"} // sound effects
        + QStringList{"BMWpanel74", "BMWpanel75"}                                              // question page
        + numbered("BMWpanel", 23, 25) + QStringList{"BMWpanel68", "BMWPanel69"}                // driver's log
        + QStringList{"BMWpanel71"}                                                            // random list
        + numbered("BMWpanel", 26, 30)                                                         // status log
        + QStringList{"BMWpanel31", "BMWpanel32"} + numbered("BMWpanel", 34, 41)                // scale page
        + numbered("BMWpanel", 42, 47)                                                         // mail and web
        + FocusRings::characterKeys();
    return names;
}

SelectActions::SelectActions(WindowAccess access, FocusNavigator& navigator, QObject* parent)
    : QObject(parent)
    , access_(std::move(access))
    , navigator_(navigator)
{
    navigator_.setKnobPress([this] { SelButton1Click(); });
    safetyScreen_ = control(QStringLiteral("Sicherheit"));
    if (safetyScreen_)
        safetyScreen_->installEventFilter(this);
}

SelectActions::~SelectActions()
{
    navigator_.setKnobPress({});
}

void SelectActions::setHooks(SelectHooks* hooks)
{
    hooks_ = hooks ? hooks : &defaultHooks_;
}

void SelectActions::setPlayerHooks(PlayerHooks* hooks)
{
    player_ = hooks ? hooks : &defaultPlayer_;
}

QWidget* SelectActions::control(const QString& name) const
{
    return access_.window ? access_.window->findChild<QWidget*>(name) : nullptr;
}

int SelectActions::activePage() const
{
    if (access_.activePage)
        return access_.activePage();
    auto* pages = access_.window ? access_.window->findChild<QStackedWidget*>(QStringLiteral("PageControl1")) : nullptr;
    return pages ? pages->currentIndex() : 0;
}

bool SelectActions::pageControlVisible() const
{
    QWidget* pages = control(QStringLiteral("PageControl1"));
    return !pages || pages->isVisibleTo(access_.window);
}

void SelectActions::SelButton1Click()
{
    QWidget* focus = navigator_.focusedControl();
    const QString name = focus ? focus->objectName() : QString();

    if (hooks_->closeRearCamera())
        return;
    if (optionItems().contains(name)) {
        Controls::click(focus);
        return;
    }
    if (const AdjustMode::Row* row = AdjustMode::rowFor(name)) {
        setAdjustMode(row->control, !navigator_.adjustMode().isOn(row->control));
        return;
    }
    if (activePage() == PageNowPlaying && hooks_->showNowPlayingOptions())
        return;
    if (hooks_->urlListPress(focus))
        return;
    if (alternateMenuItems().contains(name)) {
        Controls::click(focus);
        return;
    }
    if (hooks_->mailPagePress(focus) || hooks_->showMovieOptions() || hooks_->listPress(focus))
        return;
    if (menuItems().contains(name))
        Controls::click(focus);
    // Anything else ignores the press.
}

void SelectActions::setAdjustMode(AdjustMode::Control c, bool on)
{
    navigator_.adjustMode().setOn(c, on);
    const AdjustMode::Row& row = AdjustMode::rows()[c];
    if (access_.roles)
        Controls::setTextColor(control(QLatin1String(row.indicator)),
                               fromBgr(on ? access_.roles->clOrange : access_.roles->clreadabletext));
    if (row.picture)
        if (QWidget* picture = control(QLatin1String(row.picture)))
            picture->setVisible(on);
}

void SelectActions::longClick()
{
    hooks_->longClick();
}

void SelectActions::SteerUPClick()
{
    if (player_->movieRunning())
        player_->skipMovie(1);
    else if (player_->trackPlaying())
        player_->nextTrack();
}

void SelectActions::SelButton8Click()
{
    if (player_->movieRunning())
        player_->skipMovie(-1);
    else if (player_->randomMode())
        player_->endTrack();
    else if (player_->trackPlaying())
        player_->previousTrack();
}

void SelectActions::LongclicksteerUPClick()
{
    if (pageControlVisible())
        player_->seekTrack(3);
    else
        player_->restartMovieOptionsTimer();
}

void SelectActions::LongclicksteerDOWNClick()
{
    if (pageControlVisible())
        player_->seekTrack(-3);
    else
        player_->restartMovieOptionsTimer();
}

void SelectActions::SelButton7Click()
{
    QWidget* screen = safetyScreen_ ? safetyScreen_.data() : control(QStringLiteral("Sicherheit"));
    if (!screen || !access_.window)
        return;
    if (screen->isVisibleTo(access_.window)) {
        if (access_.showPage)
            access_.showPage(activePage());
        screen->hide();
    } else {
        // Over the whole window, the header included.
        if (access_.undockHeader)
            access_.undockHeader();
        screen->setGeometry(access_.window->rect());
        screen->raise();
        screen->show();
    }
}

void SelectActions::preset(int key)
{
    static const char* const NowPlayingItems[] = {"BMWpanel54", "BMWpanel56", "BMWpanel57",
                                                  "BMWpanel59", "BMWpanel60", "BMWpanel61"};
    if (key < 1 || key > 6)
        return;
    const int page = activePage();
    if (page == PageNowPlaying) {
        // The option item's click, whether or not the options panel is shown.
        Controls::click(control(QLatin1String(NowPlayingItems[key - 1])));
        return;
    }
    switch (key) {
    case 1:
        if (page == PageWeb)
            mouse_.MouseClick();
        else
            navigator_.Darker();
        break;
    case 2: movePointer(-10, 0); break;
    case 3: break;
    case 4:
        if (page == PageWeb)
            movePointer(0, -10);
        else
            navigator_.Lighter();
        break;
    case 5: movePointer(10, 0); break;
    case 6: movePointer(0, 10); break;
    }
}

void SelectActions::movePointer(int dx, int dy)
{
    if (dx)
        mouse_.setX(mouse_.X() + dx);
    if (dy)
        mouse_.setY(mouse_.Y() + dy);
}

bool SelectActions::eventFilter(QObject* watched, QEvent* event)
{
    // A click on the safety screen is the radio/telephone button.
    if (watched == safetyScreen_ && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        SelButton7Click();
        return true;
    }
    return false;
}

} // namespace zarn
