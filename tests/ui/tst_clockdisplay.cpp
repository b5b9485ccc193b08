// The clock display of the two status bars: what a fixed moment shows, in the locale's
// short date, with the current city; and that a tick repaints the clock and nothing else.
#include "ui/ClockDisplay.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/ZarnWindow.h"

#include <QLabel>
#include <QLocale>
#include <QTest>

using namespace zarn;

namespace {
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
} // namespace

class TestClockDisplay : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void statusBarsShowTheMoment_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("city");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("date");
        QTest::addRow("German date, no city received yet")
            << QLocale(QLocale::German, QLocale::Germany) << QDateTime(QDate(2026, 12, 24), QTime(9, 5, 59)) << QString()
            << " 09:05  city" << "Thursday  24.12.26 ";
        // The day stays English whatever the language of the date.
        QTest::addRow("US date, city, just before midnight")
            << QLocale(QLocale::English, QLocale::UnitedStates) << QDateTime(QDate(2027, 1, 3), QTime(23, 59, 0))
            << "STUTTGART" << " 23:59  STUTTGART" << "Sunday  1/3/27 ";
        QTest::addRow("German Monday, afternoon") << QLocale(QLocale::German, QLocale::Germany)
                                                  << QDateTime(QDate(2026, 3, 2), QTime(14, 0, 1)) << "BERLIN"
                                                  << " 14:00  BERLIN" << "Monday  02.03.26 ";
    }
    void statusBarsShowTheMoment()
    {
        QFETCH(QLocale, locale);
        QFETCH(QDateTime, now);
        QFETCH(QString, city);
        QFETCH(QString, status);
        QFETCH(QString, date);
        QLocale::setDefault(locale);
        ZarnWindow w;
        if (!city.isEmpty())
            w.findChild<TBMWpanel*>(QStringLiteral("BMWpanel106"))->setBMW_supercaption(city);
        ClockDisplay::show(w, now);
        QCOMPARE(w.findChild<PlainPanel*>(QStringLiteral("StatusBar"))->caption(), status);
        QCOMPARE(w.findChild<PlainPanel*>(QStringLiteral("StatusBar2"))->caption(), status);
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("DateLabel1"))->text(), date);
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("DateLabel2"))->text(), date);
    }

    void aTickRepaintsOnlyTheClock()
    {
        ZarnWindow w;
        w.resize(800, 600);
        w.ArrangeLayout();
        w.ShowMainMenu();
        w.findChild<QWidget*>(QStringLiteral("offpanel"))->hide(); // the PC has the car's screen
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.findChild<QWidget*>(QStringLiteral("BMWpanel1"))->isVisible());
        QVERIFY(!w.findChild<QWidget*>(QStringLiteral("DateLabel1"))->visibleRegion().isEmpty());
        ClockDisplay::show(w, QDateTime(QDate(2026, 12, 24), QTime(9, 5, 0)));
        QCoreApplication::processEvents();

        PaintCounter menuItem, date;
        w.findChild<QWidget*>(QStringLiteral("BMWpanel1"))->installEventFilter(&menuItem);
        w.findChild<QWidget*>(QStringLiteral("DateLabel1"))->installEventFilter(&date);
        // The same minute: nothing to draw.
        ClockDisplay::show(w, QDateTime(QDate(2026, 12, 24), QTime(9, 5, 30)));
        QCoreApplication::processEvents();
        QCOMPARE(date.paints, 0);
        // The next day: the clock changes, the menu is not drawn again.
        ClockDisplay::show(w, QDateTime(QDate(2026, 12, 25), QTime(0, 0, 0)));
        QTRY_VERIFY(date.paints > 0);
        QCOMPARE(menuItem.paints, 0);
    }
};

QTEST_MAIN(TestClockDisplay)
#include "tst_clockdisplay.moc"
