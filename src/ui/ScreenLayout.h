#pragma once

namespace zarn {

class ZarnWindow;

// Re-fits the layout-dependent controls to the window's current width and height:
// half-width menu items, the page area under the header, centred panels. Controls that
// do not exist (yet) are skipped. Called at start and on every resize.
void ArrangeLayout(ZarnWindow& window);

} // namespace zarn
