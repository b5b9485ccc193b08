#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace zarn::carsim {

// One frame as the program put it on the bus, checked.
struct ReadFrame {
    QByteArray bytes;
    QString problem; // empty: well formed; else why the frame is MALFORMED
    bool malformed() const { return !problem.isEmpty(); }
};

// Cuts the program's byte stream into frames by their length bytes, as the bus does:
// source, length n, then n bytes (destination, data, XOR checksum of all before).
// A frame is given out as soon as its last byte is there; what is left when the line
// goes quiet is a frame cut short.
class FrameReader {
public:
    // The frames completed by these bytes.
    QList<ReadFrame> feed(const QByteArray& bytes);
    // The line went quiet: the bytes still waiting are a frame cut short.
    QList<ReadFrame> lineQuiet();
    bool hasPending() const { return !pending_.isEmpty(); }

    // Why a complete frame (length byte taken as true) is malformed; empty when it is not.
    static QString problemOf(const QByteArray& frame);

    // The smallest length byte of a meaningful frame: destination, message type, checksum.
    static constexpr int MinLengthByte = 3;

private:
    QByteArray pending_;
};

} // namespace zarn::carsim
