#include "core/IniValues.h"

#include <cmath>
#include <iterator>

namespace zarn::ini {

namespace {

struct NamedColor {
    const char* name;
    quint32 value;
};

// The names a color is written with.
constexpr NamedColor kColorNames[] = {
    {"clBlack", 0x000000},    {"clMaroon", 0x000080}, {"clGreen", 0x008000},
    {"clOlive", 0x008080},    {"clNavy", 0x800000},   {"clPurple", 0x800080},
    {"clTeal", 0x808000},     {"clGray", 0x808080},   {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},      {"clLime", 0x00FF00},   {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},     {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},    {"clMedGray", 0xA4A0A0},
};

// The car PC's system colors, indexed like the platform's color indexes, with the
// values of its default desktop theme: files written there may name them.
constexpr NamedColor kSystemColors[] = {
    {"clScrollBar", 0xC8C8C8},           {"clBackground", 0x000000},
    {"clActiveCaption", 0xD1B499},       {"clInactiveCaption", 0xDBCDBF},
    {"clMenu", 0xF0F0F0},                {"clWindow", 0xFFFFFF},
    {"clWindowFrame", 0x646464},         {"clMenuText", 0x000000},
    {"clWindowText", 0x000000},          {"clCaptionText", 0x000000},
    {"clActiveBorder", 0xB4B4B4},        {"clInactiveBorder", 0xFCF7F4},
    {"clAppWorkSpace", 0xABABAB},        {"clHighlight", 0xFF9933},
    {"clHighlightText", 0xFFFFFF},       {"clBtnFace", 0xF0F0F0},
    {"clBtnShadow", 0xA0A0A0},           {"clGrayText", 0x6D6D6D},
    {"clBtnText", 0x000000},             {"clInactiveCaptionText", 0x544E43},
    {"clBtnHighlight", 0xFFFFFF},        {"cl3DDkShadow", 0x696969},
    {"cl3DLight", 0xE3E3E3},             {"clInfoText", 0x000000},
    {"clInfoBk", 0xE1FFFF},              {nullptr, 0x000000},
    {"clHotLight", 0xCC6600},            {"clGradientActiveCaption", 0xEAD1B9},
    {"clGradientInactiveCaption", 0xF2E4D7}, {"clMenuHighlight", 0xFF9933},
    {"clMenuBar", 0xF0F0F0},
};

std::optional<quint32> colorByName(QStringView text)
{
    for (const auto& c : kColorNames)
        if (text.compare(QLatin1StringView(c.name), Qt::CaseInsensitive) == 0)
            return c.value;
    for (const auto& c : kSystemColors)
        if (c.name && text.compare(QLatin1StringView(c.name), Qt::CaseInsensitive) == 0)
            return c.value;
    return std::nullopt;
}

// Digits only, no sign; nullopt when empty, not all digits or beyond limit.
std::optional<quint64> parseDigits(QStringView digits, int base, quint64 limit)
{
    if (digits.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (QChar ch : digits) {
        const int d = ch.isDigit() && ch.unicode() < 128 ? ch.unicode() - '0'
            : base == 16 && ch.toLower() >= u'a' && ch.toLower() <= u'f' ? ch.toLower().unicode() - 'a' + 10
            : -1;
        if (d < 0 || d >= base)
            return std::nullopt;
        value = value * base + d;
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<int> parseInteger(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    std::optional<quint64> magnitude;
    if (text.startsWith(u'$'))
        magnitude = parseDigits(text.mid(1), 16, 0xFFFFFFFFull);
    else if (text.startsWith(u"0x", Qt::CaseInsensitive))
        magnitude = parseDigits(text.mid(2), 16, 0xFFFFFFFFull);
    else {
        magnitude = parseDigits(text, 10, negative ? 0x80000000ull : 0x7FFFFFFFull);
        if (magnitude)
            return int(negative ? -qint64(*magnitude) : qint64(*magnitude));
    }
    if (!magnitude)
        return std::nullopt;
    const int value = int(quint32(*magnitude));
    return negative ? int(0u - quint32(value)) : value;
}

std::optional<int> parseDecimal(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    const auto magnitude = parseDigits(text, 10, negative ? 0x80000000ull : 0x7FFFFFFFull);
    if (!magnitude)
        return std::nullopt;
    return int(negative ? -qint64(*magnitude) : qint64(*magnitude));
}

std::optional<double> parseFloat(QStringView text, const QLocale& locale)
{
    QString s = text.trimmed().toString();
    const QString separator = locale.decimalPoint();
    if (s.isEmpty() || (s.contains(u',') && separator != QLatin1String(",")))
        return std::nullopt;
    if (separator != QLatin1String(".")) {
        if (s.contains(u'.'))
            return std::nullopt;
        s.replace(separator, QLatin1String("."));
    }
    bool ok = false;
    const double value = s.toDouble(&ok); // C locale: no group separators
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString formatFloat(double value, const QLocale& locale)
{
    QString s = QString::number(value, 'g', 15);
    const QString separator = locale.decimalPoint();
    if (separator != QLatin1String("."))
        s.replace(u'.', separator);
    return s;
}

std::optional<quint32> parseColor(QStringView text)
{
    text = text.trimmed();
    if (const auto named = colorByName(text))
        return named;
    const auto number = parseInteger(text);
    if (!number)
        return std::nullopt;
    const quint32 value = quint32(*number);
    if ((value & 0xFF000000u) == 0)
        return value;
    const quint32 high = value & 0xFF000000u;
    const quint32 index = value & 0x00FFFFFFu;
    if ((high == 0x80000000u || high == 0xFF000000u) && index < std::size(kSystemColors)
        && kSystemColors[index].name)
        return kSystemColors[index].value;
    return std::nullopt;
}

QString colorToString(quint32 color)
{
    for (const auto& c : kColorNames)
        if (c.value == color)
            return QLatin1String(c.name);
    return QLatin1Char('$') + QStringLiteral("%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace zarn::ini
