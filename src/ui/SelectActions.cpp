#include "ui/SelectActions.h"

#include "ui/Controls.h"
#include "ui/FocusNavigator.h"
#include "ui/FocusRings.h"
#include "ui/PageIndex.h"
#include "ui/Players.h"

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
    safetyScreen_ = control(QStringLiteral("Sicherheit"));
    if (safetyScreen_)
        safetyScreen_->installEventFilter(this);
}

SelectActions::~SelectActions() = default;

PageInput* SelectActions::pageInput() const
{
    return access_.input ? access_.input() : nullptr;
}

Players& SelectActions::players() const
{
    static Players none;
    return access_.players ? access_.players() : none;
}

bool SelectActions::pageSteers(Steer button) const
{
    PageInput* page = pageInput();
    return page && page->steer(button);
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
    PageInput* page = pageInput();

    if (page && page->pressFirst(focus))
        return;
    if (optionItems().contains(name)) {
        Controls::click(focus);
        return;
    }
    if (const AdjustMode::Row* row = AdjustMode::rowFor(name)) {
        setAdjustMode(row->control, !navigator_.adjustMode().isOn(row->control));
        return;
    }
    // The pages' own rules: the now-playing options, the URL list, the mail page, the
    // full-screen movie and the lists. Each holds only on its page, so asking them
    // before the alternate menu's words changes no outcome.
    if (page && page->press(focus))
        return;
    if (alternateMenuItems().contains(name)) {
        Controls::click(focus);
        return;
    }
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
    if (PageInput* page = pageInput())
        page->longPress();
}

void SelectActions::SteerUPClick()
{
    if (pageSteers(Steer::Up))
        return;
    Players& p = players();
    if (p.movieRunning())
        p.skipMovie(1);
    else if (p.trackPlaying())
        p.nextTrack();
}

void SelectActions::SelButton8Click()
{
    if (pageSteers(Steer::Down))
        return;
    Players& p = players();
    if (p.movieRunning())
        p.skipMovie(-1);
    else if (p.randomMode())
        p.endTrack();
    else if (p.trackPlaying())
        p.previousTrack();
}

void SelectActions::LongclicksteerUPClick()
{
    if (pageSteers(Steer::LongUp))
        return;
    if (pageControlVisible())
        players().seekTrack(3);
    else
        players().restartMovieOptionsTimer();
}

void SelectActions::LongclicksteerDOWNClick()
{
    if (pageSteers(Steer::LongDown))
        return;
    if (pageControlVisible())
        players().seekTrack(-3);
    else
        players().restartMovieOptionsTimer();
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
    if (key < 1 || key > 6)
        return;
    if (PageInput* page = pageInput(); page && page->preset(key))
        return;
    switch (key) {
    case 1: navigator_.Darker(); break;
    case 2: movePointer(-10, 0); break;
    case 3: break;
    case 4: navigator_.Lighter(); break;
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
