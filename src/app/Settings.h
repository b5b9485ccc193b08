#pragma once

#include "ibus/BusOptions.h"
#include "ibus/SerialSettings.h"
#include "media/MediaSettings.h"
#include "services/LauncherSettings.h"
#include "services/MailSettings.h"
#include "services/PowerSettings.h"
#include "services/WebSettings.h"
#include "ui/WindowSettings.h"
#include "vehicle/DriversLogSettings.h"
#include "vehicle/RadarSettings.h"

namespace zarn {

// Every value of Zarn.ini except the [codes] section, one struct per owner; each
// owner lists its own rows of the key table. A default-constructed Settings holds
// the defaults of every row. The program copies its live values in before
// SaveSettings and hands each owner its share after LoadSettings. Main thread only.
struct Settings {
    Settings();

    WebSettings web;
    WindowSettings window;
    BusOptions bus;
    SerialSettings serial;
    PowerSettings power;
    DriversLogSettings driversLog;
    RadarSettings radar;
    MediaSettings media;
    MailSettings mail;
    LauncherSettings launcher;

    bool operator==(const Settings&) const = default;

    // The rules the fields apply to any value: the idle seconds are clamped, any
    // record other than 1 is private mode (0).
    void clampToFields();
};

} // namespace zarn
