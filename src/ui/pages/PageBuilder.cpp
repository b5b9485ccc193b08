#include "ui/pages/PageBuilder.h"

#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"

namespace zarn::PageBuilder {

QFont pixelFont(const QString& family, int px, bool bold, bool italic)
{
    QFont f(family);
    f.setPixelSize(px);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QFont itemFont()
{
    return pixelFont(QStringLiteral("Arial Narrow"), 48, true);
}

QFont actionFont()
{
    return pixelFont(QStringLiteral("Arial"), 32, true);
}

TBMWpanel* item(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry, bool right,
                const QFont& font)
{
    auto* p = new TBMWpanel(name, parent);
    p->setBMW_supercaption(caption);
    p->setBMW_right(right);
    p->setFont(font);
    p->setGeometry(geometry);
    return p;
}

TBMWpanel* backItem(QWidget* parent, const QString& name, const QRect& geometry)
{
    return symbolItem(parent, name, QStringLiteral("A"), geometry);
}

TBMWpanel* symbolItem(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry,
                      bool right, int px)
{
    return item(parent, name, caption, geometry, right, pixelFont(QStringLiteral("bmw"), px));
}

PlainPanel* panel(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry,
                  const QFont& font)
{
    auto* p = new PlainPanel(name, parent, caption);
    p->setFont(font);
    p->setGeometry(geometry);
    return p;
}

} // namespace zarn::PageBuilder
