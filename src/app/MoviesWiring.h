#pragma once

#include <QObject>

#include <memory>

namespace zarn {

class AppActions;
class MainController;
class MovieController;
class MovieScreen;
class RearCamera;
class RearCameraView;
class SelectActions;
class VideoPlayer;
class ZarnWindow;

// The movie player in the program: the video player (libmpv: the window's native child
// on X11, its software renderer elsewhere), the movie controller, the full-window movie
// screen and the movie page, joined to the music's audio output, the steering wheel,
// the knob and the radio's pause rows; and the rear camera on its own libmpv player,
// drawn by the program. Extra libmpv options come from ZARN_MPV_OPTIONS
// ("name=value,name=value", e.g. "ao=null" where there is no sound device);
// ZARN_MOVIE_OUTPUT=frames takes the software renderer on X11 too.
// Main thread only; built after the window and the controller, gone before them.
class MoviesWiring : public QObject {
    Q_OBJECT
public:
    MoviesWiring(ZarnWindow& window, MainController& core, SelectActions& select, AppActions& actions,
                 QObject* parent = nullptr);
    ~MoviesWiring() override;

    MovieController& movie() { return *movie_; }
    MovieScreen& screen() { return *screen_; }
    RearCamera& camera() { return *camera_; }

private:
    void showPages(bool visible);
    void wireCamera();

    ZarnWindow& window_;
    MainController& core_;
    AppActions& actions_;
    MovieScreen* screen_; // the window's
    std::unique_ptr<VideoPlayer> player_;
    std::unique_ptr<MovieController> movie_;
    std::unique_ptr<VideoPlayer> cameraPlayer_;
    std::unique_ptr<RearCamera> camera_;
    RearCameraView* cameraView_ = nullptr; // the window's
};

} // namespace zarn
