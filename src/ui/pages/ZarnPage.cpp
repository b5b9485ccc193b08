#include "ui/pages/ZarnPage.h"

namespace zarn {

ZarnPage::ZarnPage(const QString& objectName, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    setAutoFillBackground(true);
    // Design size of a page in a window of 800 by 600.
    resize(800, 535);
}

void ZarnPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    applyDocking();
}

} // namespace zarn
