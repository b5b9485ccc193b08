#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// How Zarn.ini spells numbers, floats and colors. Pure functions; any thread.
namespace zarn::ini {

// Decimal, or hexadecimal after "$" or "0x"; an optional sign; 32 bits (hex wraps
// like the old files expect, "$FFFFFFFF" is -1). Anything else is no number.
std::optional<int> parseInteger(QStringView text);
// Integer text: decimal only, optional sign, 32 bits.
std::optional<int> parseDecimal(QStringView text);

// The locale's decimal separator only (a point in a comma locale is no number);
// never a group separator; empty, NaN and infinity are no number.
std::optional<double> parseFloat(QStringView text, const QLocale& locale);
// Shortest general form, up to 15 significant digits, the locale's separator.
QString formatFloat(double value, const QLocale& locale);

// Colors are 0x00BBGGRR. Accepted: the twenty color names, the platform's system
// color names (fixed values, case-insensitive), and numbers as parseInteger reads
// them; a number with a non-zero high byte is a color only as a system color index
// ($800000xx or $FF0000xx).
std::optional<quint32> parseColor(QStringView text);
// The color's name when it has one of the twenty names, else "$00BBGGRR".
QString colorToString(quint32 color);

} // namespace zarn::ini
