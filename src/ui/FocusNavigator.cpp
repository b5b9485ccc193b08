#include "ui/FocusNavigator.h"

#include "ui/Controls.h"
#include "ui/FocusRings.h"
#include "ui/PageIndex.h"
#include "ui/Players.h"
#include "ui/TBMWpanel.h"

#include <QStackedWidget>
#include <QWidget>

namespace zarn {

namespace {

// The movie player's inner window never keeps the focus of a step.
const QLatin1String MoviePlayerInner("AMComponent4");

} // namespace

FocusNavigator::FocusNavigator(WindowAccess access, QObject* parent)
    : QObject(parent)
    , access_(std::move(access))
{
}

FocusNavigator::~FocusNavigator() = default;

PageInput* FocusNavigator::pageInput() const
{
    return access_.input ? access_.input() : nullptr;
}

Players& FocusNavigator::players() const
{
    static Players none;
    return access_.players ? access_.players() : none;
}

void FocusNavigator::setDisplayActions(std::function<void()> lighter, std::function<void()> darker)
{
    lighter_ = std::move(lighter);
    darker_ = std::move(darker);
}

void FocusNavigator::Lighter()
{
    if (lighter_)
        lighter_();
}

void FocusNavigator::Darker()
{
    if (darker_)
        darker_();
}

QWidget* FocusNavigator::control(const QString& name) const
{
    if (!access_.window || name.isEmpty())
        return nullptr;
    if (access_.window->objectName() == name)
        return access_.window;
    return access_.window->findChild<QWidget*>(name);
}

QWidget* FocusNavigator::focusedControl() const
{
    return access_.window ? access_.window->window()->focusWidget() : nullptr;
}

bool FocusNavigator::canTakeFocus(QWidget* w, bool asTabStop) const
{
    if (!w || !access_.window || w->focusPolicy() == Qt::NoFocus)
        return false;
    if (asTabStop && !(w->focusPolicy() & Qt::TabFocus))
        return false;
    return w->isEnabled() && (w == access_.window || w->isVisibleTo(access_.window));
}

bool FocusNavigator::TurnbottonrightClick()
{
    return step(Turn::Clockwise);
}

bool FocusNavigator::TurnbottonleftClick()
{
    return step(Turn::CounterClockwise);
}

bool FocusNavigator::step(Turn turn)
{
    const bool cw = turn == Turn::Clockwise;
    lastError_.clear();
    knobPosition_ = cw ? (knobPosition_ == 10 ? 0 : knobPosition_ + 1) : (knobPosition_ == 0 ? 10 : knobPosition_ - 1);
    emit knobPositionChanged(knobPosition_);

    QWidget* focus = focusedControl();
    const QString name = focus ? focus->objectName() : QString();

    if (const FocusRings::ExplicitMove* move = FocusRings::explicitMove(name)) {
        if (const char* target = cw ? move->clockwise : move->counterClockwise)
            return explicitMove(QLatin1String(target), move->lowlight);
    }
    PageInput* page = pageInput();
    if (const AdjustMode::Row* row = AdjustMode::rowFor(name); row && adjust_.isOn(row->control)) {
        if (!page || !page->adjust(row->control, turn))
            adjustValue(row->control, turn);
        return true;
    }
    if (page && page->turn(turn, focus))
        return true;

    defaultStep(turn);
    return true;
}

bool FocusNavigator::explicitMove(const QString& target, const char* lowlight)
{
    QWidget* to = control(target);
    if (!canTakeFocus(to, false)) {
        lastError_ = to ? QStringLiteral("Cannot focus %1: it is hidden or disabled").arg(target)
                        : QStringLiteral("Cannot focus %1: there is no such control").arg(target);
        return false;
    }
    to->setFocus(Qt::OtherFocusReason);
    if (lowlight)
        if (auto* marker = qobject_cast<TBMWpanel*>(control(QLatin1String(lowlight))))
            marker->lowlight();
    return true;
}

void FocusNavigator::adjustValue(AdjustMode::Control c, Turn turn)
{
    const int sign = turn == Turn::Clockwise ? 1 : -1;
    switch (c) {
    case AdjustMode::Zoom: {
        // A zoom of 0 or less is not taken, so zooming out stops at 10 %.
        const int zoom = movieZoom_ + 10 * sign;
        if (zoom <= 0)
            break;
        movieZoom_ = zoom;
        players().setMovieZoom(zoom);
        Controls::setCaption(control(QStringLiteral("BMWpanel48")),
                             QStringLiteral("Zoom ") + QString::number(zoom) + QStringLiteral(" %"));
        break;
    }
    case AdjustMode::Luminance:
        if (sign > 0)
            Lighter();
        else
            Darker();
        break;
    default: break; // the other values are their pages' sliders and map scale
    }
}

int FocusNavigator::ringPage() const
{
    auto* pages = access_.window ? access_.window->findChild<QStackedWidget*>(QStringLiteral("PageControl1")) : nullptr;
    if (pages && !pages->isVisibleTo(access_.window))
        return FocusRings::FullScreenMovie;
    if (access_.activePage)
        return access_.activePage();
    return pages ? pages->currentIndex() : 0;
}

void FocusNavigator::defaultStep(Turn turn)
{
    const auto once = [this, turn] {
        // Only the settings page has sub-pages that bring their own tab order.
        if (!ringStep(turn) && ringPage() == PageOptions)
            focusChainStep(turn);
    };
    once();
    if (QWidget* f = focusedControl(); f && f->objectName() == MoviePlayerInner)
        once();
}

// Counter-clockwise walks the page's forward order, clockwise walks it backwards;
// controls that cannot take the focus are skipped and the walk wraps. False when no
// control of the order can take the focus (a sub-page with its own tab order).
bool FocusNavigator::ringStep(Turn turn)
{
    const int page = ringPage();
    QList<QWidget*> order = access_.forwardOrder ? access_.forwardOrder(page) : QList<QWidget*>();
    if (order.isEmpty())
        for (const QString& n : FocusRings::forwardOrder(page))
            order << control(n);
    if (std::none_of(order.begin(), order.end(), [this](QWidget* w) { return canTakeFocus(w, true); }))
        return false;

    const int count = int(order.size());
    const int dir = turn == Turn::CounterClockwise ? 1 : -1;
    QWidget* focus = focusedControl();
    int at = focus ? int(order.indexOf(focus)) : -1;
    if (at < 0)
        at = dir > 0 ? count - 1 : 0; // enter at the first (forward) or last (backward) control
    for (int i = 1; i <= count; ++i) {
        QWidget* w = order[((at + dir * i) % count + count) % count];
        if (canTakeFocus(w, true)) {
            if (w != focus)
                w->setFocus(turn == Turn::CounterClockwise ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}

// The toolkit's own tab order, limited to the active page.
bool FocusNavigator::focusChainStep(Turn turn)
{
    if (!access_.window)
        return false;
    QWidget* scope = access_.window;
    if (auto* pages = access_.window->findChild<QStackedWidget*>(QStringLiteral("PageControl1")); pages && pages->currentWidget())
        scope = pages->currentWidget();
    QWidget* start = focusedControl();
    if (!start || !scope->isAncestorOf(start))
        start = scope;
    QWidget* w = start;
    do {
        w = turn == Turn::CounterClockwise ? w->nextInFocusChain() : w->previousInFocusChain();
        if (scope->isAncestorOf(w) && canTakeFocus(w, true)) {
            w->setFocus(turn == Turn::CounterClockwise ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    } while (w && w != start);
    return false;
}

} // namespace zarn
