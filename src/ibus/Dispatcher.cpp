#include "ibus/Dispatcher.h"

#include "core/StatusLog.h"
#include "ibus/BusEvents.h"
#include "ibus/BusOptions.h"
#include "ibus/FrameText.h"
#include "ibus/ScreenRelay.h"

#include <exception>

namespace zarn {

using C = CodeTable;
using K = BusEvent::Kind;
using Button = ScreenRelay::Button;

namespace {
enum class When { Always, CdOn, CdOff, ScreenOn, NotAux, CheckControlExit, CustomMessageExit, NoDisplayText };
// Where a row's code comes from: the table, the user's own exit message, the three
// display texts of the car's tape and AUX modes, the split-screen update.
enum class Match { Table, ShutDownMessage, DisplayTexts, SplitScreen };
enum class LineAt { Before, After, AfterWithSteps };
enum class Tape { None, Pause, Resume };
// Pending window events after the row: never, always (found or not), or only when the
// row's condition held, so that a row skipped by it is skipped with its events.
enum class Events { None, Always, IfConditionHeld };

struct Step {
    K kind{};
    int value = 0; // a knob turn's direction, +1 or -1, times the frame's step count
    constexpr Step() = default;
    constexpr Step(K k, int v = 0)
        : kind(k)
        , value(v)
    {
    }
};
struct Steps {
    Step step[3];
    int count = 0;
};
template <typename... S>
constexpr Steps send(S... s)
{
    return Steps{{Step(s)...}, int(sizeof...(S))};
}
constexpr Step screenOff(Button b)
{
    return {K::ScreenOffByButton, int(b)};
}

constexpr C::Code DisplayTexts[] = {C::BMW_Tape, C::BMW_Tape_Alternative, C::BMW_RTS_Activate};
} // namespace

struct Dispatcher::Row {
    Match match = Match::Table;
    C::Code code = C::CodeCount; // when match is Table
    When when = When::Always;
    bool endsUnlessScreenOn = false; // the dispatch ends before this row while the screen is off
    const char* line = nullptr;      // status line, written only while messages are enabled
    LineAt lineAt = LineAt::Before;
    Steps steps{};
    Tape tape = Tape::None;
    bool extrasGuarded = false; // a failure of the steps after the first is absorbed
    Events events = Events::None;
};

namespace {
using Row = Dispatcher::Row;

// In this order.
const Row Rows[] = {
    {.code = C::BMW_Wheel_Up_Press, .line = "BMW_Wheel_Up_Press found", .steps = send(K::WheelUp), .events = Events::Always},
    {.code = C::BMW_Wheel_Down_Press, .line = "BMW_Wheel_Down_Press found", .steps = send(K::WheelDown), .events = Events::Always},
    {.code = C::BMW_Check_Control_Press, .when = When::CheckControlExit,
     .line = "BMW_Check_Control_Press found - shutting down...", .steps = send(K::Exit)},
    {.match = Match::ShutDownMessage, .when = When::CustomMessageExit,
     .line = "Custom ShutDownMessage found - shutting down...", .steps = send(K::Exit)},
    {.code = C::BMW_Poll_CD_Player, .when = When::CdOn, .steps = send(K::CdPoll)},
    {.code = C::BMW_Request_Current_CD_Track, .when = When::CdOn, .steps = send(K::CdStateRequest)},
    {.code = C::BMW_Play_CD, .when = When::CdOn, .steps = send(K::CdPlay)},
    {.code = C::BMW_Stop_CD, .when = When::CdOn, .steps = send(K::CdStop)},
    {.code = C::BMW_Menu_turnknob_Press, .when = When::ScreenOn, .line = "BMW_Menu_turnknob_Press found",
     .lineAt = LineAt::After, .steps = send(K::KnobPress), .events = Events::Always},
    {.code = C::BMW_Menu_turnknob_Press_long, .when = When::ScreenOn, .line = "BMW_Menu_turnknob_Press_long found",
     .lineAt = LineAt::After, .steps = send(K::KnobLongPress), .events = Events::Always},
    {.code = C::BMW_Menu_turnknob_Counterclockwise, .when = When::ScreenOn,
     .line = " BMW_Menu_turnknob_Counterclockwise - numsteps = ", .lineAt = LineAt::AfterWithSteps,
     .steps = send(Step{K::KnobTurn, -1}), .events = Events::Always},
    {.code = C::BMW_Menu_turnknob_Clockwise, .when = When::ScreenOn, .line = "BMW_Menu_turnknob_Clockwise - numsteps = ",
     .lineAt = LineAt::AfterWithSteps, .steps = send(Step{K::KnobTurn, +1})},
    {.code = C::BMW_Phone_On_Talk_free, .line = "BMW Phone On Talk=on mode=free",
     .steps = send(Step{K::PhonePicture, BusEvent::PhoneOnFree})},
    {.code = C::BMW_TAPE_standby, .when = When::CdOff, .line = "BMW_TAPE_standby detected", .tape = Tape::Pause},
    {.code = C::BMW_TAPE_stopon, .line = "BMW_TAPE_stopon detected", .tape = Tape::Pause},
    {.code = C::BMW_TAPE_stopon2, .when = When::CdOff, .line = "BMW_TAPE_stopon2 detected", .tape = Tape::Pause},
    {.code = C::BMW_Phone_On_Talk_nofree, .line = "BMW Phone On Talk=on mode=nofree",
     .steps = send(Step{K::PhonePicture, BusEvent::PhoneOn})},
    {.code = C::BMW_TAPE_play, .when = When::CdOff, .line = "BMW_TAPE_play detected", .tape = Tape::Resume,
     .events = Events::Always},
    {.code = C::BMW_Time, .steps = send(K::Time), .events = Events::Always},
    {.code = C::BMW_kmh_umin, .steps = send(K::Speed), .events = Events::Always},
    {.code = C::BMW_odometer_msg, .steps = send(K::Odometer), .events = Events::Always},
    {.code = C::BMW_Nav_latlon, .steps = send(K::Position), .events = Events::Always},
    {.code = C::BMW_Nav_City, .steps = send(K::City), .events = Events::Always},
    {.code = C::BMW_Nav_street, .steps = send(K::Street), .events = Events::Always},
    {.code = C::BMW_BMW_Tone_Press, .when = When::ScreenOn, .steps = send(screenOff(Button::Tone))},
    {.code = C::BMW_Mode_Press, .when = When::ScreenOn, .steps = send(screenOff(Button::Mode))},
    {.match = Match::DisplayTexts, .steps = send(K::ScreenOnByDisplayText)},
    {.code = C::BMW_RAD_NAV_Press, .when = When::NoDisplayText, .steps = send(K::ToggleScreen),
     .events = Events::IfConditionHeld},
    {.code = C::BMW_Radio_Power_Press, .steps = send(screenOff(Button::RadioPower), K::PauseToggle, K::HoldMovie),
     .extrasGuarded = true, .events = Events::Always},
    {.code = C::BMW_FM_Press, .steps = send(screenOff(Button::FM), K::PauseSteps, K::HoldMovie), .extrasGuarded = true,
     .events = Events::Always},
    {.code = C::BMW_AM_Press, .steps = send(screenOff(Button::AM), K::PauseSteps, K::HoldMovie), .extrasGuarded = true,
     .events = Events::Always},
    {.code = C::BMW_Menu_Press, .steps = send(screenOff(Button::Menu), K::HoldMovie), .extrasGuarded = true,
     .events = Events::Always},
    {.match = Match::SplitScreen, .steps = send(screenOff(Button::SplitScreen), K::HoldMovie), .extrasGuarded = true,
     .events = Events::Always},
    {.code = C::BMW_TP_Press, .steps = send(screenOff(Button::TP), K::PauseToggle, K::HoldMovie), .extrasGuarded = true,
     .events = Events::Always},
    // The number buttons, the random key and R/T act only while the PC picture is shown.
    {.code = C::BMW_01_Press, .when = When::NotAux, .endsUnlessScreenOn = true, .line = "BMW_01_Press found",
     .steps = send(Step{K::Preset, 1}), .events = Events::Always},
    {.code = C::BMW_02_Press, .when = When::NotAux, .line = "BMW_02_Press found", .steps = send(Step{K::Preset, 2}),
     .events = Events::Always},
    {.code = C::BMW_03_Press, .when = When::NotAux, .line = "BMW_03_Press found", .steps = send(Step{K::Preset, 3}),
     .events = Events::Always},
    {.code = C::BMW_04_Press, .when = When::NotAux, .line = "BMW_04_Press found", .steps = send(Step{K::Preset, 4}),
     .events = Events::Always},
    {.code = C::BMW_05_Press, .when = When::NotAux, .line = "BMW_05_Press found", .steps = send(Step{K::Preset, 5}),
     .events = Events::Always},
    {.code = C::BMW_06_Press, .when = When::NotAux, .line = "BMW_06_Press found", .steps = send(Step{K::Preset, 6}),
     .events = Events::Always},
    {.code = C::BMW_Randomize, .line = "BMW_Randomize found", .steps = send(K::RandomKey), .events = Events::Always},
    {.code = C::BMW_RAD_TEL_Press, .line = "BMW_RAD_TEL_Press found", .steps = send(K::RadioTelephone)},
};

QString spaced(const QString& frameText)
{
    QString out;
    for (qsizetype i = 0; i < frameText.size(); i += 2)
        out += (i ? QStringLiteral(" ") : QString()) + frameText.mid(i, 2);
    return out;
}
} // namespace

Dispatcher::Dispatcher(const CodeTable& codes, const BusOptions& options, StatusLog& log, const ScreenRelay& screen,
                       BusEventSink& sink)
    : codes_(codes)
    , options_(options)
    , log_(log)
    , screen_(screen)
    , sink_(sink)
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
    bool ok = false;
    try {
        QList<RejectedBytes> rejected;
        // Each dispatch has its own frame list, so a nested one leaves it alone.
        const QStringList frames = SplitFramesFromText(text, &rejected);
        for (const RejectedBytes& r : rejected) {
            if (r.wrongChecksum)
                ++checksumErrors_;
            else
                skippedBytes_ += int((r.text.size() + 1) / 2);
            if (log_.frameTraceEnabled())
                log_.AddStatusLine((r.wrongChecksum ? QStringLiteral("Checksum error - frame ignored: ")
                                                    : QStringLiteral("No whole frame - bytes ignored: "))
                                   + spaced(r.text));
        }
        ok = runRows(frames);
    } catch (const std::exception&) {
        ok = false;
    }
    if (!ok)
        log_.addMessage(QStringLiteral("Error in Process serial input routine"), StatusLog::Severity::Error);
}

