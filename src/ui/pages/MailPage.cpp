#include "ui/pages/MailPage.h"

#include "ui/PlainPanel.h"
#include "ui/pages/PageBuilder.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace zarn {

namespace {
constexpr int Band = 66;
constexpr int Block = 133;
constexpr int ValueLeft = 100;

struct FieldRow {
    const char* caption; // null: held, not shown
    const char* name;
    QString MailPage::Fields::*value;
};
const FieldRow FieldRows[] = {
    {"From", "From", &MailPage::Fields::from},
    {"To", "Recipients", &MailPage::Fields::recipients},
    {"Cc", "Cc", &MailPage::Fields::cc},
    {"Date", "Date", &MailPage::Fields::date},
    {"Subject", "Subject", &MailPage::Fields::subject},
    {nullptr, "Receipt", &MailPage::Fields::receipt},
};
} // namespace

MailPage::MailPage(QWidget* parent)
    : ZarnPage(QStringLiteral("EmailsMail"), parent)
{
    using namespace PageBuilder;
    constexpr int Strip = 20;
    // Each focusable panel has a side strip that shows like a menu item's bar.
    back_ = panel(this, QStringLiteral("BitBtnWithColor82"), QStringLiteral("A"), QRect(Strip, 0, 400 - Strip, Band),
                  pixelFont(QStringLiteral("bmw"), 60));
    back_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    back_->setFocusPolicy(Qt::StrongFocus);
    connect(back_, &PlainPanel::clicked, this, &MailPage::BitBtnWithColor82Click);
    auto* side82 = panel(this, QStringLiteral("Sidepanel82"), QString(), QRect(0, 0, Strip, Band));
    side82->setBevel(PlainPanel::Bevel::Raised);

    other_ = panel(this, QStringLiteral("BitBtnWithColor83"), QString(), QRect(400, 0, 400 - Strip, Band));
    other_->setFocusPolicy(Qt::StrongFocus);
    auto* side83 = panel(this, QStringLiteral("Sidepanel83"), QString(), QRect(800 - Strip, 0, Strip, Band));
    side83->setBevel(PlainPanel::Bevel::Raised);

    const QFont font = pixelFont(QStringLiteral("Arial"), 20, true);
    const int rowHeight = Block / 5;
    int row = 0;
    for (const FieldRow& f : FieldRows) {
        auto* value = new QLabel(this);
        value->setObjectName(QLatin1String(f.name));
        value->setFont(font);
        value->setTextFormat(Qt::PlainText);
        values_[&f - FieldRows] = value;
        if (!f.caption) {
            value->hide();
            continue;
        }
        auto* caption = new QLabel(QLatin1String(f.caption), this);
        caption->setObjectName(QStringLiteral("MailCaption") + QLatin1String(f.name));
        caption->setFont(font);
        caption->setGeometry(8, Band + row * rowHeight, ValueLeft - 8, rowHeight);
        value->setGeometry(ValueLeft, Band + row * rowHeight, 800 - ValueLeft, rowHeight);
        ++row;
    }

    body_ = new QPlainTextEdit(this);
    body_->setObjectName(QStringLiteral("MailBody"));
    body_->setReadOnly(true);
    body_->setFrameShape(QFrame::NoFrame);
    body_->setFont(pixelFont(QStringLiteral("Arial"), 24));
    body_->setFocusPolicy(Qt::NoFocus);
    body_->setGeometry(0, Band + Block, 800, 534 - Band - Block);
}

void MailPage::applyDocking()
{
    body_->setGeometry(0, Band + Block, width(), std::max(0, height() - Band - Block));
    for (QLabel* value : values_)
        value->resize(std::max(0, width() - ValueLeft), value->height());
}

void MailPage::setFields(const Fields& fields)
{
    for (int i = 0; i < int(std::size(FieldRows)); ++i)
        values_[i]->setText(fields.*FieldRows[i].value);
    body_->setPlainText(fields.body);
}

void MailPage::setBodyFocusStop(bool stop)
{
    body_->setFocusPolicy(stop ? Qt::StrongFocus : Qt::NoFocus);
}

void MailPage::BitBtnWithColor82Click()
{
    setBodyFocusStop(false);
    emit backRequested();
}

void MailPage::ScrollTextDown(QPlainTextEdit* view)
{
    for (int i = 0; i < 10; ++i)
        view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}

void MailPage::ScrollTextTop(QPlainTextEdit* view)
{
    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
}

bool MailPage::turn(Turn turn, QWidget* focus)
{
    if (focus != body_)
        return false;
    if (turn == Turn::Clockwise) {
        ScrollTextDown(body_);
    } else {
        ScrollTextTop(body_);
        back_->setFocus(Qt::OtherFocusReason);
    }
    return true;
}

bool MailPage::press(QWidget* focus)
{
    if (focus == back_) {
        BitBtnWithColor82Click();
        return true;
    }
    // BitBtnWithColor83 has no action.
    return focus == other_;
}

} // namespace zarn
