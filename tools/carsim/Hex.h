#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace zarn::carsim {

// "18 04 FF 02 00 E1"
QString hexString(const QByteArray& bytes);

// Bytes of hexadecimal pairs, written "68 03 18" or "680318" or mixed. nullopt (and a
// reason in *error) for a token that is not whole hexadecimal pairs.
std::optional<QByteArray> parseHexBytes(const QStringList& tokens, QString* error = nullptr);
std::optional<QByteArray> parseHexBytes(QStringView text, QString* error = nullptr);

// A whole frame: source, length byte (bytes after it), destination, data, XOR checksum.
QByteArray makeFrame(quint8 source, quint8 destination, const QByteArray& data);

// The same frame with its checksum recomputed over everything before the last byte.
QByteArray withChecksum(QByteArray frame);

} // namespace zarn::carsim
