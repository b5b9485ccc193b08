#pragma once

class QWidget;

namespace zarn {

class PlainPanel;

namespace PageBuilder {

// A status strip docked at the bottom of its page: left-aligned text, "Arial Narrow"
// bold. Place it with dockBottom() in the page's docking.
PlainPanel* statusStrip(QWidget* page, const char* name, const char* caption, int height = 48, int px = 32);
// Puts w along the bottom edge of its parent, full width, keeping its height.
void dockBottom(QWidget* w);

} // namespace PageBuilder

} // namespace zarn
