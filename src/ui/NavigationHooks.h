#pragma once

class QWidget;

namespace zarn {

enum class Turn { Clockwise, CounterClockwise };

// The knob rules whose controls belong to the players, the lists, the web and mail pages
// and the radar map. Each rule returns true when it applied and took the step; the
// defaults do not apply, so the step falls through to the next rule and finally to the
// ring. `focus` is the window's focused control (may be null). Main thread only.
class NavigationHooks {
public:
    virtual ~NavigationHooks() = default;

    // Now playing, options hidden, playing, not at the end: 3 s seek (long press up/down).
    virtual bool trackSeek(Turn) { return false; }
    // Full-screen movie with its options hidden: 1/400 of the length, progress display.
    virtual bool movieSeek(Turn) { return false; }
    // Clockwise only: BMWpanel44..47 and into the URL list.
    virtual bool webRow(QWidget* focus) { return false; }
    // Clockwise only: the URL list moves down or leaves to the web area.
    virtual bool urlList(QWidget* focus) { return false; }
    // Web area scrolls down 80 px, or back to the top and to BMWpanel44.
    virtual bool webArea(QWidget* focus, Turn) { return false; }
    // MailBody scrolls down ten lines, or to its top and to BitBtnWithColor82.
    virtual bool mailText(QWidget* focus, Turn) { return false; }
    // BMWListbox1 moves its selection, counter and header caption.
    virtual bool musicList(QWidget* focus, Turn) { return false; }
    // FileListBox2; on its last entry a clockwise step must return false (default step).
    virtual bool movieList(QWidget* focus, Turn) { return false; }
    // lvHeaders.
    virtual bool mailHeaderList(QWidget* focus, Turn) { return false; }

    // Value steps of adjust mode; errors are swallowed by the implementer.
    virtual void radarScaleStep(Turn) {}           // next larger (clockwise) / smaller map scale
    virtual void speedStep(int delta) {}           // Speed_MP3 +- 2000
    virtual void equalizerStep(int band, int delta) {} // EQ1..EQ6 +- 1
    virtual void reverbStep(int delta) {}          // reverb_slider +- 1
    virtual void movieZoom(int percent) {}         // custom display size at this zoom
};

} // namespace zarn
