#pragma once

#include "core/Timer.h"
#include "media/NowPlayingView.h"
#include "ui/PlainPanel.h"
#include "ui/pages/ZarnPage.h"

#include <QPointer>

class QSlider;

namespace zarn {

class CoverImage;
class FormatIcon;
class StatusLog;
class TBMWpanel;
class TextScroller;

// Page 5, now playing: the cover, the tag lines, the time, the progress slider, the
// format and stream figures, the scrolling path, the options overlay `MP3OptionsPanel`
// (hidden) and the status bar `StatusBar2`. It draws a NowPlayingView and turns its
// items into requests; the music player behind them is wired by the application.
// The overlay and its hiding timer are the page's own. Main thread only.
class NowPlayingPage : public ZarnPage {
    Q_OBJECT
public:
    // The overlay hides this long after it was opened by the cover or the knob, and
    // after the last item it ran.
    static constexpr int OpenedHideMs = 7000;
    static constexpr int ItemHideMs = 8000;

    explicit NowPlayingPage(QWidget* parent = nullptr);
    QWidget* MP3OptionsPanel() const { return options_; }
    void applyDocking() override;

    // Shows this state; only the controls whose values changed are touched.
    void setView(const NowPlayingView& view);
    const NowPlayingView& view() const { return view_; }

    // The cover shown while the view names none or its file cannot be read.
    void setDefaultCover(const QPixmap& picture);
    void setDefaultCover(const QString& path);
    // Where the hiding timer writes its trace line; null writes nothing.
    void setStatusLog(StatusLog* log);

    Timer& MP3OptionsPanelDisappearTimer() { return disappearTimer_; }
    // Shows the overlay with the focus on its back item and hides it OpenedHideMs later.
    void PlayMP3ImageClick();
    void ProgressStopTracking();
    void MP3OptionsPanelDisappearTimerTimer();

    // With the options hidden, a track playing and the slider before its end, the knob
    // seeks 3 seconds; otherwise the window's step.
    bool turn(Turn turn, QWidget* focus) override;
    // With the options hidden, the press shows them.
    bool press(QWidget* focus) override;
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
    void buildDisplay();
    void buildOptions();
    void wireItem(const char* name, void (NowPlayingPage::*request)());
    TBMWpanel* optionItem(const char* name) const;

    PlainPanel* options_;
    PlainPanel* statusBar_;
    CoverImage* cover_ = nullptr;
    PlainPanel* frame_ = nullptr;
    PlainPanel* pausedLabel_ = nullptr;
    PlainPanel* time_ = nullptr;
    PlainPanel* bitrate_ = nullptr;
    PlainPanel* sampleRate_ = nullptr;
    FormatIcon* format_ = nullptr;
    QWidget* paintFrame_ = nullptr;
    QSlider* progress_ = nullptr;
    TextScroller* scroller_ = nullptr;
    PlainPanel* album_ = nullptr;
    PlainPanel* artist_ = nullptr;
    PlainPanel* title_ = nullptr;
    PlainPanel* year_ = nullptr;
    PlainPanel* genre_ = nullptr;
    Timer disappearTimer_;
    QPointer<StatusLog> log_;
    NowPlayingView view_;
};

} // namespace zarn
