#include "carsim/Controls.h"

#include "carsim/Devices.h"
#include "carsim/Hex.h"

namespace zarn::carsim {

namespace {
Control monitorButton(const char* name, const char* label, quint8 destination, quint8 code)
{
    return {QLatin1String(name), QLatin1String(label),
            makeFrame(device::Monitor, destination, QByteArray("\x48", 1) + char(code)),
            makeFrame(device::Monitor, destination, QByteArray("\x48", 1) + char(code | 0x80))};
}

Control wheelButton(const char* name, const char* label, quint8 destination, quint8 code)
{
    return {QLatin1String(name), QLatin1String(label),
            makeFrame(device::SteeringWheel, destination, QByteArray("\x3B", 1) + char(code)), {}};
}

// The knob: 48 45 pressed, 48 05 held, with their true checksums (C2, 82).
Control knobButton(const char* name, const char* label, quint8 code)
{
    return {QLatin1String(name), QLatin1String(label),
            makeFrame(device::Monitor, device::ScreenUnit, QByteArray("\x48", 1) + char(code)), {}};
}

QList<Control> buildControls()
{
    // The radio's buttons report their release too (code + 80); nothing in the program
    // listens to it, as nothing in the car needs it either.
    return {
        knobButton("knob press", "knob press", 0x45),
        knobButton("knob long", "knob long press", 0x05),
        wheelButton("wheel up", "steering wheel up", device::Telephone, 0x01),
        wheelButton("wheel down", "steering wheel down", device::Telephone, 0x08),
        wheelButton("wheel rt", "steering wheel R/T", device::Broadcast, 0x40),
        monitorButton("button 1", "button 1", device::Radio, 0x11),
        monitorButton("button 2", "button 2", device::Radio, 0x01),
        monitorButton("button 3", "button 3", device::Radio, 0x12),
        monitorButton("button 4", "button 4", device::Radio, 0x02),
        monitorButton("button 5", "button 5", device::Radio, 0x13),
        monitorButton("button 6", "button 6", device::Radio, 0x03),
        monitorButton("button fm", "FM button", device::Radio, 0x31),
        monitorButton("button am", "AM button", device::Radio, 0x21),
        monitorButton("button mode", "MODE button", device::Radio, 0x23),
        monitorButton("button tp", "TP button", device::Radio, 0x32),
        monitorButton("button radnav", "radio/navigation switch", device::Radio, 0x30),
        monitorButton("button power", "radio power button", device::Radio, 0x06),
        monitorButton("button tone", "tone button", device::Radio, 0x04),
        monitorButton("button menu", "menu button", device::Broadcast, 0x34),
        monitorButton("button clock", "clock button", device::Broadcast, 0x07),
    };
}
} // namespace

const QList<Control>& controls()
{
    static const QList<Control> table = buildControls();
    return table;
}

const Control* findControl(QStringView name)
{
    for (const Control& c : controls())
        if (c.name == name)
            return &c;
    return nullptr;
}

const Control* findControlByFrame(const QByteArray& frame, bool* released)
{
    for (const Control& c : controls()) {
        if (c.press == frame || (!c.release.isEmpty() && c.release == frame)) {
            if (released)
                *released = c.press != frame;
            return &c;
        }
    }
    return nullptr;
}

} // namespace zarn::carsim
