#pragma once

#include <QByteArray>

class QRandomGenerator;

// The faults of a broken car: what a loose contact or a failing unit puts on the bus.
namespace zarn::carsim::broken {

// The first bytes only (at least two, at least one missing).
QByteArray cutShort(const QByteArray& frame, QRandomGenerator& rng);
QByteArray wrongChecksum(const QByteArray& frame, QRandomGenerator& rng);
// The length byte claims more or fewer bytes than the frame has; the rest stays.
QByteArray lyingLength(const QByteArray& frame, QRandomGenerator& rng);
QByteArray randomBytes(int count, QRandomGenerator& rng);
// One of the three frame faults, chosen at random.
QByteArray anyFault(const QByteArray& frame, QRandomGenerator& rng);

} // namespace zarn::carsim::broken
