#pragma once

#include "media/NowPlayingView.h"
#include "ui/PlainPanel.h"
#include "ui/pages/ZarnPage.h"

namespace zarn {

// Page 5, now playing: the cover, the tag lines, the time, the progress slider, the
// format and stream figures, the scrolling path, the options overlay `MP3OptionsPanel`
// (hidden) and the status bar `StatusBar2`. It draws a NowPlayingView and turns its
// items into requests; the music player behind them is wired by the application.
// The overlay and its hiding timer are the page's own. Main thread only.
class NowPlayingPage : public ZarnPage {
    Q_OBJECT
public:
    explicit NowPlayingPage(QWidget* parent = nullptr);
    QWidget* MP3OptionsPanel() const { return options_; }
    void applyDocking() override;

    // Shows this state; only the controls whose values changed are touched.
    void setView(const NowPlayingView& view);
    const NowPlayingView& view() const { return view_; }

    // The presets are the option items' numbers; they run whether or not the options
    // are shown.
    bool preset(int key) override;

signals:
    // One request per overlay item (its control name in the comment).
    void backRequested();        // BMWpanel53
    void pauseRequested();       // BMWpanel54
    void randomizeRequested();   // BMWpanel59
    void previousRequested();    // BMWpanel56
    void nextRequested();        // BMWpanel60
    void rewindRequested();      // BMWpanel57
    void forwardRequested();     // BMWpanel61
    void randomToggleRequested(); // BMWpanel58, BMWpanel72
    void stopRequested();        // BMWpanel62, BMWpanel73
    void favouriteRequested();   // BMWpanel86
    void soundFxRequested();     // BMWpanel87
    // The progress slider released at this value in seconds.
    void seekRequested(int seconds);
    // The knob's track seek while the options are hidden: +3 or -3 seconds.
    void seekStepRequested(int seconds);

private:
    PlainPanel* options_;
    PlainPanel* statusBar_;
    NowPlayingView view_;
};

} // namespace zarn
