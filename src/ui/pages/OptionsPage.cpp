#include "ui/pages/OptionsPage.h"

#include "ui/TBMWpanel.h"
#include "ui/pages/ComTab.h"
#include "ui/pages/PageBuilder.h"
#include "ui/pages/SettingsTabs.h"
#include "ui/pages/TabSpecial.h"

#include <QTabBar>
#include <QTabWidget>

namespace zarn {

namespace {
constexpr int RowHeight = 79;

QWidget* tabPage(QTabWidget* notebook, const char* name, const QString& caption)
{
    auto* w = new QWidget(notebook);
    w->setObjectName(QLatin1String(name));
    notebook->addTab(w, caption);
    return w;
}
} // namespace

OptionsPage::OptionsPage(QWidget* parent)
    : ZarnPage(QStringLiteral("Options"), parent)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel10"), QRect(0, 0, 400, RowHeight));
    item(this, QStringLiteral("BMWpanel20"), QStringLiteral(" Darker"), QRect(400, 0, 400, RowHeight), true);

    notebook_ = new QTabWidget(this);
    notebook_->setObjectName(QStringLiteral("TabbedNotebook1"));
    notebook_->setFont(pixelFont(QStringLiteral("Arial"), 14));
    notebook_->setFocusPolicy(Qt::NoFocus);
    // "&&" shows one ampersand in a tab caption.
    SettingsTabs::buildSchemes(tabPage(notebook_, "TabSchemes", QStringLiteral("Schemes")));
    SettingsTabs::buildMp3(tabPage(notebook_, "TabMP3", QStringLiteral("MP3")));
    SettingsTabs::buildDirs(tabPage(notebook_, "TabDirs", QStringLiteral("Dir, Sound && Starts")));
    SettingsTabs::buildWeb(tabPage(notebook_, "TabWeb", QStringLiteral("Web")));
    SettingsTabs::buildMail(tabPage(notebook_, "TabMail", QStringLiteral("Mail")));
    com_ = new ComTab(notebook_);
    notebook_->addTab(com_, QStringLiteral("COM"));
    layout_ = tabPage(notebook_, "TabLayout", QStringLiteral("Layout"));
    special_ = new TabSpecial(notebook_);
    notebook_->addTab(special_, QStringLiteral("Special"));
    tabPage(notebook_, "TabCamSpeech", QStringLiteral("Cam && Speech"));
    notebook_->setCurrentIndex(Schemes);
    // The tabs keep the toolkit's own colors: light tabs with dark text.
    QPalette tabs = notebook_->tabBar()->palette();
    tabs.setColor(QPalette::WindowText, Qt::black);
    tabs.setColor(QPalette::ButtonText, Qt::black);
    notebook_->tabBar()->setPalette(tabs);
    // The sub-pages show the window's own background, as the rest of the screen.
    for (int i = 0; i < notebook_->count(); ++i)
        notebook_->widget(i)->setAutoFillBackground(true);

    item(this, QStringLiteral("BMWpanel21"), QStringLiteral("Lighter"), QRect(0, 456, 400, RowHeight));
    item(this, QStringLiteral("BMWpanel31"), QStringLiteral(" Scale Screen"), QRect(400, 456, 400, RowHeight), true);
    applyDocking();
}

void OptionsPage::applyDocking()
{
    // The bottom row stays on the page's bottom edge; the notebook fills the space between.
    const int bottom = height() - RowHeight;
    for (const char* name : {"BMWpanel21", "BMWpanel31"}) {
        if (auto* w = findChild<QWidget*>(QLatin1String(name)))
            w->move(w->x(), bottom);
    }
    notebook_->setGeometry(0, RowHeight, width(), std::max(0, bottom - RowHeight));
}

} // namespace zarn
