#include "ui/pages/SystemPage.h"

#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"

namespace zarn {

namespace {
constexpr int HeaderHeight = 79;
constexpr int RowHeight = 55;
} // namespace

SystemPage::SystemPage(QWidget* parent)
    : ZarnPage(QStringLiteral("TabSheet6"), parent)
{
    using namespace PageBuilder;
    header_ = new QWidget(this);
    header_->setObjectName(QStringLiteral("Panel12"));
    header_->setGeometry(0, 0, 800, HeaderHeight);
    backItem(header_, QStringLiteral("BMWpanel16"), QRect(0, 0, 400, HeaderHeight));
    item(header_, QStringLiteral("BMWpanel17"), QStringLiteral(" Refresh"), QRect(400, 0, 400, HeaderHeight), true);

    info_ = new QWidget(this);
    info_->setObjectName(QStringLiteral("systempanel"));
    const QFont font = pixelFont(QStringLiteral("Arial Narrow"), 32);
    int top = 4;
    for (const auto& [name, caption] : {std::pair{"BMWpanel99", "version"}, std::pair{"BMWpanel100", "path"},
                                        std::pair{"BMWpanel95", " cpu"}, std::pair{"BMWpanel101", "mhz"},
                                        std::pair{"BMWpanel98", "memory"}, std::pair{"BMWpanel102", "ip"},
                                        std::pair{"BMWpanel103", "power"}}) {
        if (QLatin1String(name) == QLatin1String("BMWpanel103"))
            top += 10; // a little below the others
        auto* p = item(info_, QLatin1String(name), QLatin1String(caption), QRect(0, top, 800, RowHeight), false, font);
        p->setFocusPolicy(Qt::NoFocus);
        top += RowHeight;
    }
    applyDocking();
}

void SystemPage::applyDocking()
{
    header_->setGeometry(0, 0, width(), HeaderHeight);
    info_->setGeometry(0, HeaderHeight, width(), std::max(0, height() - HeaderHeight));
    for (QWidget* row : info_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        row->setGeometry(0, row->y(), width(), row->height());
}

void SystemPage::setItem(const char* name, const QString& text)
{
    if (auto* p = info_->findChild<TBMWpanel*>(QLatin1String(name)))
        p->setBMW_supercaption(text);
}

void SystemPage::setTexts(const Texts& t)
{
    setItem("BMWpanel99", t.version);
    setItem("BMWpanel100", t.path);
    setItem("BMWpanel95", t.processor);
    setItem("BMWpanel101", t.speed);
    setItem("BMWpanel98", t.memory);
    setItem("BMWpanel102", t.network);
    setItem("BMWpanel103", t.power);
}

void SystemPage::setSpeed(const QString& text)
{
    setItem("BMWpanel101", text);
}

void SystemPage::setNetwork(const QString& text)
{
    setItem("BMWpanel102", text);
}

} // namespace zarn
