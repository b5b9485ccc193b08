#pragma once

namespace zarn {

struct Settings;
class SchemeActions;
class ZarnWindow;

// Moves the window's share of the settings between the model and the window:
// captions, title, header font, colors and slots, bounds, the picture menu, paths.
void applyToWindow(const Settings& settings, ZarnWindow& window, SchemeActions& schemes);
void captureFromWindow(ZarnWindow& window, const SchemeActions& schemes, Settings& settings);

} // namespace zarn
