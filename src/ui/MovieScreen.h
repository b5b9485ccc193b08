#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

namespace zarn {

class MovieController;
class PlainPanel;
class TBMWpanel;
class VideoPlayer;

// The movie over the whole window, beneath the header and the page control: the
// player's picture `ActiveMovie1`, the options overlay `MovieOptionsPanel` with its
// progress line `Label28` and six items, and the on-screen progress
// `Movie_progress_onstage`. The picture is either the player's own native window
// (videoWindowId()) or frames drawn here from the player's software renderer. A key
// pressed on the picture goes to the player's key report. Main thread only.
class MovieScreen : public QWidget {
    Q_OBJECT
public:
    // The screen fills `window` and follows its size.
    explicit MovieScreen(QWidget* window);

    // The native window for a player that draws into one.
    quint64 videoWindowId();
    // Not owned; the controller and its player must outlive the screen or be unset.
    void setMovie(MovieController* movie);
    PlainPanel* MovieOptionsPanel() const { return options_; }
    PlainPanel* onstage() const { return onstage_; }
    // The last frame drawn from the software renderer (null before the first).
    const QImage& frame() const { return frame_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showView();
    void drawFrame();

    QWidget* picture_;
    PlainPanel* options_;
    PlainPanel* label28_;
    PlainPanel* onstage_;
    TBMWpanel* pause_;
    QPointer<MovieController> movie_;
    QImage frame_;
};

} // namespace zarn
