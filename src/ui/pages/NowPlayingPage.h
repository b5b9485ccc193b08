#pragma once

#include "ui/PlainPanel.h"
#include "ui/pages/ZarnPage.h"

namespace zarn {


// Page 5, now playing: the options overlay `MP3OptionsPanel` (hidden) and the status bar
// `StatusBar2`. The track displays come with the music player.
class NowPlayingPage : public ZarnPage {
    Q_OBJECT
public:
    explicit NowPlayingPage(QWidget* parent = nullptr);
    QWidget* MP3OptionsPanel() const { return options_; }
    void applyDocking() override;

private:
    PlainPanel* options_;
    PlainPanel* statusBar_;
};

} // namespace zarn
