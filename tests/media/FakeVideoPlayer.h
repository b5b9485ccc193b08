#pragma once

#include "media/VideoPlayer.h"

#include <QStringList>

namespace zarn::test {

// A video player whose file opens or fails when the test says so.
class FakeVideoPlayer final : public VideoPlayer {
public:
    QStringList opened;
    int stops = 0;
    bool stopFails = false;
    bool openRefused = false; // open() leaves the state closed
    int state = Closed;
    int play_ = Stopped;
    double length = 0;
    double pos = 0;
    int zoomPercent = 100;

    void open(const QString& path) override
    {
        opened << path;
        if (!openRefused)
            setState(Opening);
    }
    bool play() override
    {
        if (state != Open)
            return false;
        play_ = Playing;
        return true;
    }
    bool pause() override
    {
        if (state != Open || play_ != Playing)
            return false;
        play_ = Paused;
        return true;
    }
    bool stop() override
    {
        ++stops;
        if (stopFails || state == Closed)
            return false;
        setState(Closed);
        return true;
    }
    int openState() const override { return state; }
    int playState() const override { return state == Open ? play_ : int(Stopped); }
    double duration() const override { return length; }
    double position() const override { return pos; }
    void setPosition(double seconds) override
    {
        const double old = pos;
        pos = seconds;
        emit positionChanged(old, seconds);
    }
    void setZoom(int percent) override { zoomPercent = percent; }
    int zoom() const override { return zoomPercent; }

    // The file has opened and plays.
    void finishOpen(double seconds)
    {
        length = seconds;
        pos = 0;
        play_ = Playing;
        setState(Open);
        emit openComplete();
    }
    void failWith(const QString& message)
    {
        emit error(-1, message);
        setState(Closed);
    }
    void setState(int s)
    {
        const int old = state;
        state = s;
        if (old != s)
            emit openStateChanged(old, s);
    }
};

} // namespace zarn::test
