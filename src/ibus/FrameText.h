#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The text forms of bus traffic and the conversions between them.
//  block text: " 80 04 FF ..." padded with blanks to whole lines of HexLineLength bytes
//  frame text: "8004FF57012D" (checksum included; byte n at characters 2n-1, 2n)
//  send text:  "80 XX FF 57 01" (length placeholder, no checksum)
namespace zarn {

constexpr int DefaultHexLineLength = 256;

QString ClusterToHexText(const QByteArray& block, int hexLineLength = DefaultHexLineLength);

// Frame texts of a block text whose leading blank has already been dropped, followed by
// a two-blank item per filler pair. Never fails: malformed input gives short items.
QStringList SplitFramesFromText(QStringView textWithoutLeadingBlank);
// Same, for a whole block text (drops its leading blank first).
QStringList SplitFrames(QStringView blockText);

// Index of the last item that begins with code (exact, case-sensitive), -1 if none.
// An empty code matches every item.
int FindFrame(const QStringList& frames, QStringView code);

// Value of a hexadecimal text as a 32-bit signed number; -1 when empty or not hexadecimal.
int HexToInt(QStringView text);
// Characters (Latin-1 codes) of the hexadecimal pairs; a bad pair contributes nothing.
QString HexPairsToText(QStringView pairs);
// " 41 42 A" style: a blank and the uppercase hex code (no leading zeros) per character.
QString TextToHexTokens(QStringView text);

// The bytes of a send text: length byte computed, checksum appended. Empty when the
// text has fewer than two tokens or more than 256.
QByteArray BuildFrame(QStringView sendText);
// XOR of all bytes.
quint8 FrameChecksum(const QByteArray& bytes);

} // namespace zarn
