// The driver's log between the bus, its controller and its two pages.
#include "app/MainController.h"
#include "app/MainWindow.h"
#include "ui/Controls.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/DriversLogPage.h"
#include "ui/pages/MainMenuPage.h"
#include "ui/pages/QuestionPage.h"

#include <QLineEdit>

namespace zarn {

// The decoders' place changes write through the controller; a mode toggle is saved at once.
void MainController::wireDriversLog()
{
    actions_.driversLog = &driversLog_;
    connect(&driversLog_, &DriversLog::saveRequested, this, [this] { SaveSettingsNow(); });
}

void MainWindow::wireDriversLog()
{
    DriversLog& log = core_.driversLog();
    auto* page = qobject_cast<DriversLogPage*>(window_.page(PageDriversLog));
    auto* question = qobject_cast<QuestionPage*>(window_.page(PageQuestion));
    if (!page || !question)
        return;

    connect(page, &DriversLogPage::modeToggleRequested, &log, &DriversLog::BMWpanel23Click);
    connect(page, &DriversLogPage::forceEntryRequested, &log, &DriversLog::BMWpanel63Click);
    connect(page, &DriversLogPage::gasFillRequested, &log, &DriversLog::BMWpanel24Click);
    connect(question, &QuestionPage::yesRequested, &log, &DriversLog::BMWpanel74Click);
    connect(question, &QuestionPage::noRequested, &log, &DriversLog::BMWpanel75Click);
    // The street item raises the warning threshold the way the radar page's item does.
    connect(page, &DriversLogPage::streetClicked, this, [this] {
        Controls::click(window_.findChild<QWidget*>(QStringLiteral("BMWpanel97")));
    });

    connect(&log, &DriversLog::logLineAdded, page, &DriversLogPage::addLogLine);
    connect(&log, &DriversLog::logListCleared, page, &DriversLogPage::clearLogList);
    const auto showMode = [page, &log] { page->setModeCaption(log.mode().modeCaption()); };
    connect(&log.mode(), &DriversLogMode::changed, page, showMode);
    showMode();
    // Both pages carry the main menu's "Driver's log" caption in the header.
    const auto showCaption = [this] {
        if (TBMWpanel* item = window_.mainMenu()->menuItem(QStringLiteral("BMWpanel4")))
            window_.setFeatureCaption(item->BMW_supercaption());
    };
    connect(&log, &DriversLog::modeShown, this, [this, &log, showCaption] {
        setIndicator("LogIndicator", log.mode().indicatorRaised());
        showCaption();
    });
    connect(&log, &DriversLog::pageRequested, this, [this, showCaption] {
        showCaption();
        window_.ShowPage(PageDriversLog);
    });
    connect(&log, &DriversLog::questionRequested, this, [this, showCaption] {
        showCaption();
        window_.ShowPage(PageQuestion);
    });
    connect(&log, &DriversLog::answerFocusRequested, question, &QuestionPage::focusNo);

    // The dual log directory counts from the moment it is typed.
    if (auto* dual = window_.findChild<QLineEdit*>(QStringLiteral("DualLogEdit")))
        connect(dual, &QLineEdit::textChanged, this, [this] { core_.liveSettingsChanged(); });
}

} // namespace zarn
