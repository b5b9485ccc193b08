#pragma once

// The windows of the knob and select tests: the main window itself, and a small tree
// with the real control names for controls the window does not hold yet (the movie
// overlay).

#include "ui/ColorRoles.h"
#include "ui/TBMWpanel.h"
#include "ui/WindowAccess.h"
#include "ui/ZarnWindow.h"

#include <QLabel>
#include <QStackedWidget>
#include <QTest>
#include <QWidget>

namespace zarn::test {

struct InputWindow {
    QWidget window;
    QStackedWidget* pages = nullptr;
    ColorRoles roles;
    QList<int> shownPages;

    InputWindow()
    {
        window.setObjectName("Form1");
        window.resize(800, 600);
        auto* header = new QWidget(&window);
        header->setObjectName("HeaderPanel");
        header->setGeometry(0, 0, 800, 65);
        pages = new QStackedWidget(&window);
        pages->setObjectName("PageControl1");
        pages->setGeometry(0, 65, 800, 535);
        for (int i = 0; i < 16; ++i) {
            auto* p = new QWidget;
            p->setObjectName(QStringLiteral("Page%1").arg(i));
            pages->addWidget(p);
        }
        const QStringList mainItems{"BMWpanel1", "BMWpanel3", "BMWpanel4", "BMWpanel89", "BMWpanel76", "BMWpanel5",
                                    "BMWpanel9", "BMWpanel123", "BMWpanel8", "BMWpanel7", "BMWpanel6", "BMWpanel2"};
        for (int i = 0; i < mainItems.size(); ++i)
            item(0, mainItems[i], QRect(i < 6 ? 0 : 400, (i % 6) * 81, 380, 80));
        const QStringList settings{"BMWpanel20", "BMWpanel31", "BMWpanel10", "BMWpanel21", "BMWpanel67", "BMWpanel82",
                                   "BMWpanel81", "BMWpanel77", "BMWpanel80", "BMWpanel79", "BMWpanel78", "BMWpanel33"};
        auto* schemes = new QWidget(page(1));
        schemes->setObjectName("Schemes");
        schemes->setGeometry(0, 0, 800, 535);
        for (int i = 0; i < settings.size(); ++i)
            item(schemes, settings[i], QRect(i < 6 ? 0 : 400, (i % 6) * 60, 380, 56));
        // Sound effects and radar items with their mode indicators.
        for (const char* n : {"BMWpanel124", "BMWpanel129", "BMWpanel130", "BMWpanel131", "BMWpanel134", "BMWpanel133",
                              "BMWpanel132", "BMWpanel135"})
            item(14, n, QRect(0, 0, 100, 40));
        for (const char* n : {"Label4", "Label7", "Label62", "Label63", "Label64", "Label65", "Label2"}) {
            auto* l = new QLabel(n, page(14));
            l->setObjectName(n);
        }
        item(13, "BMWpanel105", QRect(0, 0, 100, 40));
        auto* knob = new QWidget(page(13));
        knob->setObjectName("mKnob1");
        knob->hide();
        // The movie options overlay holds the zoom and luminance items.
        auto* movieOptions = new QWidget(&window);
        movieOptions->setObjectName("MovieOptionsPanel");
        movieOptions->setGeometry(100, 100, 400, 300);
        movieOptions->hide();
        const QStringList movieItems{"BMWpanel88", "BMWpanel50", "BMWpanel48", "BMWpanel49", "BMWpanel52", "BMWpanel51"};
        for (int i = 0; i < movieItems.size(); ++i)
            item(movieOptions, movieItems[i], QRect(0, i * 45, 390, 40));
        auto* safety = new QLabel("Zu Ihrer Sicherheit TV nur im Stand", &window);
        safety->setObjectName("Sicherheit");
        safety->hide();
    }

    QWidget* page(int index) const { return pages->widget(index); }
    TBMWpanel* addItem(int pageIndex, const QString& name) { return item(pageIndex, name, QRect(0, 480, 100, 40)); }
    TBMWpanel* item(int pageIndex, const QString& name, const QRect& r) { return item(page(pageIndex), name, r); }
    TBMWpanel* item(QWidget* parent, const QString& name, const QRect& r)
    {
        auto* t = new TBMWpanel(name, parent);
        t->setGeometry(r);
        t->setBMW_supercaption(name);
        return t;
    }
    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        return window.findChild<T*>(name);
    }
    QString focusName() const { return window.focusWidget() ? window.focusWidget()->objectName() : QString(); }

    WindowAccess access()
    {
        WindowAccess a;
        a.window = &window;
        a.activePage = [this] { return pages->currentIndex(); };
        a.showPage = [this](int n) {
            shownPages << n;
            pages->setCurrentIndex(n);
        };
        a.roles = &roles;
        return a;
    }

    // Shown and active, so that focus events and the focus marks run as on the screen.
    bool showActive()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
    void focus(const QString& name) { find(name)->setFocus(); }
};

struct RealWindow {
    ZarnWindow window;
    QList<int> shownPages;

    RealWindow()
    {
        QObject::connect(&window, &ZarnWindow::pageShown, [this](int n) { shownPages << n; });
        // The PC picture is on the car's screen: the screen-off hint is gone.
        find("offpanel")->hide();
    }
    WindowAccess access() { return windowAccess(window); }
    QStackedWidget* pages() const { return window.PageControl1(); }
    const ColorRoles& roles() const { return window.roles; }
    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        return window.findChild<T*>(name);
    }
    // A menu item the window does not hold yet, put on a page.
    TBMWpanel* addItem(int page, const QString& name)
    {
        auto* t = new TBMWpanel(name, window.page(page));
        t->setGeometry(0, 440, 100, 40);
        return t;
    }
    QString focusName() const { return window.focusWidget() ? window.focusWidget()->objectName() : QString(); }
    void focus(const QString& name) { find(name)->setFocus(); }
    bool showActive()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
};

} // namespace zarn::test
