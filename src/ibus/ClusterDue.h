#pragma once

#include <QtGlobal>

namespace zarn {

// The receive rule: read the waiting bytes as one cluster now?
// msSinceEmpty is the time since the queue was last seen empty.
bool ClusterDue(int waiting, double msSinceEmpty, quint32 charDelayUs, quint16 extraDelayMs,
                int clusterSize, bool readRequest, unsigned lineErrors);
// The quiet time after which waiting bytes count as a whole burst, in milliseconds.
double ClusterQuietTimeMs(int waiting, quint32 charDelayUs, quint16 extraDelayMs);

} // namespace zarn
