#pragma once

namespace zarn {

struct Settings;
class ZarnWindow;

// Moves the window's share of the settings between the model and the window:
// captions, title, header font, colors and slots, bounds, the picture menu, paths.
void applyToWindow(const Settings& settings, ZarnWindow& window);
void captureFromWindow(ZarnWindow& window, Settings& settings);

} // namespace zarn
