#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The text forms of bus traffic and the conversions between them.
//  block text: " 80 04 FF ..." padded with blanks to whole lines of HexLineLength bytes
//  frame text: "8004FF57012D" (checksum included; byte n at characters 2n-1, 2n)
//  send text:  "80 XX FF 57 01" (length placeholder, no checksum)
namespace zarn {

constexpr int DefaultHexLineLength = 256;

QString ClusterToHexText(const QByteArray& block, int hexLineLength = DefaultHexLineLength);

// A stretch of a block that holds no whole frame with a right checksum: a frame cut
// short, a stray byte, a collision. It is left out of the frame list, so no code can
// match it and no decoder read it.
struct RejectedBytes {
    QString text;       // frame text form, as the block had it
    bool wrongChecksum; // one frame whose length fits but whose checksum fails
};

// Frame texts of a block text whose leading blank has already been dropped, in order of
// arrival, followed by a two-blank item per filler pair. Only whole frames whose XOR
// checksum holds are items: where a length or a checksum does not hold, the split goes
// on at the next byte at which a valid frame starts. Never fails.
QStringList SplitFramesFromText(QStringView textWithoutLeadingBlank, QList<RejectedBytes>* rejected = nullptr);
// Same, for a whole block text (drops its leading blank first).
QStringList SplitFrames(QStringView blockText, QList<RejectedBytes>* rejected = nullptr);

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
