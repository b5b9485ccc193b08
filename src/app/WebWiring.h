#pragma once

namespace zarn {

class StatusLog;
class ZarnWindow;
struct WebSettings;

// The web page between the window and the rest: its browser engine, loaded from its
// module on the first navigation; the main menu item that opens it; its header texts and
// status lines; its site list from the settings. Main thread only.
namespace WebWiring {

void wire(ZarnWindow& window, StatusLog& log);
// The usable entries go to the site list; each other one is named in the status log.
void applySites(ZarnWindow& window, StatusLog& log, const WebSettings& settings);

} // namespace WebWiring

} // namespace zarn
