#pragma once

#include "core/SettingsRow.h"

#include <QString>

namespace zarn {

// The settings and switches the bus side reads while it runs, with its rows of
// Zarn.ini (the switches have none). Owned by the composition root, changed there
// (settings page, start-up switches); main thread only.
struct BusOptions {
    static std::span<const SettingsRow> keys();

    bool cdEmulation = false;              // CD_CheckBox
    bool noSend = false;                   // NOSEND_CheckBox
    bool shutdownWithCheckControl = false; // Shutdown_with_checkcontrol
    bool shutDownMessageActive = false;    // ShutDownMessage_active
    QString shutDownMessage;               // ShutDownMessage
    bool auxMode = false;                  // AUX switch
    bool miles = false;                    // Miles_checkbox

    bool operator==(const BusOptions&) const = default;
};

} // namespace zarn
