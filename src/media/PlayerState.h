#pragma once

#include "core/StartupSequence.h"

#include <QObject>
#include <QString>

namespace zarn {

// The music player's pause state as the now-playing page shows it and the bus's
// pause rows drive it. There is no separate paused flag: the track counts as paused
// exactly when the pause item does not read "(1) Pause", so showing the playing state
// over a paused stream makes the next toggle pause again.
//
// Contract:
// - Main thread only; every member is called there and every signal is emitted there.
// - pauseStream() and playStream() are intents for the audio engine: it must pause
//   or play (not restart) the current stream; without an engine they go nowhere.
// - displayChanged() follows every change of caption, play mark or scrolling; the
//   page repaints from the getters.
// - Nothing is mandatory to connect; the controller never touches a widget.
class PlayerState : public QObject {
    Q_OBJECT
public:
    explicit PlayerState(QObject* parent = nullptr);

    bool paused() const { return pauseCaption_ != PauseCaption; }
    QString pauseCaption() const { return pauseCaption_; } // BMWpanel54: "(1) Pause" / "(1) Resume"
    QString playMark() const { return playMark_; }         // paused_label: ">" / "||"
    bool scrolling() const { return scrolling_; }          // MP3_scroller runs

    // Its step of the start-up: the resume of the last track (which arrives with the
    // audio engine) after Zarn.ini has been read.
    void registerStartup(StartupSequence& startup);

    // The pause toggle (BMWpanel54Click, radio button 1, the bus's pause rows).
    void BMWpanel54Click();
    // The toggle's two halves, which the bus events also run on their own.
    void pauseSteps();
    void resumeSteps();
    // The playing state on the display only; the stream is not resumed.
    void showPlaying();

    static constexpr const char* PauseCaption = "(1) Pause";
    static constexpr const char* ResumeCaption = "(1) Resume";

signals:
    void pauseStream();
    void playStream();
    void displayChanged();

private:
    void show(const char* caption, const char* mark, bool scrolling);

    QString pauseCaption_ = QLatin1String(PauseCaption);
    QString playMark_ = QStringLiteral(">");
    bool scrolling_ = true;
};

} // namespace zarn
