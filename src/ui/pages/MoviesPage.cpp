#include "ui/pages/MoviesPage.h"

#include "ui/PlainPanel.h"
#include "ui/pages/PageBuilder.h"
#include "ui/pages/StatusStrip.h"

namespace zarn {

MoviesPage::MoviesPage(QWidget* parent)
    : ZarnPage(QStringLiteral("TabSheet2"), parent)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel13"), QRect(0, 0, 424, 79));
    symbolItem(this, QStringLiteral("BMWpanel14"), QStringLiteral(" B"), QRect(424, 0, 376, 79), true);
    videoError_ = statusStrip(this, "Videoerror", " ");
    // FileListBox2 comes with the movie player.
}

void MoviesPage::applyDocking()
{
    PageBuilder::dockBottom(videoError_);
}

} // namespace zarn
