#include "ibus/ScreenRelay.h"

#include "core/StatusLog.h"
#include "ibus/RtsLine.h"

namespace zarn {

namespace {
struct ButtonLines {
    const char* first;
    const char* second;
};

const ButtonLines& linesOf(ScreenRelay::Button button)
{
    static const ButtonLines table[] = {
        {"BMW_BMW_Tone_Press found - Zarn will now try to turn screen back to original BMW (set RTS low)", nullptr},
        {"BMW_Mode_Press found - Zarn will now try to turn screen back to original BMW (set RTS low)", nullptr},
        {"BMW_Radio_Power_Press found - Zarn will now try to turn screen back to original BMW (set RTS low)", nullptr},
        {"BMW_FM_Press found - Zarn will now try to turn screen back to original BMW (set RTS low)", nullptr},
        {"BMW_AM_Press - Zarn will now try to turn screen back to original BMW (set RTS low)", nullptr},
        {"BMW_Menu_Press found - Zarn will now try to turn screen back to original BMW (set RTS low)",
         "Zarn screen turned off - reason: Menue button was hit !"},
        {"NAV Info Update in Split screen mode found - Zarn will now try to turn screen back to original BMW (set RTS low)",
         "Zarn screen turned off - reason: NAV Info Update in Split screen mode !"},
        {"BMW_TP_Press found - Zarn will now try to turn screen back to original BMW (set RTS low)",
         "Zarn screen turned off - reason: BMW_TP_Press button was hit !"},
    };
    return table[int(button)];
}
} // namespace

ScreenRelay::ScreenRelay(RtsLine& rts, StatusLog& log, QObject* parent)
    : QObject(parent)
    , rts_(rts)
    , log_(log)
{
}

void ScreenRelay::setOffpanelVisible(bool visible)
{
    if (visible == offpanelVisible_)
        return;
    offpanelVisible_ = visible;
    emit offpanelVisibleChanged(visible);
}

void ScreenRelay::SetScreenRelay(bool on)
{
    rts_.setRtsState(on);
    setOffpanelVisible(!on);
    log_.addMessage(rts_.rtsState() ? QStringLiteral("RTS is now HIGH (relais on)") : QStringLiteral("RTS is now LOW (relais off)"));
}

void ScreenRelay::ScreenOffByButton(Button button)
{
    const ButtonLines& lines = linesOf(button);
    screenOn_ = false;
    log_.addMessage(QLatin1StringView(lines.first));
    SetScreenRelay(false);
    if (lines.second)
        log_.addMessage(QLatin1StringView(lines.second));
}

void ScreenRelay::ScreenOnByDisplayText()
{
    screenOn_ = true;
    log_.addMessage(QStringLiteral("BMW_Tape or Tape_alternative or BMW_AUX or BMW_RTS_Activate found"));
    if (!rts_.rtsState()) {
        log_.addMessage(QStringLiteral("===> RTS was low so far, hence we turn in ON now"));
        SetScreenRelay(true);
    } else {
        log_.addMessage(QStringLiteral("===> RTS is already on, hence we DO NOTHING (this buys performance, guys!"));
    }
}

void ScreenRelay::ToggleScreen()
{
    if (screenOn_) {
        screenOn_ = false;
        log_.addMessage(QStringLiteral("BMW_Rad_BM_switch found while screen on - Zarn will now try to turn screen back to "
                                       "original BMW (set RTS low)"));
        SetScreenRelay(false);
    } else {
        screenOn_ = true;
        log_.addMessage(QStringLiteral("BMW_Rad_BM_switch found while screen off - Zarn will now try to turn screen ON (set "
                                       "RTS high) - CAUTION: we do not care at this time, if the underlying BMW image is "
                                       "TAPE, CD or AUX - use at your own risk !"));
        SetScreenRelay(true);
    }
}

void ScreenRelay::offpanelClick()
{
    setOffpanelVisible(false);
    screenOn_ = true;
    SetScreenRelay(true);
    log_.addMessage(QStringLiteral("Zarn RTS PIN turned on - forced click"));
}

void ScreenRelay::forceScreen()
{
    screenOn_ = true;
    SetScreenRelay(true);
}

} // namespace zarn
