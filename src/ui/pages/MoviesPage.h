#pragma once

#include "ui/pages/ZarnPage.h"

#include <QPointer>

namespace zarn {

class MovieController;
class PlainPanel;
class TBMWListbox;
class TBMWpanel;

// Page 3, the movie list: back and up items, the list `FileListBox2` of the movie
// controller's files and the player's error line `Videoerror`. While a movie fills the
// screen (page control hidden) this page takes the car's controls: the knob seeks with
// the overlay hidden and a press opens the overlay. Main thread only.
class MoviesPage : public ZarnPage {
    Q_OBJECT
public:
    explicit MoviesPage(QWidget* parent = nullptr);
    PlainPanel* Videoerror() const { return videoError_; }
    TBMWListbox* FileListBox2() const { return list_; }
    void applyDocking() override;

    // Not owned; the list shows its files.
    void setMovie(MovieController* movie);

    void FileListBox2Click();
    void FileListBox2Enter();
    void FileListBox2Exit();
    void BMWpanel14Click();

    // PageInput: the full-window movie first, then the list.
    bool turn(Turn turn, QWidget* focus) override;
    bool press(QWidget* focus) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool fullWindowMovie() const;
    bool overlayShown() const;

    PlainPanel* videoError_;
    TBMWpanel* up_;
    TBMWListbox* list_;
    QPointer<MovieController> movie_;
};

} // namespace zarn