bool Dispatcher::conditionHolds(const Row& row, const QStringList& frames) const
{
    switch (row.when) {
    case When::Always: return true;
    case When::CdOn: return options_.cdEmulation;
    case When::CdOff: return !options_.cdEmulation;
    case When::ScreenOn: return screen_.screenOn();
    case When::NotAux: return !options_.auxMode;
    case When::CheckControlExit: return options_.shutdownWithCheckControl;
    case When::CustomMessageExit: return options_.shutDownMessageActive;
    case When::NoDisplayText:
        for (C::Code c : DisplayTexts)
            if (FindFrame(frames, codes_[c]) >= 0)
                return false;
        return true;
    }
    return false;
}

int Dispatcher::find(const Row& row, const QStringList& frames) const
{
    switch (row.match) {
    case Match::Table: return FindFrame(frames, codes_[row.code]);
    case Match::ShutDownMessage: return FindFrame(frames, options_.shutDownMessage);
    case Match::SplitScreen: {
        static const QString splitScreen = CodeTable::SplitScreenUpdate;
        return FindFrame(frames, splitScreen);
    }
    case Match::DisplayTexts: {
        int index = -1;
        for (C::Code c : DisplayTexts)
            index = std::max(index, FindFrame(frames, codes_[c]));
        return index;
    }
    }
    return -1;
}

