#include "media/SdlWavePlayer.h"

#include "core/StatusLog.h"

#include <QFileInfo>

#include <SDL.h>

namespace zarn {

SdlWavePlayer::SdlWavePlayer(StatusLog* log, QObject* parent)
    : QObject(parent)
    , log_(log)
{
    connect(&checkTimer, &Timer::timeout, this, &SdlWavePlayer::checkTimerTimer);
}

SdlWavePlayer::~SdlWavePlayer()
{
    stop();
}

bool SdlWavePlayer::fail(const QString& path, const QString& reason)
{
    lastError_ = QStringLiteral("Cannot play sound file %1: %2").arg(path, reason);
    if (log_)
        log_->addWarning(lastError_);
    return false;
}

bool SdlWavePlayer::play(const QString& path)
{
    stop();
    lastError_.clear();
    if (!QFileInfo(path).isFile())
        return fail(path, QStringLiteral("no such file"));

    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return fail(path, QString::fromUtf8(SDL_GetError()));

    SDL_AudioSpec spec{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(QFile::encodeName(path).constData(), &spec, &buffer, &length)) {
        const QString reason = QString::fromUtf8(SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return fail(path, reason);
    }
    spec.callback = nullptr; // queued, not pulled
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &spec, nullptr, 0);
    if (id == 0) {
        const QString reason = QString::fromUtf8(SDL_GetError());
        SDL_FreeWAV(buffer);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return fail(path, reason);
    }
    const int queued = SDL_QueueAudio(id, buffer, length);
    SDL_FreeWAV(buffer);
    if (queued != 0) {
        const QString reason = QString::fromUtf8(SDL_GetError());
        SDL_CloseAudioDevice(id);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return fail(path, reason);
    }
    device_ = id;
    drained_ = false;
    SDL_PauseAudioDevice(id, 0);
    checkTimer.restart(CheckMs);
    return true;
}

void SdlWavePlayer::stop()
{
    checkTimer.stop();
    if (device_ == 0)
        return;
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlWavePlayer::checkTimerTimer()
{
    if (device_ == 0 || SDL_GetQueuedAudioSize(device_) != 0)
        return;
    // The device still plays its last buffer when the queue runs dry: one tick more.
    if (drained_)
        stop();
    drained_ = true;
}

} // namespace zarn
