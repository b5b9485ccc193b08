#include "ibus/ClusterDue.h"

namespace zarn {

double ClusterQuietTimeMs(int waiting, quint32 charDelayUs, quint16 extraDelayMs)
{
    return double(waiting) * double(charDelayUs) / 1000.0 + double(extraDelayMs);
}

bool ClusterDue(int waiting, double msSinceEmpty, quint32 charDelayUs, quint16 extraDelayMs,
                int clusterSize, bool readRequest, unsigned lineErrors)
{
    if (waiting <= 0)
        return false;
    return readRequest || waiting >= clusterSize
        || msSinceEmpty > ClusterQuietTimeMs(waiting, charDelayUs, extraDelayMs) || lineErrors != 0;
}

} // namespace zarn
