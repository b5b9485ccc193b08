#include "ui/pages/MailHeadersPage.h"

#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"
#include "ui/pages/StatusStrip.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace zarn {

namespace {
constexpr int Band = 66;
constexpr int StatusHeight = 49;
struct Column {
    const char* caption;
    int width;
};
constexpr Column Columns[] = {{"From:", 320}, {"Subject:", 270}, {"Date", 230}};
} // namespace

MailHeadersPage::MailHeadersPage(QWidget* parent)
    : ZarnPage(QStringLiteral("EmailHeaders"), parent)
{
    using namespace PageBuilder;
    back_ = backItem(this, QStringLiteral("BMWpanel42"), QRect(0, 0, 280, Band));
    getMail_ = item(this, QStringLiteral("BMWpanel43"), QStringLiteral(" Get Mail"), QRect(280, 0, 520, Band), true);
    connect(getMail_, &TBMWpanel::clicked, this, &MailHeadersPage::getMailRequested);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("lvHeaders"));
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setUniformRowHeights(true);
    // The three columns are a little wider than the page; the knob has no way to scroll sideways.
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setFont(pixelFont(QStringLiteral("Arial"), 22));
    list_->header()->setFont(pixelFont(QStringLiteral("Arial"), 22, true));
    list_->header()->setSectionsMovable(false);
    QStringList captions;
    for (const Column& c : Columns)
        captions << QLatin1String(c.caption);
    list_->setHeaderLabels(captions);
    for (int i = 0; i < int(std::size(Columns)); ++i)
        list_->setColumnWidth(i, Columns[i].width);
    list_->setEnabled(false);
    list_->setGeometry(0, Band, 800, 534 - Band - StatusHeight);
    connect(list_, &QTreeWidget::itemClicked, this, &MailHeadersPage::lvHeadersClick);

    status_ = statusStrip(this, "Mailstatus", " System ready", StatusHeight);
}

void MailHeadersPage::applyDocking()
{
    PageBuilder::dockBottom(status_);
    list_->setGeometry(list_->x(), Band, list_->width(), std::max(0, status_->y() - Band));
}

void MailHeadersPage::setStatus(const QString& text)
{
    status_->setCaption(text);
    status_->repaint();
}

void MailHeadersPage::setDownloadEnabled(bool enabled)
{
    getMail_->setEnabled(enabled);
    list_->setEnabled(enabled);
}

void MailHeadersPage::clearRows()
{
    list_->clear();
}

void MailHeadersPage::addRow(const QString& from, const QString& subject, const QString& date)
{
    new QTreeWidgetItem(list_, {from, subject, date});
}

int MailHeadersPage::selectedRow() const
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.first());
}

void MailHeadersPage::lvHeadersClick()
{
    emit headerChosen(selectedRow());
}

void MailHeadersPage::select(int row)
{
    QTreeWidgetItem* item = list_->topLevelItem(row);
    if (!item)
        return;
    list_->setCurrentItem(item);
    list_->clearSelection();
    item->setSelected(true);
    list_->scrollToItem(item);
}

bool MailHeadersPage::turn(Turn turn, QWidget* focus)
{
    if (focus != list_)
        return false;
    const int count = list_->topLevelItemCount();
    const int i = selectedRow();
    if (turn == Turn::Clockwise) {
        // On the last entry the selection stays.
        if (i + 1 < count)
            select(i + 1);
        return true;
    }
    const int at = std::max(i, 0);
    QTreeWidgetItem* top = list_->itemAt(0, 0);
    const int firstVisible = top ? list_->indexOfTopLevelItem(top) : 0;
    if (firstVisible > 0 && at == firstVisible) {
        // Scrolled down and on the first visible row: back to the start, and out.
        select(0);
        back_->setFocus(Qt::OtherFocusReason);
    } else if (at == 0) {
        back_->setFocus(Qt::OtherFocusReason);
    } else {
        select(at - 1);
    }
    return true;
}

bool MailHeadersPage::press(QWidget* focus)
{
    if (focus != list_)
        return false;
    lvHeadersClick();
    return true;
}

} // namespace zarn
