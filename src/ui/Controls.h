#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace zarn::Controls {

// Small operations on a control whatever its class: a menu item (TBMWpanel), a button,
// a label or a plain panel.

// Runs the control's click action, as a mouse click does. False if it has none.
bool click(QWidget* control);
void setTextColor(QWidget* control, const QColor& color);
QColor textColor(const QWidget* control);
void setBackground(QWidget* control, const QColor& color);
QColor background(const QWidget* control);
void setCaption(QWidget* control, const QString& caption);
QString caption(const QWidget* control);

} // namespace zarn::Controls
