#pragma once

#include "core/Timer.h"
#include "media/WavePlayer.h"

#include <QObject>

namespace zarn {

class StatusLog;

// WavePlayer on SDL2's audio subsystem: the whole file is loaded with SDL_LoadWAV and
// queued on a device of its own, opened in the file's format; the music's device is
// left alone. The device and the subsystem are held only while a cue plays: a check
// every CheckMs closes them once the queue has run dry.
//
// Contract (main thread only): play() and stop() as WavePlayer says. A missing file, a
// file SDL cannot read as wave or a device that cannot be opened plays nothing, returns
// false and writes one status line on log (when given) naming the file and SDL's
// reason. Nothing here throws.
class SdlWavePlayer : public QObject, public WavePlayer {
    Q_OBJECT
public:
    static constexpr int CheckMs = 200;

    explicit SdlWavePlayer(StatusLog* log = nullptr, QObject* parent = nullptr);
    ~SdlWavePlayer() override;

    bool play(const QString& path) override;
    void stop() override;

    // A cue is queued or sounding (the device is held).
    bool playing() const { return device_ != 0; }
    const QString& lastError() const { return lastError_; }

    Timer checkTimer{QStringLiteral("WaveCueTimer")};

private:
    bool fail(const QString& path, const QString& reason);
    void checkTimerTimer();

    StatusLog* log_;
    quint32 device_ = 0; // SDL_AudioDeviceID; 0: none held
    bool drained_ = false;
    QString lastError_;
};

} // namespace zarn
