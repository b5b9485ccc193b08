#pragma once

#include <QString>

namespace zarn {

// The settings and switches the bus side reads while it runs. Owned by the
// composition root, changed there (settings page, start-up switches); main thread only.
struct BusOptions {
    bool cdEmulation = false;              // CD_CheckBox
    bool noSend = false;                   // NOSEND_CheckBox
    bool shutdownWithCheckControl = false; // Shutdown_with_checkcontrol
    bool shutDownMessageActive = false;    // ShutDownMessage_active
    QString shutDownMessage;               // ShutDownMessage
    bool auxMode = false;                  // AUX switch
    bool miles = false;                    // Miles_checkbox
};

} // namespace zarn
