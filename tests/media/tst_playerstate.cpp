#include "media/PlayerState.h"

#include <QSignalSpy>
#include <QTest>

using namespace zarn;

namespace {
// Runs a sequence of operations: t toggle, p pause steps, r resume steps, s show playing.
void run(PlayerState& player, const QString& ops)
{
    for (const QChar op : ops) {
        switch (op.toLatin1()) {
        case 't': player.BMWpanel54Click(); break;
        case 'p': player.pauseSteps(); break;
        case 'r': player.resumeSteps(); break;
        case 's': player.showPlaying(); break;
        default: QFAIL("unknown operation");
        }
    }
}
} // namespace

class TestPlayerState : public QObject {
    Q_OBJECT
private slots:
    void startsPlaying()
    {
        PlayerState player;
        QVERIFY(!player.paused());
        QCOMPARE(player.pauseCaption(), QStringLiteral("(1) Pause"));
        QCOMPARE(player.playMark(), QStringLiteral(">"));
        QVERIFY(player.scrolling());
    }

    void sequences_data()
    {
        QTest::addColumn<QString>("ops");
        QTest::addColumn<bool>("paused");
        QTest::addColumn<int>("pauses");  // pauseStream intents
        QTest::addColumn<int>("plays");   // playStream intents

        QTest::addRow("toggle pauses") << "t" << true << 1 << 0;
        QTest::addRow("second toggle resumes") << "tt" << false << 1 << 1;
        QTest::addRow("FM pauses, pause again stays paused") << "pp" << true << 2 << 0;
        QTest::addRow("toggle after bus pause resumes") << "pt" << false << 1 << 1;
        QTest::addRow("resume steps while playing") << "r" << false << 0 << 1;
        // Random mode switched off while paused shows playing over a paused stream:
        // the next press pauses again, the one after resumes.
        QTest::addRow("shown playing, next toggle pauses") << "tst" << true << 2 << 0;
        QTest::addRow("shown playing, third press resumes") << "tstt" << false << 2 << 1;
    }

    void sequences()
    {
        QFETCH(QString, ops);
        QFETCH(bool, paused);
        QFETCH(int, pauses);
        QFETCH(int, plays);
        PlayerState player;
        QSignalSpy pause(&player, &PlayerState::pauseStream);
        QSignalSpy play(&player, &PlayerState::playStream);
        run(player, ops);
        QCOMPARE(player.paused(), paused);
        QCOMPARE(player.pauseCaption(), paused ? QStringLiteral("(1) Resume") : QStringLiteral("(1) Pause"));
        QCOMPARE(player.playMark(), paused ? QStringLiteral("||") : QStringLiteral(">"));
        QCOMPARE(player.scrolling(), !paused);
        QCOMPARE(pause.count(), pauses);
        QCOMPARE(play.count(), plays);
    }

    void displayChangesOnlyWhenItDoes()
    {
        PlayerState player;
        QSignalSpy display(&player, &PlayerState::displayChanged);
        player.resumeSteps();
        player.showPlaying();
        QCOMPARE(display.count(), 0);
        player.pauseSteps();
        player.pauseSteps();
        QCOMPARE(display.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPlayerState)
#include "tst_playerstate.moc"
