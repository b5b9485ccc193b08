#pragma once

namespace zarn {

// The operations of the pages, the music and movie players and the exit action that
// bus messages reach. The composition root implements them with the same handlers the
// on-screen controls use, so a knob detent and a mouse click take one road.
// Every default does nothing; main thread only.
class DispatcherActions {
public:
    enum class PhonePicture { Off, On, OnFree };

    virtual ~DispatcherActions() = default;

    virtual void SteerUPClick() {}
    virtual void SelButton8Click() {} // steering-wheel down
    virtual void SelButton7Click() {} // steering-wheel R/T
    virtual void SelButton1Click() {} // knob press, sender: the serial link
    virtual void longClick() {}       // knob held, sender: the serial link
    // One knob detent; false when the step failed (a move to a control that cannot take
    // the focus), which ends the dispatch of the block.
    virtual bool TurnbottonleftClick() { return true; }
    virtual bool TurnbottonrightClick() { return true; }
    virtual void BMWpanel5Click() {} // the exit action
    virtual void BMWpanel54Click() {} // the music pause toggle
    // The music player's pause and resume steps, without the toggle.
    virtual void pauseSteps() {}
    virtual void resumeSteps() {}
    virtual void HoldMovie() {}
    virtual void showPhone(PhonePicture) {}
    // Radio buttons 1 to 6.
    virtual void zahlbutton1Click() {}
    virtual void Button4Click() {}
    virtual void Button10Click() {}
    virtual void Button5Click() {}
    virtual void Button3Click() {}
    virtual void Button6Click() {}
    // Lets pending window events run between the dispatcher's rows.
    virtual void processEvents() {}
};

} // namespace zarn
