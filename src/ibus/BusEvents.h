#pragma once

#include <QString>

namespace zarn {

// What a bus message asks for, named for what happened on the bus; the dispatcher sends
// one event per action of a row whose code it found. The bus side never names a page or
// a widget: whoever owns the control that a message stands for takes the event.
struct BusEvent {
    enum class Kind {
        // The driver's controls.
        WheelUp,
        WheelDown,
        RadioTelephone, // the steering wheel's R/T button
        KnobPress,
        KnobLongPress,
        KnobTurn,  // value: detents, positive clockwise
        Preset,    // value: the radio's number button, 1 to 6
        RandomKey, // BMW_Randomize
        Exit,      // the exit action
        // Music, movie and telephone.
        PauseToggle, // the music player's pause toggle
        PauseSteps,  // pause the music, without the toggle
        ResumeSteps,
        HoldMovie,
        PhonePicture, // value: PhoneState
        // The emulated CD changer.
        CdPoll,
        CdStateRequest,
        CdPlay,
        CdStop,
        // The screen relay.
        ScreenOffByButton, // value: ScreenRelay::Button
        ScreenOnByDisplayText,
        ToggleScreen,
        // The car's status messages; frame: the frame text to decode.
        Time,
        Speed,
        Odometer,
        Position,
        City,
        Street,
    };
    enum PhoneState { PhoneOff, PhoneOn, PhoneOnFree };

    BusEvent(Kind k, int v = 0, QString f = {})
        : kind(k)
        , value(v)
        , frame(std::move(f))
    {
    }

    Kind kind;
    int value;
    QString frame; // the frame the row found, the last of the block that begins with its code
};

// Takes the dispatcher's events. Main thread only.
class BusEventSink {
public:
    virtual ~BusEventSink() = default;
    // False when the event could not be carried out (a knob step to a control that cannot
    // take the focus, a position that does not decode): the dispatch of the block ends
    // there with its error line. An event the sink has no use for is true.
    virtual bool busEvent(const BusEvent& event) = 0;
    // Lets pending window events run between the dispatcher's rows.
    virtual void processEvents() {}
};

} // namespace zarn
