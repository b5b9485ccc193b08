#include "ui/ClockDisplay.h"

#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"

#include <QLabel>
#include <QLocale>

namespace zarn::ClockDisplay {

namespace {
// Whatever the system's language, the day is named in English.
const char* const Weekdays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

void setCaption(QWidget& window, const char* name, const QString& text)
{
    if (auto* bar = window.findChild<PlainPanel*>(QLatin1String(name)))
        bar->setCaption(text);
}

void setLabel(QWidget& window, const char* name, const QString& text)
{
    auto* label = window.findChild<QLabel*>(QLatin1String(name));
    if (label && label->text() != text)
        label->setText(text);
}
} // namespace

QString statusText(const QDateTime& now, const QString& city)
{
    return QLatin1Char(' ') + now.time().toString(QStringLiteral("hh:mm")) + QStringLiteral("  ") + city;
}

QString dateText(const QDateTime& now)
{
    const int day = now.date().dayOfWeek(); // 1 = Monday
    const QString name = day >= 1 && day <= 7 ? QLatin1String(Weekdays[day - 1]) : QString();
    return name + QStringLiteral("  ") + QLocale().toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ');
}

void show(QWidget& window, const QDateTime& now)
{
    const auto* cityItem = window.findChild<TBMWpanel*>(QStringLiteral("BMWpanel106"));
    const QString status = statusText(now, cityItem ? cityItem->BMW_supercaption() : QString());
    const QString date = dateText(now);
    setCaption(window, "StatusBar", status);
    setLabel(window, "DateLabel1", date);
    setCaption(window, "StatusBar2", status);
    setLabel(window, "DateLabel2", date);
}

} // namespace zarn::ClockDisplay
