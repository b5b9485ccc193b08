#pragma once

#include <QLatin1StringView>

namespace zarn {

// Shown in the first status line, the cluster greeting, the window title and the
// system page: all four show this one text.
inline constexpr QLatin1StringView VersionText{"2.9.0 Build 1005 (no voice)"};

} // namespace zarn
