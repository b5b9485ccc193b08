#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/CdChanger.h"
#include "ibus/IbusSender.h"
#include "RecordingSink.h"
#include "TestSupport.h"

#include <QTest>

using namespace zarn;
using test::hexBytes;

namespace {
const QByteArray PollAnswer = hexBytes("1804FF0200E1");
const QByteArray NotPlaying = hexBytes("180A68390002000100010140");
const QByteArray Playing = hexBytes("180A6839000900010001014B");
const QByteArray Starting = hexBytes("180A68390209000100010149");

struct Changer {
    test::VirtualTime time;
    StatusLog log;
    BusOptions options;
    test::RecordingSink sink;
    IbusSender sender{sink, log, options};
    CdChanger cd{sender, log};
};
} // namespace

class TestCdChanger : public QObject {
    Q_OBJECT
private slots:
    void answers_data()
    {
        QTest::addColumn<QString>("commands"); // p poll, s state, P play, S stop
        QTest::addColumn<QList<QByteArray>>("frames");
        QTest::addRow("poll then state") << "ps" << QList<QByteArray>{PollAnswer, NotPlaying};
        QTest::addRow("play then state") << "Ps" << QList<QByteArray>{Starting, Playing};
        QTest::addRow("stop then state") << "PsSs" << QList<QByteArray>{Starting, Playing, NotPlaying, NotPlaying};
    }
    void answers()
    {
        QFETCH(QString, commands);
        QFETCH(QList<QByteArray>, frames);
        Changer c;
        for (QChar command : commands) {
            switch (command.unicode()) {
            case 'p': c.cd.AnswerCdPoll(); break;
            case 's': c.cd.AnswerCdStateRequest(); break;
            case 'P': c.cd.AnswerCdPlay(); break;
            case 'S': c.cd.AnswerCdStop(); break;
            }
            c.time.advance(150);
        }
        QCOMPARE(c.sink.frames, frames);
    }

    void answerComesAfterExactly100ms()
    {
        Changer c;
        c.cd.AnswerCdPoll();
        c.time.advance(99);
        QVERIFY(c.sink.frames.isEmpty());
        c.time.advance(1);
        QCOMPARE(c.sink.frames, QList<QByteArray>{PollAnswer});
    }

    void twoPollsGetOneAnswer()
    {
        Changer c;
        c.cd.AnswerCdPoll();
        c.time.advance(50);
        c.cd.AnswerCdPoll();
        c.time.advance(50);
        QCOMPARE(c.sink.frames.size(), 1); // at 100 ms after the first poll
        c.time.advance(1000);
        QCOMPARE(c.sink.frames.size(), 1);
    }

    void busyLinkRetriesEvery100ms()
    {
        Changer c;
        c.sink.busy = true;
        c.cd.AnswerCdPoll();
        c.time.advance(300);
        QVERIFY(c.sink.frames.isEmpty());
        c.sink.busy = false;
        c.time.advance(99);
        QVERIFY(c.sink.frames.isEmpty());
        c.time.advance(1);
        QCOMPARE(c.sink.frames, QList<QByteArray>{PollAnswer});
    }

    void statusLines()
    {
        Changer c;
        c.log.setMessagesEnabled(true);
        c.log.setTimerTraceEnabled(true);
        c.cd.AnswerCdPoll();
        c.cd.AnswerCdPlay();
        c.time.advance(100);
        QCOMPARE(test::texts(c.log), (QStringList{
                            "BMW_Poll_CD_Player found - sending CD_poll_answer",
                            "BMW_Play_CD command found - Sending CD_Track_Start_1_1",
                            "$$$ Timer - CD_poll_anser_timerTimer",
                            "sent=18 04 FF 02 00",
                            "sent=..ÿ..á",
                            "CD_poll_anser message sent",
                            "sent=18 0A 68 39 02 09 00 01 00 01 01",
                            "sent=..h9.......I",
                            "CD_Track_Start_1_1 message sent",
                        }));
    }

    void noSendStillStopsTheTimersAndWritesTheLines()
    {
        Changer c;
        c.options.noSend = true;
        c.log.setMessagesEnabled(true);
        c.cd.AnswerCdPoll();
        c.time.advance(100);
        QVERIFY(c.sink.frames.isEmpty());
        QVERIFY(!c.cd.CD_poll_anser_timer.isActive());
        QVERIFY(c.log.lines().last().endsWith(QStringLiteral("CD_poll_anser message sent")));
    }
};

QTEST_GUILESS_MAIN(TestCdChanger)
#include "tst_cdchanger.moc"
