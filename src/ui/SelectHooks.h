#pragma once

class QWidget;

namespace zarn {

// The knob-press rules whose controls belong to the rear camera, the players, the web
// and mail pages and the lists, and the long knob press. Each rule returns true when it
// applied and took the press; the defaults do not apply. Main thread only.
class SelectHooks {
public:
    virtual ~SelectHooks() = default;

    // videoarea is visible: hide it, stop the capture, header caption " <title> Main".
    virtual bool closeRearCamera() { return false; }
    // Page 5 is active (already checked): if MP3OptionsPanel is hidden, show it, start its
    // hiding timer with 7000 ms and focus BMWpanel53.
    virtual bool showNowPlayingOptions() { return false; }
    // BitBtnWithColor100 (the URL list) has the focus: open the selected site.
    virtual bool urlListPress(QWidget* focus) { return false; }
    // BitBtnWithColor82 (back to the headers) or BitBtnWithColor83 has the focus.
    virtual bool mailPagePress(QWidget* focus) { return false; }
    // A movie runs with the page control hidden: show MovieOptionsPanel, focus
    // BMWpanel88, start its hiding timer with 15000 ms.
    virtual bool showMovieOptions() { return false; }
    // BMWListbox1, FileListBox2 or lvHeaders has the focus: the list's click action.
    virtual bool listPress(QWidget* focus) { return false; }

    // The knob held down (long press), owned by the music library browser.
    virtual void longClick() {}
};

} // namespace zarn
