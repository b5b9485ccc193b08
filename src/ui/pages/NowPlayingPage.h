#pragma once

#include "core/Timer.h"
#include "media/NowPlayingView.h"
#include "ui/PlainPanel.h"
#include "ui/pages/ZarnPage.h"

#include <QPointer>

#include <memory>

class QSlider;

namespace zarn {

class CoverImage;
class FormatIcon;
class PaintBox;
class StatusLog;
class TBMWpanel;
class TextScroller;
class TSpectrum;

// Page 5, now playing: the cover, the tag lines, the time, the progress slider, the
// format and stream figures, the scrolling path, the options overlay `MP3OptionsPanel`
// (hidden) and the status bar `StatusBar2`. It draws a NowPlayingView and turns its
// items into requests; the music player behind them is wired by the application.
// The overlay and its hiding timer are the page's own, and so is the spectrum analyser
// that draws into `PaintFrame`. Main thread only.
class NowPlayingPage : public ZarnPage {
    Q_OBJECT
public:
    // The overlay hides this long after it was opened by the cover or the knob, and
    // after the last item it ran.
    static constexpr int OpenedHideMs = 7000;
    static constexpr int ItemHideMs = 8000;

    // Where the spectrum's bars stand in the paint box: bar 0's left edge, and the foot
    // line's offset from the bottom edge (negative is up).
    static constexpr int SpectrumX = -10;
    static constexpr int SpectrumY = -3;

    explicit NowPlayingPage(QWidget* parent = nullptr);
    ~NowPlayingPage() override;
    QWidget* MP3OptionsPanel() const { return options_; }
    void applyDocking() override;

    // Shows this state; only the controls whose values changed are touched.
    void setView(const NowPlayingView& view);
    const NowPlayingView& view() const { return view_; }

    // The cover shown while the view names none or its file cannot be read.
    void setDefaultCover(const QPixmap& picture);
    void setDefaultCover(const QString& path);
    // A new spectrum analyser of the paint box's size, all bars and peaks at 0 (the
    // audio output was opened anew).
    void newSpectrum();
    // One spectrum frame from these magnitudes, shown in `PaintFrame`; nothing before
    // the first newSpectrum().
    void drawSpectrum(const float* magnitudes, int count);
    const TSpectrum* spectrum() const { return spectrum_.get(); }

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
    PaintBox* paintFrame_ = nullptr;
    std::unique_ptr<TSpectrum> spectrum_;
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
