#include "ui/ScreenLayout.h"

#include "ui/ZarnWindow.h"
#include "ui/pages/ZarnPage.h"

#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>

namespace zarn {

namespace {
// Left column (at 0) and right column (at half the width) of the half-width items.
const char* const LeftItems[] = {"BMWpanel1",  "BMWpanel3",  "BMWpanel4",   "BMWpanel89", "BMWpanel76", "BMWpanel5",
                                 "BMWpanel10", "BMWpanel11", "BMWpanel13",  "BMWpanel15", "BMWpanel16", "BMWpanel136",
                                 "BMWpanel74", "BMWpanel19", "BMWpanel90",  "BMWpanel21", "BMWpanel32", "BMWpanel34",
                                 "BMWpanel36", "BMWpanel38", "BMWpanel40",  "BMWpanel42"};
const char* const RightItems[] = {"BMWpanel2",  "BMWpanel6",  "BMWpanel7",  "BMWpanel123", "BMWpanel8",  "BMWpanel9",
                                  "BMWpanel12", "BMWpanel14", "BMWpanel17", "BMWpanel137", "BMWpanel75", "BMWpanel18",
                                  "BMWpanel20", "BMWpanel22", "BMWpanel91", "BMWpanel31",  "BMWpanel33", "BMWpanel35",
                                  "BMWpanel37", "BMWpanel39", "BMWpanel41", "BMWpanel43"};

class Finder {
public:
    explicit Finder(ZarnWindow& w)
        : w_(w)
    {
    }
    QWidget* operator()(const char* name) const { return w_.findChild<QWidget*>(QLatin1String(name)); }

private:
    ZarnWindow& w_;
};

// Fill the parent's client area, then stand 1 px out on both sides so the list's side
// borders are out of sight.
void fillWithBordersOutside(QWidget* list)
{
    if (!list || !list->parentWidget())
        return;
    const QRect r = list->parentWidget()->rect();
    list->setGeometry(r.x() - 1, r.y(), r.width() + 2, r.height());
}

void centre(QWidget* panel, int W, int H, int raise)
{
    if (panel)
        panel->move(W / 2 - panel->width() / 2, H / 2 - panel->height() / 2 - raise);
}
} // namespace

void ArrangeLayout(ZarnWindow& window)
{
    const Finder find(window);
    const int W = window.width();
    const int H = window.height();
    const int H2 = W / 2;
    const int headerHeight = window.HeaderPanel()->height();

    // 8 first here: the pages must have their size before the docked children are placed.
    QStackedWidget* pages = window.PageControl1();
    const int pagesTop = window.headerCustomized() ? -23 : headerHeight - 24;
    pages->setGeometry(-4, pagesTop, W + 6, H - headerHeight + 26);
    for (int i = 0; i < pages->count(); ++i) {
        QWidget* p = pages->widget(i);
        p->setGeometry(pages->contentsRect());
        if (auto* zp = qobject_cast<ZarnPage*>(p))
            zp->applyDocking();
    }

    // 1. The music and movie lists.
    fillWithBordersOutside(find("BMWListbox1"));
    fillWithBordersOutside(find("FileListBox2"));
    // 2. The now-playing options.
    centre(find("MP3OptionsPanel"), W, H, 50);
    // 3. The steering simulator.
    if (QWidget* wheel = find("Wheelbuttons"))
        wheel->move(50, 50);
    // 4. The speed camera sign.
    centre(find("AlertPanel"), W, H, 0);
    // 5. The driver's log list: its parent's area, 20 px narrower and 20 px to the right.
    if (QWidget* log = find("loglist"); log && log->parentWidget()) {
        const QRect r = log->parentWidget()->rect();
        log->setGeometry(r.x() + 20, r.y(), r.width() - 20, r.height());
    }
    // 6. The radar map and action list fill the radar page below its header (its docking).
    // 7. The line-length box 8 px from the notebook's right edge.
    if (QWidget* box = find("Panel23")) {
        if (auto* notebook = window.findChild<QTabWidget*>(QStringLiteral("TabbedNotebook1")))
            box->move(notebook->width() - box->width() - 8, box->y());
    }
    // 9. Half-width items.
    for (const char* name : LeftItems) {
        if (QWidget* w = find(name))
            w->setGeometry(0, w->y(), H2, w->height());
    }
    for (const char* name : RightItems) {
        if (QWidget* w = find(name))
            w->setGeometry(H2, w->y(), H2, w->height());
    }
    if (QWidget* random = find("BMWpanel71"))
        random->move(0, random->y());
    // 10. Right-aligned with the music page's up item.
    if (QWidget* up = find("BMWpanel12")) {
        for (const char* name : {"BMWpanel70", "Panel10"}) {
            if (QWidget* w = find(name))
                w->move(up->x() + up->width() - w->width(), w->y());
        }
    }
    // 11. The web page's top row.
    const auto row = [&find](const char* name, int left, int width) {
        if (QWidget* w = find(name))
            w->setGeometry(left, w->y(), width, w->height());
    };
    row("BMWpanel44", 0, 274);
    row("BMWpanel45", 273, 55);
    row("BMWpanel46", 328, 55);
    row("BMWpanel47", 383, W - 383);
    // 12. The mail header list.
    row("lvHeaders", 0, pages->width());
    // 13. The size of the customized look's background picture.
    if (auto* label = window.findChild<QLabel*>(QStringLiteral("Label34"))) {
        const QSize s = window.alternateBackgroundSize();
        label->setText(QStringLiteral("Individual background size is%1 x %2").arg(s.width()).arg(s.height()));
    }
    // 14. The main menu's bottom row reaches from the Launch item to the status bar.
    QWidget* launch = find("BMWpanel76");
    QWidget* statusBar = find("StatusBar");
    QWidget* bottomRow = find("Panel40");
    if (launch && statusBar && bottomRow) {
        const int top = launch->y() + launch->height();
        bottomRow->setGeometry(bottomRow->x(), top, W, statusBar->y() - top);
        for (const char* name : {"BMWpanel5", "BMWpanel9"}) {
            if (QWidget* w = find(name))
                w->setGeometry(w->x(), 0, w->width(), bottomRow->height());
        }
    }
}

} // namespace zarn
