// The mail pages' own input: the header list's knob steps and press, the mail text's
// steps, the band's panels, and the fields the message page shows.
#include "ui/pages/MailHeadersPage.h"
#include "ui/pages/MailPage.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using namespace zarn;

namespace {

struct Headers {
    MailHeadersPage page;
    explicit Headers(int rows)
    {
        page.resize(800, 534);
        for (int i = 0; i < rows; ++i)
            page.addRow(QStringLiteral("s%1@example.com").arg(i), QStringLiteral("Subject %1").arg(i), QStringLiteral("11.12.26"));
        page.setDownloadEnabled(true);
        page.show();
        page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        page.lvHeaders()->setFocus();
    }
    QString focusName() const { return page.focusWidget() ? page.focusWidget()->objectName() : QString(); }
};

} // namespace

class TestMailPages : public QObject {
    Q_OBJECT
private slots:
    void listSteps_data();
    void listSteps();
    void scrolledListStepsOutFromItsFirstVisibleRow();
    void listPressOpensTheSelectedRow();
    void listStartsDisabled();
    void mailTextSteps();
    void bandPanels();
    void fieldsShown();
};

void TestMailPages::listSteps_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("selected"); // -1: none
    QTest::addColumn<bool>("clockwise");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("focus");
    QTest::addRow("clockwise, none selected: the first") << 5 << -1 << true << 0 << "lvHeaders";
    QTest::addRow("clockwise: the next") << 5 << 1 << true << 2 << "lvHeaders";
    QTest::addRow("clockwise on the last: stays") << 5 << 4 << true << 4 << "lvHeaders";
    QTest::addRow("counter-clockwise: the one before") << 5 << 3 << false << 2 << "lvHeaders";
    QTest::addRow("counter-clockwise on the first: out to the back item") << 5 << 0 << false << 0 << "BMWpanel42";
    QTest::addRow("counter-clockwise, none selected: out") << 5 << -1 << false << -1 << "BMWpanel42";
    QTest::addRow("empty list, clockwise") << 0 << -1 << true << -1 << "lvHeaders";
}

void TestMailPages::listSteps()
{
    QFETCH(int, rows);
    QFETCH(int, selected);
    QFETCH(bool, clockwise);
    QFETCH(int, expected);
    QFETCH(QString, focus);
    Headers h(rows);
    if (selected >= 0)
        h.page.lvHeaders()->topLevelItem(selected)->setSelected(true);
    QVERIFY(h.page.turn(clockwise ? Turn::Clockwise : Turn::CounterClockwise, h.page.lvHeaders()));
    QCOMPARE(h.page.selectedRow(), expected);
    QCOMPARE(h.focusName(), focus);
    QCOMPARE(h.page.lvHeaders()->selectedItems().size(), expected >= 0 ? 1 : 0);
}

void TestMailPages::scrolledListStepsOutFromItsFirstVisibleRow()
{
    Headers h(100);
    QTreeWidget* list = h.page.lvHeaders();
    for (int i = 0; i < 60; ++i)
        h.page.turn(Turn::Clockwise, list);
    QCOMPARE(h.page.selectedRow(), 59);
    const int firstVisible = list->indexOfTopLevelItem(list->itemAt(0, 0));
    QVERIFY(firstVisible > 0);
    list->clearSelection();
    list->topLevelItem(firstVisible)->setSelected(true);
    h.page.turn(Turn::CounterClockwise, list);
    QCOMPARE(h.page.selectedRow(), 0);
    QCOMPARE(list->indexOfTopLevelItem(list->itemAt(0, 0)), 0);
    QCOMPARE(h.focusName(), QStringLiteral("BMWpanel42"));
}

void TestMailPages::listPressOpensTheSelectedRow()
{
    Headers h(3);
    QSignalSpy chosen(&h.page, &MailHeadersPage::headerChosen);
    QVERIFY(h.page.press(h.page.lvHeaders()));
    h.page.turn(Turn::Clockwise, h.page.lvHeaders());
    h.page.turn(Turn::Clockwise, h.page.lvHeaders());
    QVERIFY(h.page.press(h.page.lvHeaders()));
    QCOMPARE(chosen.size(), 2);
    QCOMPARE(chosen[0].first().toInt(), -1);
    QCOMPARE(chosen[1].first().toInt(), 1);
    // Other controls are left to the window's rules.
    QVERIFY(!h.page.press(h.page.findChild<QWidget*>(QStringLiteral("BMWpanel43"))));
}

