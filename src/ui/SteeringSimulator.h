#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>

class QWidget;

namespace zarn {

class FocusNavigator;
class SelectActions;
class ZarnWindow;

// What the simulator's elements run. Unset entries do nothing.
struct SteeringSimulatorActions {
    std::function<void()> knobPress;     // "SHORT"
    std::function<void()> longKnobPress; // "LONG!"
    std::function<void()> turnLeft;      // "<"
    std::function<void()> turnRight;     // ">"
    std::function<void()> steerUp;       // "up"
    std::function<void()> steerDown;     // "dn"
    std::function<void()> longUp;        // "L" beside "up"
    std::function<void()> longDown;      // "L" beside "dn"
    std::function<void()> radioTel;      // "r/t"
    std::array<std::function<void()>, 6> presets; // "&1" .. "&6"
    std::function<void()> end;           // "end": the exit action
    // "MENU", "R/N", "Tone", "MODE", "FM", "AM", "Tape sim" feed their frame text here,
    // as if it had been received; nothing goes on the bus.
    std::function<void(const QString&)> processIbusText;
};

// The same handlers the bus reaches, for the simulator.
SteeringSimulatorActions steeringActions(FocusNavigator& navigator, SelectActions& select,
                                         std::function<void(const QString&)> processIbusText,
                                         std::function<void()> end);

// The floating steering simulator Wheelbuttons: knob, steering-wheel and radio buttons
// for the bench. "X" and a double click hide it; it is dragged by its background.
// Owned by its panel. Main thread only.
class SteeringSimulator : public QObject {
    Q_OBJECT
public:
    // The test inputs of the radio buttons, as the dispatcher receives them.
    struct TestInput {
        const char* control;
        const char* caption;
        const char* text;
    };
    static const std::array<TestInput, 7>& testInputs();

    explicit SteeringSimulator(QWidget* panel);

    QWidget* panel() const { return panel_; }
    void setActions(SteeringSimulatorActions actions) { actions_ = std::move(actions); }
    // What a double click on the header counts as: bus activity (the composition root
    // restarts the bus indicator timer with 10000 ms, raises a lowered indicator and
    // stops the idle shutdown timer).
    void setBusActivity(std::function<void()> busActivity) { busActivity_ = std::move(busActivity); }

    // Follows the navigator's knob picture position (mKnob2).
    void follow(FocusNavigator& navigator);
    void setKnobPosition(int position);
    int knobPosition() const;

    // The header's click shows the simulator, its double click is bus activity.
    void attachHeader(ZarnWindow& window);
    void HeaderPanelClick();    // shows the simulator
    void HeaderPanelDblClick(); // bus activity
    void DsFancyButton1Click(); // "X": hides it

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void addButton(const QString& name, const QString& caption, const QRect& geometry, std::function<void()> run);
    void addLabel(const QString& name, const QString& text, const QRect& geometry);

    QWidget* panel_;
    QWidget* knob_ = nullptr;
    SteeringSimulatorActions actions_;
    std::function<void()> busActivity_;
    QPoint dragOffset_;
    bool dragging_ = false;
};

// Fills the panel once; the composition root calls it for Wheelbuttons.
SteeringSimulator* buildSteeringSimulator(QWidget* panel);

} // namespace zarn
