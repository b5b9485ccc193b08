#include "ui/MovieScreen.h"

#include "media/MovieController.h"
#include "media/VideoPlayer.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>

namespace zarn {

namespace {

// The picture: the frames of the software renderer scaled into it, or nothing of its own
// when the player draws into its native window.
class Picture final : public QWidget {
public:
    Picture(const QImage& frame, QWidget* parent)
        : QWidget(parent)
        , frame_(frame)
    {
        setObjectName(QStringLiteral("AMComponent4"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::black);
        if (!frame_.isNull())
            p.drawImage(rect(), frame_);
    }

private:
    const QImage& frame_;
};

struct Item {
    const char* name;
    const char* caption;
    int column, row;
    bool symbol;
};
const Item Items[] = {
    {"BMWpanel50", "A", 0, 0, true},          {"BMWpanel88", "C", 1, 0, true},
    {"BMWpanel48", "Zoom", 0, 1, false},      {"BMWpanel51", "Luminance", 1, 1, false},
    {"BMWpanel49", "Pause", 0, 2, false},     {"BMWpanel52", "Stop Movie", 1, 2, false},
};
constexpr int ItemWidth = 210;
constexpr int ItemHeight = 55;
constexpr int TopLine = 41;

} // namespace

MovieScreen::MovieScreen(QWidget* window)
    : QWidget(window)
{
    using namespace PageBuilder;
    setObjectName(QStringLiteral("ActiveMovie1"));
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    picture_ = new Picture(frame_, this);

    options_ = panel(this, QStringLiteral("MovieOptionsPanel"), QString(), QRect(32, 100, 429, 210));
    label28_ = panel(options_, QStringLiteral("Label28"), QStringLiteral(" 000:00..000:00"), QRect(0, 0, 429, TopLine));
    const QFont font = pixelFont(QStringLiteral("Arial Narrow"), 32, true);
    for (const Item& it : Items) {
        const QRect r(3 + it.column * (ItemWidth + 3), TopLine + it.row * (ItemHeight + 1), ItemWidth, ItemHeight);
        TBMWpanel* p = it.symbol ? symbolItem(options_, QLatin1String(it.name), QLatin1String(it.caption), r, it.column == 1, 50)
                                 : item(options_, QLatin1String(it.name), QLatin1String(it.caption), r, it.column == 1, font);
        if (qstrcmp(it.name, "BMWpanel49") == 0)
            pause_ = p;
        connect(p, &TBMWpanel::clicked, this, [this, name = QByteArray(it.name)] {
            if (!movie_)
                return;
            if (name == "BMWpanel48") movie_->BMWpanel48Click();
            else if (name == "BMWpanel49") movie_->BMWpanel49Click();
            else if (name == "BMWpanel50") movie_->BMWpanel50Click();
            else if (name == "BMWpanel51") movie_->BMWpanel51Click();
            else if (name == "BMWpanel52") movie_->BMWpanel52Click();
            else if (name == "BMWpanel88") movie_->BMWpanel88Click();
        });
    }
    options_->hide();

    onstage_ = panel(this, QStringLiteral("Movie_progress_onstage"), QStringLiteral(" 000:00..000:00"), QRect(4, 4, 165, 29),
                     pixelFont(QStringLiteral("Arial"), 24));
    onstage_->setColor(Qt::black);
    onstage_->setFontColor(QColor(0x00, 0xFF, 0x00));
    onstage_->hide();

    setGeometry(window->rect());
    picture_->setGeometry(rect());
    window->installEventFilter(this);
    lower();
}

quint64 MovieScreen::videoWindowId()
{
    picture_->setAttribute(Qt::WA_NativeWindow);
    return quint64(picture_->winId());
}

void MovieScreen::setMovie(MovieController* movie)
{
    if (movie_)
        disconnect(movie_, nullptr, this, nullptr);
    movie_ = movie;
    if (!movie)
        return;
    connect(movie, &MovieController::viewChanged, this, &MovieScreen::showView);
    VideoPlayer& player = movie->player();
    if (player.rendersFrames())
        connect(&player, &VideoPlayer::frameReady, this, &MovieScreen::drawFrame);
    showView();
}

void MovieScreen::showView()
{
    const MovieView& v = movie_->view();
    label28_->setCaption(v.progress);
    onstage_->setCaption(v.onstageText);
    pause_->setBMW_supercaption(v.pauseCaption);
    options_->setVisible(v.overlay);
    onstage_->setVisible(v.onstage);
    if (v.overlay)
        options_->raise();
}

// Every new picture is drawn at once, seen or not: the renderer waits for it.
void MovieScreen::drawFrame()
{
    if (!movie_)
        return;
    const QSize size = picture_->size().isEmpty() ? QSize(320, 240) : picture_->size();
    if (frame_.size() != size)
        frame_ = QImage(size, QImage::Format_RGB32);
    if (movie_->player().renderFrame(frame_.width(), frame_.height(), int(frame_.bytesPerLine()), frame_.bits()))
        picture_->update();
}

bool MovieScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
        picture_->setGeometry(rect());
    }
    return QWidget::eventFilter(watched, event);
}

void MovieScreen::keyPressEvent(QKeyEvent* event)
{
    if (movie_)
        movie_->player().reportKey(event->key());
    QWidget::keyPressEvent(event);
}

} // namespace zarn
