#include "core/StatusLog.h"
#include "ibus/CodeTable.h"
#include "ibus/FrameText.h"
#include "TestSupport.h"

#include <QTest>

using namespace zarn;

class TestCodeTable : public QObject {
    Q_OBJECT
private slots:
    void listsDefaultsBetweenFramingLines()
    {
        test::VirtualTime time;
        StatusLog log;
        CodeTable codes;
        codes.Load([](const QString&, const QString& def) { return def; }, log);
        QCOMPARE(log.lines().size(), CodeTable::CodeCount + 2);
        QVERIFY(log.lines().first().endsWith(" Now listing part of zarn.ini options in effect - BMW Ibus codes used:"));
        QVERIFY(log.lines()[1].endsWith(" BMW_Poll_CD_Player=6803180172"));
        QVERIFY(log.lines()[CodeTable::CodeCount].endsWith(" BMW_Time=800CE72401"));
        QVERIFY(log.lines().last().endsWith(" List of BMW Ibus codes used ended - note: some of them may be zarn defaults (if there is no setting in zarn.ini)"));
    }

    void fileValueIsKeptAsWritten()
    {
        test::VirtualTime time;
        StatusLog log;
        CodeTable codes;
        codes.Load([](const QString& key, const QString& def) {
            return key == QLatin1String("BMW_Stop_CD") ? QStringLiteral("6805183801004c") : def;
        }, log);
        QCOMPARE(codes[CodeTable::BMW_Stop_CD], QStringLiteral("6805183801004c"));
        // Listed at its place in the table, unchanged; frame texts are upper case, so it
        // never matches the stop frame it was meant for.
        QVERIFY(log.lines()[CodeTable::BMW_Stop_CD + 1].endsWith(" BMW_Stop_CD=6805183801004c"));
        QCOMPARE(FindFrame(SplitFrames(test::blockText("6805183801004C")), codes[CodeTable::BMW_Stop_CD]), -1);
    }
};

QTEST_GUILESS_MAIN(TestCodeTable)
#include "tst_codetable.moc"
