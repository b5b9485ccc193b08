#pragma once

#include "ui/pages/ZarnPage.h"

namespace zarn {

class PlainPanel;

// Page 3, the movie list: back and up items, the list (built with the movie player) and
// the player's error line `Videoerror`. While a movie fills the screen this page takes
// the car's controls; its input (the movie seek and options, the list's steps and press)
// arrives with the movie player.
class MoviesPage : public ZarnPage {
    Q_OBJECT
public:
    explicit MoviesPage(QWidget* parent = nullptr);
    PlainPanel* Videoerror() const { return videoError_; }
    void applyDocking() override;

private:
    PlainPanel* videoError_;
};

} // namespace zarn
