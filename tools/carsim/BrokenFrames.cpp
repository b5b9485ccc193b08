#include "carsim/BrokenFrames.h"

#include <QRandomGenerator>

namespace zarn::carsim::broken {

QByteArray cutShort(const QByteArray& frame, QRandomGenerator& rng)
{
    if (frame.size() <= 2)
        return frame.left(1);
    return frame.left(2 + rng.bounded(int(frame.size()) - 2));
}

QByteArray wrongChecksum(const QByteArray& frame, QRandomGenerator& rng)
{
    QByteArray out = frame;
    if (!out.isEmpty())
        out.back() = char(quint8(out.back()) ^ quint8(1 + rng.bounded(255)));
    return out;
}

QByteArray lyingLength(const QByteArray& frame, QRandomGenerator& rng)
{
    QByteArray out = frame;
    if (out.size() < 2)
        return out;
    const int delta = 1 + rng.bounded(3);
    const int length = quint8(out[1]);
    out[1] = char(rng.bounded(2) && length > delta ? length - delta : length + delta);
    return out;
}

QByteArray randomBytes(int count, QRandomGenerator& rng)
{
    QByteArray out(qMax(0, count), '\0');
    for (char& b : out)
        b = char(rng.bounded(256));
    return out;
}

QByteArray anyFault(const QByteArray& frame, QRandomGenerator& rng)
{
    switch (rng.bounded(3)) {
    case 0: return cutShort(frame, rng);
    case 1: return wrongChecksum(frame, rng);
    default: return lyingLength(frame, rng);
    }
}

} // namespace zarn::carsim::broken
