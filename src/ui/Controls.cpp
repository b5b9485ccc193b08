#include "ui/Controls.h"

#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMetaObject>
#include <QWidget>

namespace zarn::Controls {

bool click(QWidget* control)
{
    if (!control)
        return false;
    if (auto* item = qobject_cast<TBMWpanel*>(control)) {
        item->click();
        return true;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->click();
        return true;
    }
    // Other clickable panels (the alternate menu's pictures) offer a click slot.
    if (control->metaObject()->indexOfMethod("click()") >= 0)
        return QMetaObject::invokeMethod(control, "click");
    return false;
}

void setTextColor(QWidget* control, const QColor& color)
{
    if (!control)
        return;
    if (auto* item = qobject_cast<TBMWpanel*>(control)) {
        item->setFontColor(color);
        return;
    }
    if (auto* panel = qobject_cast<PlainPanel*>(control)) {
        panel->setFontColor(color);
        return;
    }
    QPalette p = control->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    p.setColor(QPalette::ButtonText, color);
    control->setPalette(p);
}

QColor textColor(const QWidget* control)
{
    if (auto* item = qobject_cast<const TBMWpanel*>(control))
        return item->fontColor();
    if (auto* panel = qobject_cast<const PlainPanel*>(control))
        return panel->fontColor();
    return control ? control->palette().color(QPalette::WindowText) : QColor();
}

void setBackground(QWidget* control, const QColor& color)
{
    if (!control)
        return;
    if (auto* item = qobject_cast<TBMWpanel*>(control)) {
        item->setColor(color);
        return;
    }
    if (auto* panel = qobject_cast<PlainPanel*>(control)) {
        panel->setColor(color);
        return;
    }
    QPalette p = control->palette();
    p.setColor(QPalette::Window, color);
    p.setColor(QPalette::Button, color);
    control->setPalette(p);
    control->setAutoFillBackground(true);
}

QColor background(const QWidget* control)
{
    if (auto* item = qobject_cast<const TBMWpanel*>(control))
        return item->color();
    if (auto* panel = qobject_cast<const PlainPanel*>(control))
        return panel->color();
    return control ? control->palette().color(QPalette::Window) : QColor();
}

void setCaption(QWidget* control, const QString& caption)
{
    if (auto* item = qobject_cast<TBMWpanel*>(control))
        item->setBMW_supercaption(caption);
    else if (auto* panel = qobject_cast<PlainPanel*>(control))
        panel->setCaption(caption);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(caption);
}

QString caption(const QWidget* control)
{
    if (auto* item = qobject_cast<const TBMWpanel*>(control))
        return item->BMW_supercaption();
    if (auto* panel = qobject_cast<const PlainPanel*>(control))
        return panel->caption();
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    return {};
}

} // namespace zarn::Controls
