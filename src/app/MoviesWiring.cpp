#include "app/MoviesWiring.h"

#include "app/AppActions.h"
#include "app/MainController.h"
#include "core/TimerScheduler.h"
#include "media/MovieController.h"
#include "media/MpvVideoPlayer.h"
#include "ui/ColorScheme.h"
#include "media/RearCamera.h"
#include "ui/MovieScreen.h"
#include "ui/RearCameraView.h"
#include "ui/TBMWpanel.h"
#include "ui/pages/MainMenuPage.h"
#include "ui/PlainPanel.h"
#include "ui/SelectActions.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/MoviesPage.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QStackedWidget>

namespace zarn {

namespace {

MpvVideoPlayer::Options optionsFromEnvironment()
{
    MpvVideoPlayer::Options options;
    const QByteArray text = qgetenv("ZARN_MPV_OPTIONS");
    for (const QByteArray& row : text.split(',')) {
        const qsizetype eq = row.indexOf('=');
        if (eq > 0)
            options.append({row.left(eq).trimmed(), row.mid(eq + 1).trimmed()});
    }
    return options;
}

} // namespace

MoviesWiring::MoviesWiring(ZarnWindow& window, MainController& core, SelectActions& select, AppActions& actions,
                           QObject* parent)
    : QObject(parent)
    , window_(window)
    , core_(core)
    , actions_(actions)
    , screen_(window.movieScreen())
{
    // Only X11 gives libmpv a window of its own to draw into; elsewhere the frames are
    // drawn here.
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb")
                     && qgetenv("ZARN_MOVIE_OUTPUT") != QByteArrayLiteral("frames");
    auto mpv = x11 ? std::make_unique<MpvVideoPlayer>(MpvVideoPlayer::Output::NativeWindow, screen_->videoWindowId(),
                                                      optionsFromEnvironment())
                   : std::make_unique<MpvVideoPlayer>(MpvVideoPlayer::Output::Frames, 0, optionsFromEnvironment());
    if (!mpv->isValid())
        core.log().AddStatusLine(QLatin1Char(' ') + mpv->startError());
    player_ = std::move(mpv);
    movie_ = std::make_unique<MovieController>(*player_, TimerScheduler::current(), core.appDir());
    MovieController& movie = *movie_;
    movie.setStatusLog(&core.log());
    movie.setWavePlayer(&core.wavePlayer());
    MusicPlayer& music = core.player();
    movie.setAudioOutput([&music] { music.releaseAudioOutput(); }, [&music] { music.InitAudioOutput(); });
    screen_->setMovie(&movie);
    screen_->hide(); // until a movie plays

    auto* page = static_cast<MoviesPage*>(window.page(PageMovies));
    page->setMovie(&movie);
    // The root is the text of the "Movie file path" field.
    if (auto* root = window.findChild<QLineEdit*>(QStringLiteral("edit4")))
        connect(root, &QLineEdit::textChanged, &movie, [&movie](const QString& text) { movie.setMovieRoot(text); });

    core.appPlayers().setMovie(&movie);
    actions.holdMovie = [&movie] { movie.HoldMovie(); };

    connect(&movie, &MovieController::pagesVisible, this, &MoviesWiring::showPages);
    connect(&movie, &MovieController::overlayOpened, this, [this] {
        if (QWidget* close = screen_->findChild<QWidget*>(QStringLiteral("BMWpanel88")))
            close->setFocus(Qt::OtherFocusReason);
    });
    connect(&movie, &MovieController::overlayHidden, this, [&select] {
        select.setAdjustMode(AdjustMode::Zoom, false);
        select.setAdjustMode(AdjustMode::Luminance, false);
    });
    connect(&movie, &MovieController::viewChanged, this, [this, &movie] {
        auto* indicator = window_.findChild<PlainPanel*>(QStringLiteral("movieimage"));
        if (indicator && indicator->isVisibleTo(&window_) != movie.view().indicator) {
            indicator->setVisible(movie.view().indicator);
            ApplyColorScheme(window_);
        }
    });
    // The pointer leaves the picture unless the pages are shown over the movie.
    connect(&movie, &MovieController::pointerAway, this, [this, &movie] {
        if (!(movie.MovieMode() && window_.PageControl1()->isVisible()))
            QCursor::setPos(0, 0);
    });
    wireCamera();
}

void MoviesWiring::wireCamera()
{
    cameraPlayer_ = std::make_unique<MpvVideoPlayer>(MpvVideoPlayer::Output::Frames, 0, optionsFromEnvironment());
    camera_ = std::make_unique<RearCamera>(*cameraPlayer_);
    cameraView_ = new RearCameraView(&window_, window_.findChild<QWidget*>(QStringLiteral("TabCamSpeech")));
    cameraView_->setCamera(camera_.get());
    MainMenuPage* menu = window_.mainMenu();
    connect(menu, &MainMenuPage::rearCameraRequested, this, [this, menu] {
        window_.setFeatureCaption(menu->menuItem(QStringLiteral("BMWpanel123"))->BMW_supercaption());
        camera_->BMWpanel123Click();
    });
    connect(menu, &MainMenuPage::rearCameraCloseRequested, this, [this] {
        camera_->close();
        window_.setFeatureCaption(QStringLiteral("Main"));
    });
}

MoviesWiring::~MoviesWiring()
{
    core_.appPlayers().setMovie(nullptr);
    actions_.holdMovie = nullptr;
    screen_->setMovie(nullptr);
    static_cast<MoviesPage*>(window_.page(PageMovies))->setMovie(nullptr);
    if (cameraView_)
        cameraView_->setCamera(nullptr);
}

void MoviesWiring::showPages(bool visible)
{
    // The full-window screen lies under the pages; left visible without a movie, every
    // repaint of a see-through control above it would repaint the whole window.
    screen_->setVisible(!visible || movie_->MovieMode());
    window_.HeaderPanel()->setVisible(visible);
    window_.PageControl1()->setVisible(visible);
    if (visible)
        window_.page(PageMovies)->update();
}

} // namespace zarn
