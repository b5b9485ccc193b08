#pragma once

#include <QString>
#include <QStringList>

#include <span>

namespace zarn::FocusRings {

// The ring used while a movie fills the screen (page control hidden).
constexpr int FullScreenMovie = -1;

// Forward (counter-clockwise) focus order of a page by object names. Controls that are
// hidden or disabled at the moment of a step are skipped, so optional items are listed.
QStringList forwardOrder(int page);

// The music page's character keys "a" to "z", "1" to "0", "!", "§", "$", "(", ")", "-",
// ".", "_", "| |", "<" in that order.
QStringList characterKeys();

// A move that overrides the ring. A null target means the default step. When the row's
// move is taken, `lowlight` (if any) is drawn without its focus mark.
struct ExplicitMove {
    const char* from;
    const char* clockwise;
    const char* counterClockwise;
    const char* lowlight;
};
std::span<const ExplicitMove> explicitMoves();
const ExplicitMove* explicitMove(const QString& from);

} // namespace zarn::FocusRings
