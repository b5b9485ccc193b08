#pragma once

#include <functional>

namespace zarn {

class MainController;
class ZarnWindow;

// The speed camera warning and its radar page: the camera list's menu item and
// indicator, the check's labels, compass and map, the alert sign, the page's items, the
// warning sound and the settings page's "Test sound". save writes Zarn.ini;
// setIndicator raises or lowers a header indicator and repaints the scheme.
void wireRadar(ZarnWindow& window, MainController& core, std::function<bool()> save,
               std::function<void(const char* name, bool raised)> setIndicator);

} // namespace zarn
