#include "ui/pages/QuestionPage.h"

#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"

#include <QLabel>

namespace zarn {

namespace {
constexpr int RowHeight = 79;
}

QuestionPage::QuestionPage(QWidget* parent)
    : ZarnPage(QStringLiteral("TabSheet17"), parent)
{
    using namespace PageBuilder;
    question_ = new QLabel(
        QStringLiteral("Last time Zarn was stopped it was in Business mode. Resume the business trip ?"), this);
    question_->setObjectName(QStringLiteral("QuestionLabel"));
    question_->setFont(pixelFont(QStringLiteral("Arial Narrow"), 75));
    question_->setAlignment(Qt::AlignCenter);
    question_->setWordWrap(true);

    const QFont answer = pixelFont(QStringLiteral("bmw"), 59, true);
    TBMWpanel* yes = item(this, QStringLiteral("BMWpanel74"), QStringLiteral("A yes"), QRect(0, 456, 400, RowHeight),
                          false, answer);
    TBMWpanel* no = item(this, QStringLiteral("BMWpanel75"), QStringLiteral("A no"), QRect(400, 456, 400, RowHeight),
                         true, answer);
    connect(yes, &TBMWpanel::clicked, this, &QuestionPage::yesRequested);
    connect(no, &TBMWpanel::clicked, this, &QuestionPage::noRequested);
    applyDocking();
}

void QuestionPage::applyDocking()
{
    const int bottom = height() - RowHeight;
    question_->setGeometry(0, 0, width(), std::max(0, bottom));
    for (const char* name : {"BMWpanel74", "BMWpanel75"}) {
        if (auto* w = findChild<QWidget*>(QLatin1String(name)))
            w->move(w->x(), bottom);
    }
}

void QuestionPage::focusNo()
{
    // Asked while another page shows (private mode, or the question already gone): the
    // focus stays where the driver put it.
    if (!isVisible())
        return;
    if (auto* no = findChild<QWidget*>(QStringLiteral("BMWpanel75")))
        no->setFocus();
}

} // namespace zarn
