#pragma once

#include "core/Timer.h"

#include <QObject>

namespace zarn {

class IbusSender;
class StatusLog;

// Answers the radio as a CD changer with disc 1, track 1 would, 100 ms after the
// message that asks. A timer that finds the link busy tries again at its next tick.
class CdChanger : public QObject {
    Q_OBJECT
public:
    CdChanger(IbusSender& sender, StatusLog& log, QObject* parent = nullptr);

    void AnswerCdPoll();
    void AnswerCdStateRequest();
    void AnswerCdPlay();
    void AnswerCdStop();

    bool cdPlaying() const { return cdPlaying_; }
    void reset() { cdPlaying_ = false; }

    Timer CD_poll_anser_timer;
    Timer BMW_Answer_Current_CD_Track_notplaying_1_1_timer;
    Timer BMW_Answer_Current_CD_Track_playing_1_1_timer;
    Timer BMW_Answer_Current_CD_Track_Start_1_1_Timer;

private:
    void answer(Timer& timer, const char* traceName, const char* sendText, const char* sentLine);

    IbusSender& sender_;
    StatusLog& log_;
    bool cdPlaying_ = false;
};

} // namespace zarn
