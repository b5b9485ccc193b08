#pragma once

#include "app/MainController.h"
#include "app/StartupView.h"
#include "app/UiActions.h"
#include "ui/FocusNavigator.h"
#include "ui/KnobInputFilter.h"
#include "ui/PlainItemHighlight.h"
#include "ui/SelectActions.h"
#include "ui/ZarnWindow.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace zarn {

class MailWiring;
class MoviesWiring;
class SchemeActions;
class SplashScreen;
class SteeringSimulator;

// The composition root of the program with its window: the bus side, the window and
// the handlers between them. Main thread only.
class MainWindow : public QObject, private StartupView {
    Q_OBJECT
public:
    // splash: shown during FormCreate, not owned (null without a splash screen).
    explicit MainWindow(MainController::Environment environment, SplashScreen* splash = nullptr, QObject* parent = nullptr);
    ~MainWindow() override;

    void FormCreate();
    void FormCloseQuery();
    // Shows the window and takes the input focus: without a window manager nobody else
    // gives it, and the knob's focus mark must be seen from the first detent.
    void show();
    // Raises the window and activates it unless it is active already; nothing while the
    // rear camera is shown (the make-self-active tick; a launched program loses the front).
    void keepInFront();

    ZarnWindow& window() { return window_; }
    MainController& core() { return core_; }
    FocusNavigator& navigator() { return navigator_; }
    SelectActions& select() { return select_; }
    MoviesWiring& movies() { return *movies_; }
    // Copies the window's settings into the model and writes Zarn.ini.
    bool SaveSettings();

private:
    void splash(int progress, const QString& line) override;
    void setDefaults() override;
    void setTraceIndicator(bool raised) override;
    void setPowerOptions(const QStringList& texts) override;
    void hideMousePointer() override;
    void applySettings(const Settings& settings) override;
    void setMetric(bool miles) override;
    void showMusicRoot(const QString& root) override;
    void finish() override;

    void wireBus();
    void wireMusic();
    void wireSpectrum();
    void wireMusicPage();
    void wireSoundFx();

    void wireRandomList();
    void wireSettingsPage();
    void wireVehicle();
    void wireDriversLog();
    void showVehicleValues();
    void wireSystemPage();
    void fillSystemPage();
    void wireLauncher();
    void wireExits();
    void busActivity();
    void setIndicator(const char* name, bool raised);

    ZarnWindow window_;
    FocusNavigator navigator_;
    SelectActions select_;
    KnobInputFilter knobInput_;
    PlainItemHighlight highlight_;
    UiActions actions_;
    MainController core_;
    SchemeActions& schemes_; // a child of the window
    SteeringSimulator* simulator_ = nullptr;
    QPointer<SplashScreen> splash_;
    std::unique_ptr<MoviesWiring> movies_; // before the window goes
    // The music item had the focus when the list read disabled it; where Qt put it then.
    bool musicItemLentFocus_ = false;
    QPointer<QWidget> focusLentTo_;
    // Last, so it goes first: its worker thread ends before the window and the log do.
    std::unique_ptr<MailWiring> mail_;
};

} // namespace zarn
