#pragma once

#include <QDateTime>
#include <QString>

class QWidget;

namespace zarn {

// The clock display of the status bars: the time and the current city in `StatusBar`
// and `StatusBar2`, the weekday and date in `DateLabel1` and `DateLabel2`.
// Main thread only.
namespace ClockDisplay {

// " hh:mm  <city>"
QString statusText(const QDateTime& now, const QString& city);
// "<English weekday>  <date in the short date format> "
QString dateText(const QDateTime& now);
// Writes both status bars of window from now and the city item `BMWpanel106`; controls
// whose text does not change are not repainted.
void show(QWidget& window, const QDateTime& now);

} // namespace ClockDisplay

} // namespace zarn