void TestMailPages::listStartsDisabled()
{
    MailHeadersPage page;
    QVERIFY(!page.lvHeaders()->isEnabled());
    QCOMPARE(page.lvHeaders()->columnCount(), 3);
    QCOMPARE(page.lvHeaders()->headerItem()->text(0), QStringLiteral("From:"));
    QCOMPARE(page.lvHeaders()->headerItem()->text(1), QStringLiteral("Subject:"));
    QCOMPARE(page.lvHeaders()->headerItem()->text(2), QStringLiteral("Date"));
    QCOMPARE(page.lvHeaders()->columnWidth(0), 320);
}

void TestMailPages::mailTextSteps()
{
    MailPage page;
    page.resize(800, 534);
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("line %1").arg(i);
    page.setFields({QString(), QString(), QString(), QString(), QString(), QString(), lines.join(u'\n')});
    page.show();
    page.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&page));
    QPlainTextEdit* body = page.MailBody();
    QCOMPARE(body->focusPolicy(), Qt::NoFocus);
    page.setBodyFocusStop(true);
    body->setFocus();
    QVERIFY(page.turn(Turn::Clockwise, body));
    QCOMPARE(body->verticalScrollBar()->value(), 10);
    page.turn(Turn::Clockwise, body);
    QCOMPARE(body->verticalScrollBar()->value(), 20);
    QVERIFY(page.turn(Turn::CounterClockwise, body));
    QCOMPARE(body->verticalScrollBar()->value(), 0);
    QCOMPARE(page.focusWidget()->objectName(), QStringLiteral("BitBtnWithColor82"));
    QVERIFY(!page.turn(Turn::Clockwise, page.focusWidget()));
}

void TestMailPages::bandPanels()
{
    MailPage page;
    page.setBodyFocusStop(true);
    QSignalSpy back(&page, &MailPage::backRequested);
    QVERIFY(page.press(page.findChild<QWidget*>(QStringLiteral("BitBtnWithColor83"))));
    QCOMPARE(back.size(), 0);
    QVERIFY(page.press(page.findChild<QWidget*>(QStringLiteral("BitBtnWithColor82"))));
    QCOMPARE(back.size(), 1);
    QCOMPARE(page.MailBody()->focusPolicy(), Qt::NoFocus);
}

void TestMailPages::fieldsShown()
{
    MailPage page;
    page.setFields({QStringLiteral("a <a@x>"), QStringLiteral("b@x, c@x"), QStringLiteral("d@x"), QStringLiteral("11 Dec 2026 10:30:15"),
                    QStringLiteral("<b>not bold</b>"), QStringLiteral("r@x"), QStringLiteral("text")});
    const auto value = [&page](const char* name) { return page.findChild<QLabel*>(QLatin1String(name))->text(); };
    QCOMPARE(value("From"), QStringLiteral("a <a@x>"));
    QCOMPARE(value("Recipients"), QStringLiteral("b@x, c@x"));
    QCOMPARE(value("Cc"), QStringLiteral("d@x"));
    QCOMPARE(value("Date"), QStringLiteral("11 Dec 2026 10:30:15"));
    QCOMPARE(value("Receipt"), QStringLiteral("r@x"));
    // Header texts are shown as written, never as markup.
    QCOMPARE(page.findChild<QLabel*>(QStringLiteral("Subject"))->textFormat(), Qt::PlainText);
    QCOMPARE(page.MailBody()->toPlainText(), QStringLiteral("text"));
    QStringList captions;
    for (const char* name : {"MailCaptionFrom", "MailCaptionRecipients", "MailCaptionCc", "MailCaptionDate", "MailCaptionSubject"})
        captions << page.findChild<QLabel*>(QLatin1String(name))->text();
    QCOMPARE(captions, (QStringList{"From", "To", "Cc", "Date", "Subject"}));
}

QTEST_MAIN(TestMailPages)
#include "tst_mailpages.moc"
