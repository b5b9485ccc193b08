#include "carsim/FrameExplainer.h"

#include "carsim/Controls.h"
#include "carsim/Devices.h"

namespace zarn::carsim {

namespace {
int at(const QByteArray& f, int i) { return i < f.size() ? quint8(f[i]) : -1; }

QString hexByte(int b) { return QStringLiteral("%1").arg(b & 0xFF, 2, 16, QLatin1Char('0')).toUpper(); }

// Bytes from..checksum (exclusive) as Latin-1 text; non-printable bytes as \xNN.
QString textOf(const QByteArray& f, int from, bool stopAtZero)
{
    QString out;
    for (int i = from; i < f.size() - 1; ++i) {
        const auto b = quint8(f[i]);
        if (b == 0 && stopAtZero)
            break;
        if (b < 0x20 || b == 0x7F || (b >= 0x80 && b < 0xA0))
            out += QStringLiteral("\\x") + hexByte(b);
        else
            out += QChar(char16_t(b));
    }
    return out;
}

QString quoted(const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

bool startsWith(const QByteArray& f, std::initializer_list<int> prefix)
{
    int i = 0;
    for (int b : prefix) {
        if (b >= 0 && at(f, i) != b)
            return false;
        ++i;
    }
    return true;
}

int bcdValue(int byte) { return (byte >> 4) * 10 + (byte & 0xF); }

QString cdState(int a, int b)
{
    if (a == 0x00 && b == 0x02)
        return QStringLiteral("not playing");
    if (a == 0x00 && b == 0x09)
        return QStringLiteral("playing");
    if (a == 0x02 && b == 0x09)
        return QStringLiteral("starting");
    return QStringLiteral("state ") + hexByte(a) + QLatin1Char(' ') + hexByte(b);
}

QString dms(const QByteArray& f, int i, int degreeBytes, const char* hemispheres)
{
    int deg = bcdValue(at(f, i));
    if (degreeBytes == 2)
        deg = deg * 100 + bcdValue(at(f, ++i));
    const int min = bcdValue(at(f, i + 1));
    const int sec = bcdValue(at(f, i + 2));
    const int last = at(f, i + 3);
    return QStringLiteral("%1°%2'%3.%4\" %5")
        .arg(deg)
        .arg(min, 2, 10, QLatin1Char('0'))
        .arg(sec, 2, 10, QLatin1Char('0'))
        .arg(last >> 4)
        .arg(QLatin1Char(hemispheres[(last & 0xF) ? 1 : 0]));
}

QString carFrame(const QByteArray& f)
{
    using namespace device;
    bool released = false;
    if (const Control* c = findControlByFrame(f, &released))
        return c->label + (released ? QStringLiteral(" released") : QString());
    if (startsWith(f, {Monitor, 0x04, ScreenUnit, 0x49}))
        return QStringLiteral("knob %1 %2").arg(at(f, 4) & 0x80 ? "right" : "left").arg(at(f, 4) & 0x0F);
    if (startsWith(f, {Radio, 0x03, CdChanger, 0x01}))
        return QStringLiteral("radio: CD changer poll");
    if (startsWith(f, {Radio, 0x05, CdChanger, 0x38})) {
        switch (at(f, 4)) {
        case 0x00: return QStringLiteral("radio: CD changer state request");
        case 0x01: return QStringLiteral("radio: CD changer stop");
        case 0x03: return QStringLiteral("radio: CD changer play");
        default: break;
        }
    }
    if (startsWith(f, {Radio, -1, ScreenUnit, 0xA5, 0x62, 0x01, 0x45}))
        return QStringLiteral("radio: tape text ") + quoted(textOf(f, 7, false));
    if (startsWith(f, {Radio, -1, ScreenUnit, 0x23, 0x62, 0x10}))
        return QStringLiteral("radio: title text ") + quoted(textOf(f, 6, false).trimmed());
    if (startsWith(f, {Radio, 0x04, ScreenUnit, 0x46, 0x01}))
        return QStringLiteral("radio: navigation update in split screen");
    if (startsWith(f, {Monitor, 0x05, Radio, 0x4B, 0x06}))
        return QStringLiteral("tape state ") + hexByte(at(f, 5));
    if (startsWith(f, {Cluster, 0x0C, DisplayGroup, 0x24, 0x01}))
        return QStringLiteral("cluster: time ") + quoted(textOf(f, 6, false).trimmed());
    if (startsWith(f, {Cluster, 0x05, ClusterGroup, 0x18}))
        return QStringLiteral("cluster: %1 km/h, %2 rpm").arg(at(f, 4) * 2).arg(at(f, 5) * 100);
    if (startsWith(f, {Cluster, 0x0A, ClusterGroup, 0x17}))
        return QStringLiteral("cluster: odometer %1 km").arg(at(f, 4) | at(f, 5) << 8 | at(f, 6) << 16);
    if (startsWith(f, {Cluster, 0x04, Broadcast, 0x57, 0x01}))
        return QStringLiteral("cluster: check-control button");
    if (startsWith(f, {Navigation, 0x14, Telephone, 0xA2}) && f.size() == 22)
        return QStringLiteral("navigation: position ") + dms(f, 6, 1, "NS") + QLatin1Char(' ') + dms(f, 10, 2, "EW");
    if (startsWith(f, {Navigation, 0x23, Telephone, 0xA4, 0x00, 0x01}))
        return QStringLiteral("navigation: city ") + quoted(textOf(f, 6, true));
    if (startsWith(f, {Navigation, 0x23, Telephone, 0xA4, 0x00, 0x02})) {
        QString name = textOf(f, 6, true);
        if (name.endsWith(QLatin1Char(';')))
            name.chop(1);
        return QStringLiteral("navigation: street ") + quoted(name);
    }
    if (startsWith(f, {Telephone, 0x04, DisplayGroup, 0x2C})) {
        switch (at(f, 4)) {
        case 0x31: return QStringLiteral("telephone: talking, hands-free");
        case 0x30: return QStringLiteral("telephone: talking");
        case 0x10: return QStringLiteral("telephone: on, not talking");
        default: break;
        }
    }
    return {};
}

QString programFrame(const QByteArray& f)
{
    using namespace device;
    if (startsWith(f, {CdChanger, 0x04, Broadcast, 0x02}))
        return QStringLiteral("CD changer answer: poll");
    if (startsWith(f, {CdChanger, 0x0A, Radio, 0x39}))
        return QStringLiteral("CD changer answer: %1, disc %2 track %3")
            .arg(cdState(at(f, 4), at(f, 5)))
            .arg(at(f, 9))
            .arg(at(f, 10));
    if (startsWith(f, {Radio, -1, Cluster, 0x23, 0x62, 0x30}))
        return QStringLiteral("cluster text: ") + quoted(textOf(f, 6, false));
    if (startsWith(f, {CheckControl, -1, Cluster, 0x1A, 0x37, 0x10}))
        return QStringLiteral("check-control text: ") + quoted(textOf(f, 6, false));
    if (startsWith(f, {ClusterGroup, 0x03, Cluster, 0x16}))
        return QStringLiteral("odometer request");
    if (startsWith(f, {Telephone, 0x04, Navigation, 0xA1, 0x00}))
        return QStringLiteral("position request");
    if (startsWith(f, {Telephone, 0x04, Navigation, 0xA3, 0x00}))
        return QStringLiteral("street/city request");
    if (startsWith(f, {ScreenUnit, 0x05, TvModule, 0x4F, 0x01, 0x00}))
        return QStringLiteral("TV init");
    if (startsWith(f, {ScreenUnit, 0x05, TvModule, 0x4F, 0x02, 0x00}))
        return QStringLiteral("TV sleep");
    return {};
}
} // namespace

bool isGreeting(const QByteArray& frame)
{
    using namespace device;
    if (!startsWith(frame, {Radio, -1, Cluster, 0x23, 0x62, 0x30}))
        return false;
    const QString text = textOf(frame, 6, false);
    return text.startsWith(QLatin1String("Zarn ")) && text.endsWith(QLatin1String(" start.."));
}

QString explainFrame(const QByteArray& frame)
{
    if (frame.size() < 3)
        return QStringLiteral("unknown");
    QString meaning = programFrame(frame);
    if (meaning.isEmpty())
        meaning = carFrame(frame);
    if (meaning.isEmpty())
        meaning = QStringLiteral("unknown: %1 -> %2, type %3")
                      .arg(deviceName(quint8(frame[0])), deviceName(quint8(frame[2])), hexByte(at(frame, 3)));
    return meaning;
}

} // namespace zarn::carsim
