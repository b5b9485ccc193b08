#include "ui/pages/MoviesPage.h"

#include "media/MovieController.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWListbox.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"
#include "ui/pages/StatusStrip.h"

#include <QEvent>

namespace zarn {

namespace {
constexpr int ListTop = 79;
}

MoviesPage::MoviesPage(QWidget* parent)
    : ZarnPage(QStringLiteral("TabSheet2"), parent)
{
    using namespace PageBuilder;
    backItem(this, QStringLiteral("BMWpanel13"), QRect(0, 0, 424, 79));
    up_ = symbolItem(this, QStringLiteral("BMWpanel14"), QStringLiteral(" B"), QRect(424, 0, 376, 79), true);
    connect(up_, &TBMWpanel::clicked, this, &MoviesPage::BMWpanel14Click);
    // The list loses its highlight while the up item has the focus.
    up_->installEventFilter(this);
    videoError_ = statusStrip(this, "Videoerror", " ");
    auto* frame = panel(this, QStringLiteral("MovieListFrame"), QString(), QRect(0, ListTop, 800, 534 - ListTop - 48));
    list_ = new TBMWListbox(QStringLiteral("FileListBox2"), TBMWListbox::Preset::Movie, frame);
    list_->setGeometry(frame->rect());
    list_->installEventFilter(this);
    connect(list_, &TBMWListbox::clicked, this, &MoviesPage::FileListBox2Click);
    connect(list_, &TBMWListbox::entered, this, &MoviesPage::FileListBox2Enter);
}

void MoviesPage::applyDocking()
{
    PageBuilder::dockBottom(videoError_);
    QWidget* frame = list_->parentWidget();
    frame->setGeometry(0, ListTop, width(), qMax(0, videoError_->y() - ListTop));
    list_->setGeometry(-1, 0, frame->width() + 2, frame->height());
}

void MoviesPage::setMovie(MovieController* movie)
{
    if (movie_)
        disconnect(movie_, nullptr, this, nullptr);
    movie_ = movie;
    list_->setModel(movie ? &movie->list() : nullptr);
    if (movie)
        connect(movie, &MovieController::videoError, this, [this](const QString& text) { videoError_->setCaption(text); });
}

void MoviesPage::FileListBox2Click()
{
    if (movie_)
        movie_->FileListBox2Click();
}

void MoviesPage::FileListBox2Enter()
{
    if (movie_)
        movie_->FileListBox2Enter();
}

void MoviesPage::FileListBox2Exit()
{
    if (up_->isVisibleTo(window()))
        up_->setFocus(Qt::OtherFocusReason);
}

void MoviesPage::BMWpanel14Click()
{
    if (movie_)
        movie_->BMWpanel14Click();
    if (up_->isVisibleTo(window()))
        up_->setFocus(Qt::OtherFocusReason);
}

bool MoviesPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == up_ && event->type() == QEvent::FocusIn && movie_)
        movie_->list().setHighlighted(-1);
    return ZarnPage::eventFilter(watched, event);
}

bool MoviesPage::fullWindowMovie() const
{
    return movie_ && movie_->MovieMode() && !parentWidget()->isVisibleTo(window());
}

bool MoviesPage::overlayShown() const
{
    return movie_ && movie_->view().overlay;
}

bool MoviesPage::turn(Turn turn, QWidget* focus)
{
    const bool pagesHidden = !parentWidget()->isVisibleTo(window());
    if (pagesHidden) {
        if (overlayShown() || !movie_)
            return false; // the overlay's ring
        movie_->knobSeek(turn == Turn::Clockwise ? 1 : -1);
        return true;
    }
    if (focus != list_ || !movie_)
        return false;
    MusicListModel& model = movie_->list();
    const int i = model.highlighted();
    if (turn == Turn::Clockwise) {
        // On the last entry the default step takes the focus on.
        if (i + 1 >= model.count())
            return false;
        model.setHighlighted(i + 1);
        return true;
    }
    const int top = list_->topIndex();
    if (top != 0 && i == top) {
        list_->setTopIndex(0);
        model.setHighlighted(0);
        FileListBox2Exit();
    } else if (i <= 0) {
        FileListBox2Exit();
    } else {
        model.setHighlighted(i - 1);
    }
    return true;
}

bool MoviesPage::press(QWidget* focus)
{
    if (fullWindowMovie()) {
        movie_->openOverlay();
        return true;
    }
    if (focus != list_)
        return false;
    FileListBox2Click();
    return true;
}

} // namespace zarn