bool Dispatcher::runRows(const QStringList& frames)
{
    for (const Row& row : Rows) {
        if (row.endsUnlessScreenOn && !screen_.screenOn())
            return true;
        const bool holds = conditionHolds(row, frames);
        if (holds) {
            const int index = find(row, frames);
            if (index >= 0 && !act(row, frames[index]))
                return false;
        }
        if (row.events == Events::Always || (row.events == Events::IfConditionHeld && holds))
            sink_.processEvents();
    }
    return true;
}

// Runs the action of a row whose code was found; false ends the dispatch.
bool Dispatcher::act(const Row& row, const QString& frame)
{
    const int steps = row.steps.count && row.steps.step[0].kind == K::KnobTurn ? knobSteps(frame) : 0;
    if (row.line && row.lineAt == LineAt::Before)
        log_.addMessage(QLatin1String(row.line));
    for (int i = 0; i < row.steps.count; ++i) {
        const Step& s = row.steps.step[i];
        const BusEvent event{s.kind, s.kind == K::KnobTurn ? s.value * steps : s.value, frame};
        if (!sink_.busEvent(event) && !(row.extrasGuarded && i > 0))
            return false;
    }
    if (row.tape == Tape::Pause)
        tapePause();
    else if (row.tape == Tape::Resume)
        tapeResume();
    if (row.line && row.lineAt == LineAt::After)
        log_.addMessage(QLatin1String(row.line));
    else if (row.line && row.lineAt == LineAt::AfterWithSteps)
        log_.addMessage(QLatin1String(row.line) + QString::number(steps));
    return true;
}

// Both under their own guard: a failure of the player does not end the dispatch.
void Dispatcher::tapePause()
{
    sink_.busEvent({K::PauseSteps});
    tapePaused_ = true;
    log_.addMessage(QStringLiteral("MP3-Player paused"));
}

void Dispatcher::tapeResume()
{
    if (!tapePaused_)
        return;
    sink_.busEvent({K::ResumeSteps});
    tapePaused_ = false;
    log_.addMessage(QStringLiteral("MP3-Player resumed"));
    sink_.busEvent({K::PhonePicture, BusEvent::PhoneOff});
}

} // namespace zarn
