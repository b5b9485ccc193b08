#pragma once

#include "ui/ColorRoles.h"

namespace zarn {

class ZarnWindow;

// "CUSTOM 1" and "CUSTOM 2"; the program fills them from the settings at start and
// writes them back on SaveSettings.
struct SchemeSlots {
    SchemeSlot cust1, cust2;
    bool operator==(const SchemeSlots&) const = default;
};

// "Color scheme E39 default".
inline constexpr SchemeSlot E39DefaultScheme{0x000000, 0x400000, 0x9B9B9B, 0x0080FF, 0xC0C0C0};

SchemeSlot schemeOf(const ColorRoles& roles);
void setScheme(ColorRoles& roles, const SchemeSlot& scheme);

// Paints every control of the window from w.roles by its role: menu items, status bars,
// header by the active page, indicators by their state, adjust-mode markers, the
// picture menu's words and the Layout preview. Idempotent; a control whose colors
// already match is not touched, so running it often is cheap.
void ApplyColorScheme(ZarnWindow& w);

} // namespace zarn
