#include "ui/KnobInputFilter.h"

#include "ui/FocusNavigator.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWheelEvent>

namespace zarn {

namespace {

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

} // namespace

KnobInputFilter::KnobInputFilter(FocusNavigator& navigator, std::function<void()> press, QObject* parent)
    : QObject(parent)
    , navigator_(navigator)
    , press_(std::move(press))
{
}

KnobInputFilter::~KnobInputFilter() = default;

void KnobInputFilter::install(QWidget& window)
{
    window_ = window.window();
    qApp->removeEventFilter(this);
    qApp->installEventFilter(this);
}

bool KnobInputFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::Wheel && type != QEvent::KeyPress) || !window_ || !watched->isWidgetType())
        return false;
    if (static_cast<QWidget*>(watched)->window() != window_)
        return false;
    QWidget* focus = window_->focusWidget();
    // A key the focused control leaves unused travels on to its parents; only its first
    // delivery counts.
    if (type == QEvent::KeyPress && watched != (focus ? focus : window_.data()))
        return false;

    if (type == QEvent::Wheel) {
        // FormMouseWheelDown / FormMouseWheelUp
        wheelRemainder_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
        while (wheelRemainder_ <= -120) {
            wheelRemainder_ += 120;
            navigator_.TurnbottonrightClick();
        }
        while (wheelRemainder_ >= 120) {
            wheelRemainder_ -= 120;
            navigator_.TurnbottonleftClick();
        }
        event->accept();
        return true;
    }

    // FormKeyDown
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (acceptsText(focus))
        return false;
    switch (key->key()) {
    case Qt::Key_R: navigator_.TurnbottonrightClick(); break;
    case Qt::Key_L: navigator_.TurnbottonleftClick(); break;
    case Qt::Key_C:
        if (press_)
            press_();
        break;
    default: break;
    }
    return false;
}

} // namespace zarn
