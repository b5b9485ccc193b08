#pragma once

#include "ui/ColorRoles.h"
#include "ui/PageIndex.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QSize>
#include <QWidget>

class QStackedWidget;

namespace zarn {

class AlertSign;
class ComTab;
class MainMenuPage;
class MovieScreen;
class PageInput;
class PlainPanel;
class Players;
class TabSpecial;
class StatusLog;
class TBMWpanel;

// The one borderless window: the header strip with its indicators, the page control
// with the sixteen pages, and the window-level panels (screen-off hint, safety screen,
// steering simulator). Every control carries its system name as object name.
// Main thread only.
class ZarnWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int PageCount = zarn::PageCount;
    // ShowPage values beyond the page indexes: page 8 in the customized header style,
    // page 0 in the classic one.
    static constexpr int ShowCustomized = 88;
    static constexpr int ShowClassic = 100;

    explicit ZarnWindow(QWidget* parent = nullptr);
    ~ZarnWindow() override;

    ColorRoles roles;               // the colors in use (ApplyColorScheme paints from them)
    QString Versiontitle = QStringLiteral("Zarn");
    bool CustomizedLook = false;

    // The players as the pages see them; not owned. Null restores "nothing plays".
    void setPlayers(Players* players);
    Players& players() const { return *players_; }
    // The status log page shows this log and its switches act on it.
    void attachStatusLog(StatusLog& log);
    StatusLog* statusLog() const;

    QStackedWidget* PageControl1() const { return pageControl_; }
    QWidget* page(int index) const;
    MainMenuPage* mainMenu() const;
    int activePage() const;
    // The page that takes the car's controls first: the active page, or the movie page
    // while a movie fills the screen (page control hidden).
    PageInput* visibleInput() const;
    void ShowPage(int n);
    void ShowMainMenu();

    void setHeaderCaption(const QString& caption);
    QString headerCaption() const;
    // " " + Versiontitle + " " + caption
    void setFeatureCaption(const QString& caption);
    QWidget* HeaderPanel() const;
    PlainPanel* headerPanel() const { return header_; }
    QFont headerFont() const;
    void setHeaderFont(const QFont& font);
    // True while the header has the customized style (docked at the bottom, raised).
    bool headerCustomized() const { return customizedHeader_; }
    enum class HeaderDock { Top, Bottom, None };
    HeaderDock headerDock() const { return headerDock_; }
    // None keeps the header where it is (the safety screen undocks it).
    void setHeaderDock(HeaderDock dock);

    // The forward focus order of a page: the controls of its ring that can take the
    // focus now (visible on the page, enabled, a tab stop). On the settings page a
    // sub-page other than "Schemes" adds its own tab stops.
    QList<QWidget*> forwardOrder(int page) const;

    // Main menu captions by item name ("BMWpanel1" ...); unknown names are ignored.
    void setMainMenuCaptions(const QHash<QString, QString>& captions);
    void setRadarItemVisible(bool visible);
    // The "Launch this program" field; Edit11Change shows or hides the Launch item.
    void setLaunchPath(const QString& path);
    void Edit11Change(const QString& text);

    // Re-fits the layout-dependent controls to the window's size.
    void ArrangeLayout();
    void setBounds(int left, int top, int width, int height);
    // Size of the customized look's background picture, shown on the "Scale" page.
    void setAlternateBackgroundSize(const QSize& size);
    QSize alternateBackgroundSize() const { return backgroundSize_; }

    // The full-window movie beneath the header and the pages.
    MovieScreen* movieScreen() const { return movieScreen_; }
    // The speed camera alert over the whole window.
    AlertSign* alertPanel() const { return alert_; }

    // Settings sub-pages with behaviour of their own.
    ComTab* comTab() const;
    TabSpecial* specialTab() const;
    QWidget* layoutTab() const;

    // Item handlers of the back items (the main menu's are MainMenuPage's).
    void BackItemClick();
    void BMWpanel10Click();
    void BMWpanel31Click();

signals:
    void pageShown(int index);
    void headerClicked();
    void headerDoubleClicked();
    void offpanelClicked();
    void sicherheitClicked();
    // An indicator changed state: the color scheme must be applied again.
    void applyColorSchemeRequested();
    // A "Random list" item of the status log page was clicked.
    void randomListRequested();
    // "Save Log to" could not write the trace file.
    void saveLogFailed(const QString& error);
    // The settings page's back item hands the mail fields to the mail retrieval.
    void mailSettingsApplied(const QString& host, int port, const QString& user, const QString& password);
    // " Refresh" of the status page: the values again, the page stays.
    void systemStatusRefreshRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildHeader();
    void buildWindowPanels();
    void wireItems();
    void connectItem(const char* name, void (ZarnWindow::*handler)());
    TBMWpanel* item(const QString& name) const;
    void enterCustomizedHeader();
    void enterClassicHeader();
    void placeHeader();
    void nudgeWindow(int dx, int dy, int dw, int dh);
    void FormResize();

    QStackedWidget* pageControl_;
    PlainPanel* header_;
    PlainPanel* headerLine_;
    PlainPanel* headerExtO_;
    PlainPanel* headerExtU_;
    PlainPanel* panel83_;
    PlainPanel* offpanel_;
    PlainPanel* sicherheit_;
    AlertSign* alert_;
    MovieScreen* movieScreen_;
    QWidget* wheelbuttons_;
    Players* players_;
    QPointer<StatusLog> log_;
    bool customizedHeader_ = false;
    HeaderDock headerDock_ = HeaderDock::Top;
    QSize backgroundSize_{0, 0};
};

} // namespace zarn
