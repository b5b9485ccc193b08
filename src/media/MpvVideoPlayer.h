#pragma once

#include "media/VideoPlayer.h"

#include <QList>
#include <QPair>

#include <atomic>

struct mpv_handle;
struct mpv_render_context;

namespace zarn {

// The movie and camera player on libmpv. libmpv decodes and renders on its own
// threads; its wake-up and render-update callbacks only post a queued call to this
// object, and every event is read and acted on on the main thread (the contract of
// VideoPlayer). The output is fixed at construction:
//  - NoVideo: nothing is drawn (vo=null), for tests and measurements;
//  - NativeWindow: libmpv draws into the X11 window given as `wid`;
//  - Frames: libmpv's software renderer; the owner of the picture calls renderFrame()
//    after each frameReady().
// Members not marked otherwise belong to the main thread.
class MpvVideoPlayer final : public VideoPlayer {
    Q_OBJECT
public:
    enum class Output { NoVideo, NativeWindow, Frames };
    using Options = QList<QPair<QByteArray, QByteArray>>;

    // extra: further libmpv options, set after the program's own (ao=null in tests).
    explicit MpvVideoPlayer(Output output, quint64 windowId = 0, const Options& extra = {}, QObject* parent = nullptr);
    ~MpvVideoPlayer() override;

    // False when libmpv could not be started; every operation then does nothing and
    // open() reports an error.
    bool isValid() const { return mpv_ != nullptr; }
    QString startError() const { return startError_; }

    void open(const QString& path) override;
    void setNextOpenOptions(const QString& options) override { nextOptions_ = options.toUtf8(); }
    bool play() override;
    bool pause() override;
    bool stop() override;
    int openState() const override { return openState_; }
    int playState() const override;
    double duration() const override { return duration_; }
    double position() const override { return position_; }
    void setPosition(double seconds) override;
    void setZoom(int percent) override;
    int zoom() const override { return zoom_; }
    bool rendersFrames() const override { return render_ != nullptr; }
    bool renderFrame(int width, int height, int stride, void* pixels) override;

private:
    static void wakeup(void* self);
    static void renderUpdate(void* self);
    void drainEvents();
    void setOpenState(int state);
    void fail(int code, const QString& message);

    mpv_handle* mpv_ = nullptr;
    mpv_render_context* render_ = nullptr;
    QString startError_;
    QByteArray nextOptions_;
    int openState_ = Closed;
    bool paused_ = false;
    bool atEnd_ = false;
    bool seeking_ = false; // a written position stands until the seek has landed
    double duration_ = 0;
    double position_ = 0;
    int zoom_ = 100;
    qint64 entry_ = -1; // libmpv's playlist entry of the file opened last; -1 for none
    // Set on libmpv's threads, cleared here: one queued drain at a time.
    std::atomic<bool> drainQueued_{false};
};

} // namespace zarn
