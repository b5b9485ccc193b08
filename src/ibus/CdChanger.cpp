#include "ibus/CdChanger.h"

#include "core/StatusLog.h"
#include "ibus/IbusSender.h"

namespace zarn {

namespace {
constexpr int AnswerDelayMs = 100;
}

CdChanger::CdChanger(IbusSender& sender, StatusLog& log, QObject* parent)
    : QObject(parent)
    , CD_poll_anser_timer(QStringLiteral("CD_poll_anser_timer"), this)
    , BMW_Answer_Current_CD_Track_notplaying_1_1_timer(QStringLiteral("BMW_Answer_Current_CD_Track_notplaying_1_1_timer"), this)
    , BMW_Answer_Current_CD_Track_playing_1_1_timer(QStringLiteral("BMW_Answer_Current_CD_Track_playing_1_1_timer"), this)
    , BMW_Answer_Current_CD_Track_Start_1_1_Timer(QStringLiteral("BMW_Answer_Current_CD_Track_Start_1_1_Timer"), this)
    , sender_(sender)
    , log_(log)
{
    connect(&CD_poll_anser_timer, &Timer::timeout, this, [this] {
        answer(CD_poll_anser_timer, "CD_poll_anser_timerTimer", "18 04 FF 02 00", "CD_poll_anser message sent");
    });
    connect(&BMW_Answer_Current_CD_Track_notplaying_1_1_timer, &Timer::timeout, this, [this] {
        answer(BMW_Answer_Current_CD_Track_notplaying_1_1_timer, "BMW_Answer_Current_CD_Track_notplaying_1_1_timerTimer",
               "18 0A 68 39 00 02 00 01 00 01 01", "CD_Track_notplaying_1_1 message sent");
    });
    connect(&BMW_Answer_Current_CD_Track_playing_1_1_timer, &Timer::timeout, this, [this] {
        answer(BMW_Answer_Current_CD_Track_playing_1_1_timer, nullptr, "18 0A 68 39 00 09 00 01 00 01 01",
               "CD_Track_playing_1_1 message sent");
    });
    connect(&BMW_Answer_Current_CD_Track_Start_1_1_Timer, &Timer::timeout, this, [this] {
        answer(BMW_Answer_Current_CD_Track_Start_1_1_Timer, nullptr, "18 0A 68 39 02 09 00 01 00 01 01",
               "CD_Track_Start_1_1 message sent");
    });
}

void CdChanger::answer(Timer& timer, const char* traceName, const char* sendText, const char* sentLine)
{
    if (traceName)
        log_.timerTrace(QLatin1StringView(traceName));
    if (sender_.SendInProgress())
        return; // next tick, 100 ms later
    sender_.SendIbusText(QLatin1StringView(sendText));
    log_.addMessage(QLatin1StringView(sentLine));
    timer.setInterval(0);
}

void CdChanger::AnswerCdPoll()
{
    log_.addMessage(QStringLiteral("BMW_Poll_CD_Player found - sending CD_poll_answer"));
    CD_poll_anser_timer.setInterval(AnswerDelayMs);
}

void CdChanger::AnswerCdStateRequest()
{
    log_.addMessage(QStringLiteral("BMW_Request_Current_CD_Track found - sending variable answer"));
    if (cdPlaying_) {
        BMW_Answer_Current_CD_Track_playing_1_1_timer.setInterval(AnswerDelayMs);
        log_.addMessage(QStringLiteral("in this case: BMW_Answer_Current_CD_Track_playing_1_1_timer sent"));
    } else {
        BMW_Answer_Current_CD_Track_notplaying_1_1_timer.setInterval(AnswerDelayMs);
        log_.addMessage(QStringLiteral("in this case: BMW_Answer_Current_CD_Track_notplaying_1_1_timer sent"));
    }
}

void CdChanger::AnswerCdPlay()
{
    BMW_Answer_Current_CD_Track_Start_1_1_Timer.setInterval(AnswerDelayMs);
    log_.addMessage(QStringLiteral("BMW_Play_CD command found - Sending CD_Track_Start_1_1"));
    cdPlaying_ = true;
}

void CdChanger::AnswerCdStop()
{
    BMW_Answer_Current_CD_Track_notplaying_1_1_timer.setInterval(AnswerDelayMs);
    log_.addMessage(QStringLiteral("BMW_Stop_CD command found - Sending Current_CD_Track_notplaying_1_1"));
    cdPlaying_ = false;
}

} // namespace zarn
