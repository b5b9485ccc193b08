#pragma once

#include <QByteArray>
#include <QString>

namespace zarn {

// What a worker pass hands to the main thread.
struct SerialEvent {
    enum class Kind {
        Cluster, // bytes + lineErrors
        Report,  // place, code, msg, noise
        Lost,    // a report after which the port is of no further use: close it
        Released, // the worker has left a device whose closing could not wait for it
    };
    Kind kind = Kind::Cluster;
    QByteArray bytes;
    unsigned lineErrors = 0;
    int place = 0;
    int code = 0;
    QString msg;
    int noise = 0;
    quint64 generation = 0; // which opening of the port it belongs to
};

} // namespace zarn
