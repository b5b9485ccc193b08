#pragma once

#include <QString>
#include <QStringList>

namespace zarn {

struct Settings;

// What the start-up sequence shows on the way: the splash screen and the window's
// share of the steps. Headless, every step does nothing.
class StartupView {
public:
    virtual ~StartupView() = default;

    // A splash line with its progress position (-1: the bar stays); painted at once.
    virtual void splash(int progress, const QString& line) {}
    // The defaults of the window (step "Setting Zarn Defaults").
    virtual void setDefaults() {}
    // The power options' texts, refilled with the defaults; no option selected yet.
    virtual void setPowerOptions(const QStringList& texts) {}
    virtual void setTraceIndicator(bool raised) {}
    virtual void hideMousePointer() {}
    // Zarn.ini has been read: captions, fonts, colors, bounds, pictures, paths.
    virtual void applySettings(const Settings& settings) {}
    virtual void setMetric(bool miles) {}
    // The music list shows the music root: the page clears its filter and lists it.
    virtual void showMusicRoot(const QString& root) {}
    // Colors, layout and the main menu: the last steps before the window shows.
    virtual void finish() {}
};

} // namespace zarn
