#include "media/MpvVideoPlayer.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>

#include <mpv/client.h>
#include <mpv/render.h>

#include <clocale>
#include <cmath>
#include <utility>

namespace zarn {

namespace {

// The program's own options: a picture without controls, no files or scripts of the
// user's mpv, keys left to the program, the last frame kept at the end.
const MpvVideoPlayer::Options& baseOptions()
{
    static const MpvVideoPlayer::Options rows = {
        {"config", "no"},           {"load-scripts", "no"},     {"ytdl", "no"},
        {"osc", "no"},              {"osd-level", "0"},         {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"}, {"input-cursor", "no"},    {"cursor-autohide", "no"},
        {"keep-open", "yes"},       {"idle", "yes"},            {"access-references", "no"},
        {"load-unsafe-playlists", "no"}, {"terminal", "no"},    {"msg-level", "all=no"},
    };
    return rows;
}

enum Observed : quint64 { ObserveDuration = 1, ObserveTimePos, ObservePause, ObserveEof };

QString mpvError(int code)
{
    return QString::fromUtf8(mpv_error_string(code));
}

} // namespace

MpvVideoPlayer::MpvVideoPlayer(Output output, quint64 windowId, const Options& extra, QObject* parent)
    : VideoPlayer(parent)
{
    // libmpv refuses to start unless numbers are read the C way.
    std::setlocale(LC_NUMERIC, "C");
    mpv_ = mpv_create();
    if (!mpv_) {
        startError_ = QStringLiteral("libmpv could not be created");
        return;
    }
    for (const auto& [name, value] : baseOptions())
        mpv_set_option_string(mpv_, name.constData(), value.constData());
    switch (output) {
    case Output::NoVideo: mpv_set_option_string(mpv_, "vo", "null"); break;
    case Output::NativeWindow: {
        qint64 wid = qint64(windowId);
        mpv_set_option(mpv_, "wid", MPV_FORMAT_INT64, &wid);
        break;
    }
    case Output::Frames: mpv_set_option_string(mpv_, "vo", "libmpv"); break;
    }
    for (const auto& [name, value] : extra)
        mpv_set_option_string(mpv_, name.constData(), value.constData());

    if (const int rc = mpv_initialize(mpv_); rc < 0) {
        startError_ = QStringLiteral("libmpv could not start: ") + mpvError(rc);
        mpv_terminate_destroy(mpv_);
        mpv_ = nullptr;
        return;
    }
    if (output == Output::Frames) {
        mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        if (mpv_render_context_create(&render_, mpv_, params) < 0)
            render_ = nullptr;
        else
            mpv_render_context_set_update_callback(render_, &MpvVideoPlayer::renderUpdate, this);
    }
    mpv_observe_property(mpv_, ObserveDuration, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(mpv_, ObserveTimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(mpv_, ObservePause, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(mpv_, ObserveEof, "eof-reached", MPV_FORMAT_FLAG);
    mpv_set_wakeup_callback(mpv_, &MpvVideoPlayer::wakeup, this);
}

MpvVideoPlayer::~MpvVideoPlayer()
{
    if (!mpv_)
        return;
    // No callback may reach this object once it is gone.
    mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
    if (render_) {
        mpv_render_context_set_update_callback(render_, nullptr, nullptr);
        mpv_render_context_free(render_);
    }
    mpv_terminate_destroy(mpv_);
}

// libmpv's threads.
void MpvVideoPlayer::wakeup(void* self)
{
    auto* player = static_cast<MpvVideoPlayer*>(self);
    if (!player->drainQueued_.exchange(true))
        QMetaObject::invokeMethod(player, &MpvVideoPlayer::drainEvents, Qt::QueuedConnection);
}

// libmpv's render thread.
void MpvVideoPlayer::renderUpdate(void* self)
{
    auto* player = static_cast<MpvVideoPlayer*>(self);
    QMetaObject::invokeMethod(player, &VideoPlayer::frameReady, Qt::QueuedConnection);
}

void MpvVideoPlayer::drainEvents()
{
    drainQueued_ = false;
    while (mpv_) {
        mpv_event* event = mpv_wait_event(mpv_, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        switch (event->event_id) {
        case MPV_EVENT_FILE_LOADED: {
            double d = 0;
            if (mpv_get_property(mpv_, "duration", MPV_FORMAT_DOUBLE, &d) >= 0)
                duration_ = d;
            setOpenState(Open);
            emit openComplete();
            break;
        }
        case MPV_EVENT_END_FILE: {
            const auto* end = static_cast<mpv_event_end_file*>(event->data);
            // The end of a file replaced or stopped before says nothing about this one.
            if (entry_ >= 0 && end->playlist_entry_id != entry_)
                break;
            if (end->reason == MPV_END_FILE_REASON_ERROR && openState_ != Closed)
                fail(end->error, mpvError(end->error));
            else if (openState_ != Closed && end->reason != MPV_END_FILE_REASON_REDIRECT)
                setOpenState(Closed);
            break;
        }
        case MPV_EVENT_PLAYBACK_RESTART: seeking_ = false; break;
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto* p = static_cast<mpv_event_property*>(event->data);
            const bool has = p->data != nullptr;
            switch (event->reply_userdata) {
            case ObserveDuration:
                if (has)
                    duration_ = *static_cast<double*>(p->data);
                break;
            case ObserveTimePos:
                if (has && !seeking_)
                    position_ = *static_cast<double*>(p->data);
                break;
            case ObservePause: paused_ = has && *static_cast<int*>(p->data); break;
            case ObserveEof: {
                const bool atEnd = has && *static_cast<int*>(p->data);
                const bool reached = atEnd && !atEnd_ && openState_ == Open;
                atEnd_ = atEnd;
                if (reached)
                    emit endReached();
                break;
            }
            }
            break;
        }
        case MPV_EVENT_SHUTDOWN: setOpenState(Closed); return;
        default: break;
        }
    }
}

void MpvVideoPlayer::setOpenState(int state)
{
    if (state == openState_)
        return;
    const int old = openState_;
    openState_ = state;
    if (state == Closed) {
        duration_ = 0;
        position_ = 0;
        seeking_ = false;
    }
    emit openStateChanged(old, state);
}

void MpvVideoPlayer::fail(int code, const QString& message)
{
    // The report comes while the state still tells an opening from a running movie.
    emit error(code, message);
    setOpenState(Closed);
}

void MpvVideoPlayer::open(const QString& path)
{
    if (!mpv_) {
        emit error(MPV_ERROR_UNINITIALIZED, startError_);
        return;
    }
    // A device URL is taken as it is; a file name always as a file.
    const QByteArray file = path.startsWith(QLatin1String("av://")) ? path.toUtf8() : QFile::encodeName(QFileInfo(path).absoluteFilePath());
    const QByteArray options = std::exchange(nextOptions_, {});
    const char* args[] = {"loadfile", file.constData(), "replace", options.isEmpty() ? nullptr : options.constData(), nullptr};
    paused_ = false;
    atEnd_ = false;
    mpv_set_property_string(mpv_, "pause", "no");
    mpv_node result;
    if (const int rc = mpv_command_ret(mpv_, args, &result); rc < 0) {
        emit error(rc, mpvError(rc));
        return;
    }
    entry_ = -1;
    if (result.format == MPV_FORMAT_NODE_MAP)
        for (int i = 0; i < result.u.list->num; ++i)
            if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0
                && result.u.list->values[i].format == MPV_FORMAT_INT64)
                entry_ = result.u.list->values[i].u.int64;
    mpv_free_node_contents(&result);
    duration_ = 0;
    position_ = 0;
    setOpenState(Opening);
}

bool MpvVideoPlayer::play()
{
    if (!mpv_ || openState_ != Open)
        return false;
    paused_ = false;
    return mpv_set_property_string(mpv_, "pause", "no") >= 0;
}

bool MpvVideoPlayer::pause()
{
    if (!mpv_ || openState_ != Open || playState() != Playing)
        return false;
    paused_ = true;
    return mpv_set_property_string(mpv_, "pause", "yes") >= 0;
}

bool MpvVideoPlayer::stop()
{
    if (!mpv_ || openState_ == Closed)
        return false;
    const char* args[] = {"stop", nullptr};
    const bool ok = mpv_command(mpv_, args) >= 0;
    entry_ = -1;
    setOpenState(Closed);
    return ok;
}

int MpvVideoPlayer::playState() const
{
    if (openState_ != Open || atEnd_)
        return Stopped;
    return paused_ ? Paused : Playing;
}

void MpvVideoPlayer::setPosition(double seconds)
{
    if (!mpv_ || openState_ != Open || !std::isfinite(seconds))
        return;
    const QByteArray target = QByteArray::number(seconds, 'f', 3);
    const char* args[] = {"seek", target.constData(), "absolute", nullptr};
    if (mpv_command_async(mpv_, 0, args) < 0)
        return;
    const double old = position_;
    position_ = seconds;
    seeking_ = true;
    emit positionChanged(old, seconds);
}

void MpvVideoPlayer::setZoom(int percent)
{
    if (percent <= 0)
        return;
    zoom_ = percent;
    if (mpv_) {
        double z = std::log2(percent / 100.0);
        mpv_set_property(mpv_, "video-zoom", MPV_FORMAT_DOUBLE, &z);
    }
}

bool MpvVideoPlayer::renderFrame(int width, int height, int stride, void* pixels)
{
    if (!render_ || width <= 0 || height <= 0 || !pixels)
        return false;
    mpv_render_context_update(render_);
    int size[2] = {width, height};
    size_t pitch = size_t(stride);
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                 {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>("bgr0")},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &pitch},
                                 {MPV_RENDER_PARAM_SW_POINTER, pixels},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    return mpv_render_context_render(render_, params) >= 0;
}

} // namespace zarn
