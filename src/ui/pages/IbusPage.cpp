#include "ui/pages/IbusPage.h"

#include "core/AppDir.h"
#include "core/StatusLog.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace zarn {

namespace {
constexpr int HeaderHeight = 79;
constexpr int BandHeight = 276;
constexpr int RowHeight = 55;
constexpr int StripWidth = 22;
constexpr int RandomItems = 12;
constexpr int RandomItemHeight = 40;
} // namespace

IbusPage::IbusPage(QWidget* parent)
    : ZarnPage(QStringLiteral("TabSheet7"), parent)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel19"), QRect(0, 0, 400, HeaderHeight));
    auto* actions = item(this, QStringLiteral("BMWpanel18"), QStringLiteral(" Actions"), QRect(400, 0, 400, HeaderHeight), true);
    connect(actions, &TBMWpanel::clicked, this, &IbusPage::BMWpanel18Click);

    strip_ = new QWidget(this);
    strip_->setObjectName(QStringLiteral("RandomListStrip"));
    strip_->setAutoFillBackground(true);
    QPalette red = strip_->palette();
    red.setColor(QPalette::Window, Qt::red);
    strip_->setPalette(red);
    for (int i = 0; i < RandomItems; ++i) {
        auto* p = panel(strip_, QStringLiteral("RandomListItem%1").arg(i + 1), QStringLiteral("Random list"),
                        QRect(0, i * RandomItemHeight, StripWidth, RandomItemHeight),
                        pixelFont(QStringLiteral("Arial Narrow"), 8));
        p->setColor(Qt::red);
        // Only upright is there room for the caption.
        p->setVerticalText(true);
        connect(p, &PlainPanel::clicked, this, &IbusPage::randomListRequested);
    }

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setFrameShape(QFrame::NoFrame);
    memo_->setFocusPolicy(Qt::NoFocus);
    memo_->setFont(pixelFont(QStringLiteral("Arial Narrow"), 33));
    QPalette logColors = memo_->palette();
    logColors.setColor(QPalette::Base, Qt::black);
    logColors.setColor(QPalette::Text, QColor(0x00, 0xFF, 0x00));
    memo_->setPalette(logColors);

    band_ = new QWidget(this);
    band_->setObjectName(QStringLiteral("Panel9"));
    struct Row {
        const char* name;
        const char* caption;
        void (IbusPage::*click)();
    };
    // From the top; the knob walks them bottom-up ("Done" first).
    const Row rows[] = {
        {"BMWpanel26", "Messages now OFF", &IbusPage::BMWpanel26Click},
        {"BMWpanel27", "Trace is OFF", &IbusPage::BMWpanel27Click},
        {"BMWpanel28", "Clear Log", &IbusPage::BMWpanel28Click},
        {"BMWpanel29", "Save Log to", &IbusPage::BMWpanel29Click},
        {"BMWpanel30", "Done", &IbusPage::BMWpanel30Click},
    };
    int top = 0;
    for (const Row& r : rows) {
        auto* p = item(band_, QLatin1String(r.name), QLatin1String(r.caption), QRect(0, top, 800, RowHeight), false,
                       actionFont());
        p->setBMW_llf1(4);
        connect(p, &TBMWpanel::clicked, this, r.click);
        top += RowHeight;
    }
    traceFile_ = new QLineEdit(AppDir() + QStringLiteral("Zarn_Trace.txt"), named("BMWpanel29"));
    traceFile_->setObjectName(QStringLiteral("Edit7"));
    traceFile_->setGeometry(229, (RowHeight - 36) / 2, 364, 36);
    traceFile_->setFont(pixelFont(QStringLiteral("Arial Narrow"), 32, true, true));
    traceFile_->setFocusPolicy(Qt::ClickFocus);
    traceFile_->setCursorPosition(0);
    band_->hide();

    applyDocking();
}

TBMWpanel* IbusPage::named(const char* name) const
{
    return findChild<TBMWpanel*>(QLatin1String(name));
}

void IbusPage::attachStatusLog(StatusLog& log)
{
    if (log_)
        disconnect(log_, nullptr, this, nullptr);
    log_ = &log;
    memo_->setPlainText(log.lines().join(QLatin1Char('\n')));
    connect(&log, &StatusLog::lineAdded, this, &IbusPage::appendLine);
    connect(&log, &StatusLog::cleared, memo_, &QPlainTextEdit::clear);
}

void IbusPage::appendLine(const QString& line)
{
    memo_->appendPlainText(line);
}

void IbusPage::BMWpanel18Click()
{
    band_->show();
    applyDocking();
    named("BMWpanel19")->setFocusPolicy(Qt::NoFocus);
    named("BMWpanel18")->setFocusPolicy(Qt::NoFocus);
    named("BMWpanel30")->setFocus();
}

void IbusPage::BMWpanel30Click()
{
    band_->hide();
    applyDocking();
    named("BMWpanel19")->setFocusPolicy(Qt::StrongFocus);
    named("BMWpanel18")->setFocusPolicy(Qt::StrongFocus);
    named("BMWpanel18")->setFocus();
}

void IbusPage::BMWpanel26Click()
{
    if (!log_)
        return;
    const bool on = !log_->messagesEnabled();
    log_->setMessagesEnabled(on);
    named("BMWpanel26")->setBMW_supercaption(on ? QStringLiteral("Messages now ON") : QStringLiteral("Messages now OFF"));
    emit traceIndicatorChanged(on);
}

void IbusPage::BMWpanel27Click()
{
    if (!log_)
        return;
    const bool on = !log_->frameTraceEnabled();
    log_->setFrameTraceEnabled(on);
    named("BMWpanel27")->setBMW_supercaption(on ? QStringLiteral("Trace is ON") : QStringLiteral("Trace is OFF"));
    emit traceIndicatorChanged(on);
}

void IbusPage::BMWpanel28Click()
{
    if (log_)
        log_->clear();
    else
        memo_->clear();
}

void IbusPage::BMWpanel29Click()
{
    if (!log_)
        return;
    QString error;
    if (!log_->save(traceFile_->text(), &error))
        emit saveLogFailed(error);
}

void IbusPage::applyDocking()
{
    int top = HeaderHeight;
    if (!band_->isHidden()) {
        band_->setGeometry(0, top, width(), BandHeight);
        for (QWidget* row : band_->findChildren<TBMWpanel*>(Qt::FindDirectChildrenOnly))
            row->setGeometry(0, row->y(), width(), row->height());
        top += BandHeight;
    }
    const int rest = std::max(0, height() - top);
    strip_->setGeometry(0, top, StripWidth, rest);
    memo_->setGeometry(StripWidth, top, std::max(0, width() - StripWidth), rest);
}

} // namespace zarn
