#include "ibus/Dispatcher.h"

#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/CdChanger.h"
#include "ibus/DispatcherActions.h"
#include "ibus/FrameText.h"
#include "ibus/ScreenRelay.h"

#include <exception>

namespace zarn {

using C = CodeTable;
using Phone = DispatcherActions::PhonePicture;
using Button = ScreenRelay::Button;

namespace {
enum class When { Always, CdOn, CdOff, ScreenOn, NotAux, CheckControlExit, CustomMessageExit, NoDisplayText };
enum class Code { Table, ShutDownMessage, DisplayTexts, SplitScreen };
} // namespace

struct Dispatcher::Row {
    int number;
    Code source;
    CodeTable::Code code; // when source is Table
    When when;
    bool events; // let pending window events run after the row
};

// One block being dispatched; each dispatch has its own, so a nested one leaves it alone.
struct Dispatcher::Block {
    QStringList frames;
    bool displayTextFound = false;
};

namespace {
using Row = Dispatcher::Row;

// In this order. Row 27 stands for the three display-text codes.
const Row Rows[] = {
    {1, Code::Table, C::BMW_Wheel_Up_Press, When::Always, true},
    {2, Code::Table, C::BMW_Wheel_Down_Press, When::Always, true},
    {3, Code::Table, C::BMW_Check_Control_Press, When::CheckControlExit, false},
    {4, Code::ShutDownMessage, {}, When::CustomMessageExit, false},
    {5, Code::Table, C::BMW_Poll_CD_Player, When::CdOn, false},
    {6, Code::Table, C::BMW_Request_Current_CD_Track, When::CdOn, false},
    {7, Code::Table, C::BMW_Play_CD, When::CdOn, false},
    {8, Code::Table, C::BMW_Stop_CD, When::CdOn, false},
    {9, Code::Table, C::BMW_Menu_turnknob_Press, When::ScreenOn, true},
    {10, Code::Table, C::BMW_Menu_turnknob_Press_long, When::ScreenOn, true},
    {11, Code::Table, C::BMW_Menu_turnknob_Counterclockwise, When::ScreenOn, true},
    {12, Code::Table, C::BMW_Menu_turnknob_Clockwise, When::ScreenOn, false},
    {13, Code::Table, C::BMW_Phone_On_Talk_free, When::Always, false},
    {14, Code::Table, C::BMW_TAPE_standby, When::CdOff, false},
    {15, Code::Table, C::BMW_TAPE_stopon, When::Always, false},
    {16, Code::Table, C::BMW_TAPE_stopon2, When::CdOff, false},
    {17, Code::Table, C::BMW_Phone_On_Talk_nofree, When::Always, false},
    {18, Code::Table, C::BMW_TAPE_play, When::CdOff, true},
    {19, Code::Table, C::BMW_Time, When::Always, true},
    {20, Code::Table, C::BMW_kmh_umin, When::Always, true},
    {21, Code::Table, C::BMW_odometer_msg, When::Always, true},
    {22, Code::Table, C::BMW_Nav_latlon, When::Always, true},
    {23, Code::Table, C::BMW_Nav_City, When::Always, true},
    {24, Code::Table, C::BMW_Nav_street, When::Always, true},
    {25, Code::Table, C::BMW_BMW_Tone_Press, When::ScreenOn, false},
    {26, Code::Table, C::BMW_Mode_Press, When::ScreenOn, false},
    {27, Code::DisplayTexts, {}, When::Always, false},
    {28, Code::Table, C::BMW_RAD_NAV_Press, When::NoDisplayText, true},
    {29, Code::Table, C::BMW_Radio_Power_Press, When::Always, true},
    {30, Code::Table, C::BMW_FM_Press, When::Always, true},
    {31, Code::Table, C::BMW_AM_Press, When::Always, true},
    {32, Code::Table, C::BMW_Menu_Press, When::Always, true},
    {33, Code::SplitScreen, {}, When::Always, true},
    {34, Code::Table, C::BMW_TP_Press, When::Always, true},
    // From here on only while the screen is on.
    {35, Code::Table, C::BMW_01_Press, When::NotAux, true},
    {36, Code::Table, C::BMW_02_Press, When::NotAux, true},
    {37, Code::Table, C::BMW_03_Press, When::NotAux, true},
    {38, Code::Table, C::BMW_04_Press, When::NotAux, true},
    {39, Code::Table, C::BMW_05_Press, When::NotAux, true},
    {40, Code::Table, C::BMW_06_Press, When::NotAux, true},
    {41, Code::Table, C::BMW_Randomize, When::Always, true},
    {42, Code::Table, C::BMW_RAD_TEL_Press, When::Always, false},
};
constexpr int LastRowWhileScreenOff = 34;
} // namespace

Dispatcher::Dispatcher(const CodeTable& codes, const BusOptions& options, StatusLog& log, DispatcherActions& actions,
                       CdChanger& cdChanger, ScreenRelay& screen, FrameDecoders decoders)
    : codes_(codes)
    , options_(options)
    , log_(log)
    , actions_(actions)
    , cd_(cdChanger)
    , screen_(screen)
    , decoders_(std::move(decoders))
{
}

int Dispatcher::knobSteps(const QString& frame)
{
    if (frame.size() < 10)
        return 1;
    const QChar c = frame[9];
    return c.unicode() >= '0' && c.unicode() <= '9' ? c.unicode() - '0' : 1;
}

void Dispatcher::ProcessIbusText(const QString& blockText)
{
    const QStringView text = blockText.isEmpty() ? QStringView() : QStringView(blockText).mid(1);
    if (log_.frameTraceEnabled())
        log_.AddStatusLine(text.toString());
    Block block;
    bool ok = false;
    try {
        block.frames = SplitFramesFromText(text);
        ok = runRows(block);
    } catch (const std::exception&) {
        ok = false;
    }
    if (!ok)
        log_.addMessage(QStringLiteral("Error in Process serial input routine"), StatusLog::Severity::Error);
}

bool Dispatcher::conditionHolds(const Row& row, const Block& block) const
{
    switch (row.when) {
    case When::Always: return true;
    case When::CdOn: return options_.cdEmulation;
    case When::CdOff: return !options_.cdEmulation;
    case When::ScreenOn: return screen_.screenOn();
    case When::NotAux: return !options_.auxMode;
    case When::CheckControlExit: return options_.shutdownWithCheckControl;
    case When::CustomMessageExit: return options_.shutDownMessageActive;
    case When::NoDisplayText: return !block.displayTextFound;
    }
    return false;
}

QString Dispatcher::codeOf(const Row& row) const
{
    switch (row.source) {
    case Code::Table: return codes_[row.code];
    case Code::ShutDownMessage: return options_.shutDownMessage;
    case Code::SplitScreen: return CodeTable::SplitScreenUpdate;
    case Code::DisplayTexts: break;
    }
    return {};
}

bool Dispatcher::runRows(Block& block)
{
    for (const Row& row : Rows) {
        if (row.number == LastRowWhileScreenOff + 1 && !screen_.screenOn())
            return true;
        if (row.number == 28 && block.displayTextFound)
            continue; // skipped together with its events
        if (conditionHolds(row, block)) {
            int index = -1;
            if (row.source == Code::DisplayTexts) {
                for (C::Code c : {C::BMW_Tape, C::BMW_Tape_Alternative, C::BMW_RTS_Activate})
                    index = std::max(index, FindFrame(block.frames, codes_[c]));
            } else {
                index = FindFrame(block.frames, codeOf(row));
            }
            if (index >= 0 && !act(row.number, block, block.frames[index]))
                return false;
        }
        if (row.events)
            actions_.processEvents();
    }
    return true;
}

// Runs the action of a row whose code was found; false ends the dispatch.
bool Dispatcher::act(int row, Block& block, const QString& frame)
{
    switch (row) {
    case 1:
        log_.addMessage(QStringLiteral("BMW_Wheel_Up_Press found"));
        actions_.SteerUPClick();
        break;
    case 2:
        log_.addMessage(QStringLiteral("BMW_Wheel_Down_Press found"));
        actions_.SelButton8Click();
        break;
    case 3:
        log_.addMessage(QStringLiteral("BMW_Check_Control_Press found - shutting down..."));
        actions_.BMWpanel5Click();
        break;
    case 4:
        log_.addMessage(QStringLiteral("Custom ShutDownMessage found - shutting down..."));
        actions_.BMWpanel5Click();
        break;
    case 5: cd_.AnswerCdPoll(); break;
    case 6: cd_.AnswerCdStateRequest(); break;
    case 7: cd_.AnswerCdPlay(); break;
    case 8: cd_.AnswerCdStop(); break;
    case 9:
        actions_.SelButton1Click();
        log_.addMessage(QStringLiteral("BMW_Menu_turnknob_Press found"));
        break;
    case 10:
        actions_.longClick();
        log_.addMessage(QStringLiteral("BMW_Menu_turnknob_Press_long found"));
        break;
    case 11: {
        const int n = knobSteps(frame);
        for (int i = 0; i < n; ++i)
            if (!actions_.TurnbottonleftClick())
                return false;
        log_.addMessage(QStringLiteral(" BMW_Menu_turnknob_Counterclockwise - numsteps = ") + QString::number(n));
        break;
    }
    case 12: {
        const int n = knobSteps(frame);
        for (int i = 0; i < n; ++i)
            if (!actions_.TurnbottonrightClick())
                return false;
        log_.addMessage(QStringLiteral("BMW_Menu_turnknob_Clockwise - numsteps = ") + QString::number(n));
        break;
    }
    case 13:
        log_.addMessage(QStringLiteral("BMW Phone On Talk=on mode=free"));
        actions_.showPhone(Phone::OnFree);
        break;
    case 14: tapePause(QStringLiteral("BMW_TAPE_standby detected")); break;
    case 15: tapePause(QStringLiteral("BMW_TAPE_stopon detected")); break;
    case 16: tapePause(QStringLiteral("BMW_TAPE_stopon2 detected")); break;
    case 17:
        log_.addMessage(QStringLiteral("BMW Phone On Talk=on mode=nofree"));
        actions_.showPhone(Phone::On);
        break;
    case 18:
        log_.addMessage(QStringLiteral("BMW_TAPE_play detected"));
        tapeResume();
        break;
    case 19: if (decoders_.time) decoders_.time(frame); break;
    case 20: if (decoders_.speed) decoders_.speed(frame); break;
    case 21: if (decoders_.odometer) decoders_.odometer(frame); break;
    case 22: return !decoders_.position || decoders_.position(frame);
    case 23: if (decoders_.city) decoders_.city(frame); break;
    case 24: if (decoders_.street) decoders_.street(frame); break;
    case 25: screen_.ScreenOffByButton(Button::Tone); break;
    case 26: screen_.ScreenOffByButton(Button::Mode); break;
    case 27:
        screen_.ScreenOnByDisplayText();
        block.displayTextFound = true;
        break;
    case 28: screen_.ToggleScreen(); break;
    case 29:
        screen_.ScreenOffByButton(Button::RadioPower);
        actions_.BMWpanel54Click();
        actions_.HoldMovie();
        break;
    case 30:
    case 31:
        screen_.ScreenOffByButton(row == 30 ? Button::FM : Button::AM);
        actions_.pauseSteps();
        actions_.HoldMovie();
        break;
    case 32:
    case 33:
        screen_.ScreenOffByButton(row == 32 ? Button::Menu : Button::SplitScreen);
        actions_.HoldMovie();
        break;
    case 34:
        screen_.ScreenOffByButton(Button::TP);
        actions_.BMWpanel54Click();
        actions_.HoldMovie();
        break;
    case 35:
        log_.addMessage(QStringLiteral("BMW_01_Press found"));
        actions_.zahlbutton1Click();
        break;
    case 36:
        log_.addMessage(QStringLiteral("BMW_02_Press found"));
        actions_.Button4Click();
        break;
    case 37:
        log_.addMessage(QStringLiteral("BMW_03_Press found"));
        actions_.Button10Click();
        break;
    case 38:
        log_.addMessage(QStringLiteral("BMW_04_Press found"));
        actions_.Button5Click();
        break;
    case 39:
        log_.addMessage(QStringLiteral("BMW_05_Press found"));
        actions_.Button3Click();
        break;
    case 40:
        log_.addMessage(QStringLiteral("BMW_06_Press found"));
        actions_.Button6Click();
        break;
    case 41:
        log_.addMessage(QStringLiteral("BMW_Randomize found"));
        actions_.Button5Click();
        break;
    case 42:
        log_.addMessage(QStringLiteral("BMW_RAD_TEL_Press found"));
        actions_.SelButton7Click();
        break;
    }
    return true;
}

void Dispatcher::tapePause(const QString& line)
{
    log_.addMessage(line);
    actions_.pauseSteps();
    tapePaused_ = true;
    log_.addMessage(QStringLiteral("MP3-Player paused"));
}

void Dispatcher::tapeResume()
{
    if (!tapePaused_)
        return;
    actions_.resumeSteps();
    tapePaused_ = false;
    log_.addMessage(QStringLiteral("MP3-Player resumed"));
    actions_.showPhone(Phone::Off);
}

} // namespace zarn
