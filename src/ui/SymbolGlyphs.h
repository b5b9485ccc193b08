#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace zarn {

// The program draws its symbol captions itself: no symbol font comes with the system.
// In the "bmw" font "A" is the back arrow, "B" the up arrow and "C" close; in
// "Wingdings 3" the characters D9, DA, DB, DC are arrows left, right, up and down.
namespace SymbolGlyphs {

// Is this caption, in this font family, drawn as symbols?
bool isSymbolFont(const QString& family);
// Draws the symbols of caption (blanks keep their place) into rect, centred
// vertically, starting at rect's left edge.
void draw(QPainter& painter, const QRectF& rect, const QString& family, const QString& caption, const QColor& color);

} // namespace SymbolGlyphs

} // namespace zarn
