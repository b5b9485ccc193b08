#pragma once

#include "ui/PlainPanel.h"
#include "ui/pages/ZarnPage.h"

namespace zarn {


// Page 5, now playing: the options overlay `MP3OptionsPanel` (hidden) and the status bar
// `StatusBar2`. The track displays come with the music player, and with them the knob's
// track seek and the press that shows the options.
class NowPlayingPage : public ZarnPage {
    Q_OBJECT
public:
    explicit NowPlayingPage(QWidget* parent = nullptr);
    QWidget* MP3OptionsPanel() const { return options_; }
    void applyDocking() override;

    // The presets are the option items' numbers; they run whether or not the options
    // are shown.
    bool preset(int key) override;

private:
    PlainPanel* options_;
    PlainPanel* statusBar_;
};

} // namespace zarn
