#include "ui/FocusNavigator.h"

#include "ui/FocusMark.h"
#include "ui/Controls.h"
#include "ui/FocusRings.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSet>
#include <QStackedWidget>
#include <QTextEdit>
#include <QWheelEvent>
#include <QWidget>

namespace zarn {

namespace {

// Plain panels that act as focusable items and show the focus by their background.
const QStringList& enterHighlighted()
{
    static const QStringList names = QStringList{"BitBtnWithColor94", "BitBtnWithColor100"} + FocusRings::characterKeys();
    return names;
}
const QStringList& exitColored()
{
    static const QStringList names =
        enterHighlighted() + QStringList{"BitBtnWithColor40", "BitBtnWithColor82", "BitBtnWithColor83"};
    return names;
}

bool within(const QWidget* item, const QWidget* w)
{
    return w && (w == item || item->isAncestorOf(w));
}

// Typing into a field must not turn the knob: R, L and C are ordinary letters there.
bool acceptsText(const QWidget* w)
{
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return !e->isReadOnly();
    if (auto* e = qobject_cast<const QTextEdit*>(w))
        return !e->isReadOnly();
    if (auto* e = qobject_cast<const QPlainTextEdit*>(w))
        return !e->isReadOnly();
    if (auto* c = qobject_cast<const QComboBox*>(w))
        return c->isEditable();
    return qobject_cast<const QAbstractSpinBox*>(w) != nullptr;
}

// The movie player's inner window never keeps the focus of a step.
const QLatin1String MoviePlayerInner("AMComponent4");

constexpr int SettingsPage = 1;

} // namespace

FocusNavigator::FocusNavigator(WindowAccess access, QObject* parent)
    : QObject(parent)
    , access_(std::move(access))
{
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        connect(app, &QApplication::focusChanged, this, &FocusNavigator::focusChanged);
    // Qt tells focus changes only in the active window; the knob works in any.
    if (access_.window)
        connect(&FocusMark::of(access_.window), &FocusMark::moved, this, [this](QWidget* from, QWidget* to) {
            if (!access_.window->window()->isActiveWindow())
                focusChanged(from, to);
        });
}

FocusNavigator::~FocusNavigator() = default;

void FocusNavigator::setHooks(NavigationHooks* hooks)
{
    hooks_ = hooks ? hooks : &defaultHooks_;
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
    if (const AdjustMode::Row* row = AdjustMode::rowFor(name); row && adjust_.isOn(row->control)) {
        adjustValue(row->control, turn);
        return true;
    }

    NavigationHooks& h = *hooks_;
    if (h.trackSeek(turn) || h.movieSeek(turn))
        return true;
    if (cw && (h.webRow(focus) || h.urlList(focus)))
        return true;
    if (h.webArea(focus, turn) || h.mailText(focus, turn) || h.musicList(focus, turn) || h.movieList(focus, turn)
        || h.mailHeaderList(focus, turn))
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
    NavigationHooks& h = *hooks_;
    switch (c) {
    case AdjustMode::RadarScale: h.radarScaleStep(turn); break;
    case AdjustMode::Speed: h.speedStep(2000 * sign); break;
    case AdjustMode::Eq1: h.equalizerStep(1, sign); break;
    case AdjustMode::Eq2: h.equalizerStep(2, sign); break;
    case AdjustMode::Eq3: h.equalizerStep(3, sign); break;
    case AdjustMode::Eq4: h.equalizerStep(4, sign); break;
    case AdjustMode::Eq5: h.equalizerStep(5, sign); break;
    case AdjustMode::Eq6: h.equalizerStep(6, sign); break;
    case AdjustMode::Reverb: h.reverbStep(sign); break;
    case AdjustMode::Zoom: {
        // A zoom of 0 or less is not taken, so zooming out stops at 10 %.
        const int zoom = movieZoom_ + 10 * sign;
        if (zoom <= 0)
            break;
        movieZoom_ = zoom;
        h.movieZoom(zoom);
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
    case AdjustMode::Count: break;
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
        if (!ringStep(turn) && ringPage() == SettingsPage)
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

void FocusNavigator::installInputFilter(QWidget& window)
{
    filteredWindow_ = window.window();
    qApp->removeEventFilter(this);
    qApp->installEventFilter(this);
}

bool FocusNavigator::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::Wheel && type != QEvent::KeyPress) || !filteredWindow_ || !watched->isWidgetType())
        return false;
    if (static_cast<QWidget*>(watched)->window() != filteredWindow_)
        return false;
    // A key the focused control leaves unused travels on to its parents; only its first
    // delivery counts.
    if (type == QEvent::KeyPress && watched != (focusedControl() ? focusedControl() : filteredWindow_.data()))
        return false;

    if (type == QEvent::Wheel) {
        // FormMouseWheelDown / FormMouseWheelUp: one step per notch, the event is used up.
        wheelRemainder_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
        while (wheelRemainder_ <= -120) {
            wheelRemainder_ += 120;
            TurnbottonrightClick();
        }
        while (wheelRemainder_ >= 120) {
            wheelRemainder_ -= 120;
            TurnbottonleftClick();
        }
        event->accept();
        return true;
    }

    // FormKeyDown: sees the key first, then lets it go on to the focused control.
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (acceptsText(focusedControl()))
        return false;
    switch (key->key()) {
    case Qt::Key_R: TurnbottonrightClick(); break;
    case Qt::Key_L: TurnbottonleftClick(); break;
    case Qt::Key_C:
        if (knobPress_)
            knobPress_();
        break;
    default: break;
    }
    return false;
}

void FocusNavigator::focusChanged(QWidget* old, QWidget* now)
{
    if (!access_.window || !access_.roles)
        return;
    static const QSet<QString> colored(exitColored().begin(), exitColored().end());
    static const QSet<QString> entering(enterHighlighted().begin(), enterHighlighted().end());
    // The items that hold the old or the new focus, themselves or in a child.
    QList<QWidget*> items;
    for (QWidget* end : {old, now})
        for (QWidget* w = end; w && w != access_.window; w = w->parentWidget())
            if (colored.contains(w->objectName()) && !items.contains(w))
                items << w;
    for (QWidget* item : items) {
        const bool was = within(item, old);
        const bool is = within(item, now);
        if (was && !is)
            BitBtnWithColor1Exit(item);
        else if (!was && is && entering.contains(item->objectName()))
            BitBtnWithColor1Enter(item);
    }
}

void FocusNavigator::BitBtnWithColor1Enter(QWidget* item)
{
    Controls::setBackground(item, fromBgr(access_.roles->clOrange));
}

void FocusNavigator::BitBtnWithColor1Exit(QWidget* item)
{
    const ColorRoles& roles = *access_.roles;
    Controls::setBackground(item, fromBgr(roles.clschwarz));
    const QString name = item->objectName();
    if (name == QLatin1String("BitBtnWithColor82") || name == QLatin1String("BitBtnWithColor83")) {
        QWidget* strip = control(QStringLiteral("Sidepanel") + name.right(2));
        Controls::setBackground(strip, fromBgr(roles.clHellblau));
        if (auto* panel = qobject_cast<PlainPanel*>(strip))
            panel->setBevel(PlainPanel::Bevel::Raised);
    } else if (name == QLatin1String("BitBtnWithColor100")) {
        item->hide();
    }
}

} // namespace zarn
