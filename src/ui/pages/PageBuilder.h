#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

namespace zarn {

class PlainPanel;
class TBMWpanel;

// Small helpers that build the named controls of the pages with their design fonts.
namespace PageBuilder {

QFont pixelFont(const QString& family, int px, bool bold = false, bool italic = false);
// "Arial Narrow" bold 48 px: the main menu and the header rows.
QFont itemFont();
// "Arial" bold 32 px: the rows of the action bands.
QFont actionFont();

TBMWpanel* item(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry,
                bool right = false, const QFont& font = itemFont());
// The back item: "A" in the symbol font "bmw", 75 px.
TBMWpanel* backItem(QWidget* parent, const QString& name, const QRect& geometry);
// A caption in the symbol font "bmw" (" B" up, "C" close).
TBMWpanel* symbolItem(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry,
                      bool right = false, int px = 75);
PlainPanel* panel(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry,
                  const QFont& font = pixelFont(QStringLiteral("Arial Narrow"), 32));

} // namespace PageBuilder

} // namespace zarn
