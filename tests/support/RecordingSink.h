#pragma once

#include "ibus/FrameSink.h"
#include "ibus/RtsLine.h"

#include <QByteArray>
#include <QList>

namespace zarn::test {

// Records every frame handed to the link; busy makes it refuse like a pending write.
class RecordingSink : public FrameSink {
public:
    void SendData(const QByteArray& bytes) override
    {
        if (busy)
            ++refused;
        else
            frames << bytes;
    }
    bool SendInProgress() const override { return busy; }

    QList<QByteArray> frames;
    bool busy = false;
    int refused = 0;
};

// An RTS line on a port that is open (levels follow) or closed (levels stay).
class FakeRts : public RtsLine {
public:
    void setRtsState(bool on) override
    {
        if (open)
            level = on;
    }
    bool rtsState() const override { return level; }

    bool open = true;
    bool level = false;
};

} // namespace zarn::test
