#pragma once

#include <QColor>
#include <QtGlobal>

namespace zarn {

// 0x00BBGGRR, as Zarn.ini and the schemes write colors.
inline QColor fromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
inline quint32 toBgr(const QColor& c)
{
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

// The five role colors a scheme sets; clreadabletext and the customized-look colors
// are not part of a scheme.
struct SchemeSlot {
    quint32 clschwarz = 0x400000;
    quint32 cldunkelblau = 0x400000;
    quint32 clHellblau = 0xE78A7A;
    quint32 clOrange = 0x0080FF;
    quint32 clUnassigned = 0xAEAEFF;
    bool operator==(const SchemeSlot&) const = default;
};

// The role colors every control is painted from, and the customized look's three.
struct ColorRoles {
    quint32 clschwarz = 0x400000;
    quint32 cldunkelblau = 0x400000;
    quint32 clHellblau = 0xE78A7A;
    quint32 clOrange = 0x0080FF;
    quint32 clUnassigned = 0xAEAEFF;
    quint32 clreadabletext = 0xFFFFFF;
    quint32 clFontHigh = 0xFFFFFF;         // alternate menu word with the focus
    quint32 clFontLow = 0x0000FF;          // the other words
    quint32 ClCustompanelheader = 0xFF0000; // header while page 8 is shown
    bool operator==(const ColorRoles&) const = default;
};

} // namespace zarn
