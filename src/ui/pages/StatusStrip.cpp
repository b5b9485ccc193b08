#include "ui/pages/StatusStrip.h"

#include "ui/PlainPanel.h"
#include "ui/pages/PageBuilder.h"

namespace zarn::PageBuilder {

PlainPanel* statusStrip(QWidget* page, const char* name, const char* caption, int height, int px)
{
    auto* p = panel(page, QLatin1String(name), QLatin1String(caption), QRect(0, 0, page->width(), height),
                    pixelFont(QStringLiteral("Arial Narrow"), px, true));
    p->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    dockBottom(p);
    return p;
}

void dockBottom(QWidget* w)
{
    const QWidget* parent = w->parentWidget();
    w->setGeometry(0, parent->height() - w->height(), parent->width(), w->height());
}

} // namespace zarn::PageBuilder
