#pragma once

#include <QObject>

namespace zarn {

class RtsLine;
class StatusLog;

// Decides whether the PC picture or the car's own picture is on the car's screen and
// drives the video switch through RTS. ScreenOn is what the program believes; the RTS
// level may differ (closed port, restarted port).
class ScreenRelay : public QObject {
    Q_OBJECT
public:
    enum class Button { Tone, Mode, RadioPower, FM, AM, Menu, SplitScreen, TP };

    ScreenRelay(RtsLine& rts, StatusLog& log, QObject* parent = nullptr);

    bool screenOn() const { return screenOn_; }
    // The full-window hint panel shown while the relay is off.
    bool offpanelVisible() const { return offpanelVisible_; }

    void SetScreenRelay(bool on);
    void ScreenOffByButton(Button button);
    void ScreenOnByDisplayText();
    void ToggleScreen();
    void offpanelClick();
    // FORCESCREEN: the desk simulation without a relay.
    void forceScreen();

signals:
    void offpanelVisibleChanged(bool visible);

private:
    void setOffpanelVisible(bool visible);

    RtsLine& rts_;
    StatusLog& log_;
    bool screenOn_ = false;
    bool offpanelVisible_ = true;
};

} // namespace zarn
