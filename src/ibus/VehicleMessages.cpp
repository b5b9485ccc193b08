#include "ibus/VehicleMessages.h"

#include "core/Clock.h"
#include "core/Geodesy.h"
#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/ClockSetter.h"
#include "ibus/FrameText.h"
#include "ibus/VehicleHooks.h"
#include "ibus/VehicleState.h"

#include <QLocale>

#include <cmath>
#include <optional>

namespace zarn {

namespace {

// Character positions of the frame text count from 1: byte n is at 2n-1 and 2n.
QString chars(const QString& frame, int position, int count)
{
    return frame.mid(position - 1, count);
}

// Packed decimal digits: "48" is 48; anything but decimal digits (A-F, missing) fails.
std::optional<int> decimalAt(const QString& frame, int position, int count)
{
    const QString text = chars(frame, position, count);
    if (text.size() != count)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// One decimal digit sent as an ASCII character (the car's time is text).
std::optional<int> asciiDigitAt(const QString& frame, int position)
{
    const QString c = HexPairsToText(chars(frame, position, 2));
    if (c.size() != 1 || c[0] < u'0' || c[0] > u'9')
        return std::nullopt;
    return c[0].unicode() - u'0';
}

QString decimalMinutes(double minutes)
{
    return QString::number(minutes, 'f', 5).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

// Degrees, minutes, seconds and tenths as packed decimal digits; hemisphere 1 negates all.
struct Angle {
    int deg = 0;
    int minInt = 0;
    double min = 0;
    double sec = 0;
};

std::optional<Angle> angleAt(const QString& frame, int degPos, int degDigits, int minPos,
                             bool negative)
{
    const auto deg = decimalAt(frame, degPos, degDigits);
    const auto minInt = decimalAt(frame, minPos, 2);
    const auto sec = decimalAt(frame, minPos + 2, 2);
    const auto tenth = decimalAt(frame, minPos + 4, 1);
    if (!deg || !minInt || !sec || !tenth)
        return std::nullopt;
    const int sign = negative ? -1 : 1;
    Angle a;
    a.deg = sign * *deg;
    a.minInt = sign * *minInt;
    a.sec = sign * double(*sec * 10 + *tenth) / 10.0;
    a.min = a.minInt + a.sec / 60.0;
    return a;
}

// The place names: Latin-1 characters from byte 7 to byte 36, zero bytes left out.
QString placeName(const QString& frame, bool dropSemicolons)
{
    QString name;
    for (int p = 13; p <= 71; p += 2) {
        const QString pair = chars(frame, p, 2);
        if (pair == u"00" || (dropSemicolons && pair == u"3B"))
            continue;
        name += HexPairsToText(pair);
    }
    return name;
}

// The date that puts hour:minute nearest to now: a car clock a little ahead of or
// behind the PC around midnight must not move the PC's date by a day.
QDateTime nearestDateTime(const QDateTime& now, int hour, int minute)
{
    QDateTime t(now.date(), QTime(hour, minute));
    constexpr qint64 halfDaySecs = 12 * 60 * 60;
    const qint64 ahead = now.secsTo(t);
    if (ahead > halfDaySecs)
        t = QDateTime(now.date().addDays(-1), QTime(hour, minute));
    else if (ahead < -halfDaySecs)
        t = QDateTime(now.date().addDays(1), QTime(hour, minute));
    return t;
}

VehicleHooks& noHooks()
{
    static VehicleHooks hooks;
    return hooks;
}

} // namespace

VehicleMessages::VehicleMessages(VehicleState& state, StatusLog& log, const BusOptions& options,
                                 ClockSetter* clock, VehicleHooks* hooks)
    : state_(state)
    , log_(log)
    , options_(options)
    , clock_(clock)
    , hooks_(hooks ? hooks : &noHooks())
{
}

void VehicleMessages::setClockSetter(ClockSetter* clock)
{
    clock_ = clock;
}

void VehicleMessages::setHooks(VehicleHooks* hooks)
{
    hooks_ = hooks ? hooks : &noHooks();
}

void VehicleMessages::DecodeTimeFrame(const QString& frame)
{
    const auto fail = [this] {
        log_.addError(QStringLiteral("Error in BMW_Time subroutine - no reason to panic"));
    };
    // Bytes 7-11 carry "hh:mm" as text.
    const auto h1 = asciiDigitAt(frame, 13);
    const auto h2 = asciiDigitAt(frame, 15);
    const auto m1 = asciiDigitAt(frame, 19);
    const auto m2 = asciiDigitAt(frame, 21);
    if (!h1 || !h2 || !m1 || !m2)
        return fail();
    const int hour = 10 * *h1 + *h2;
    const int minute = 10 * *m1 + *m2;
    log_.addMessage(QStringLiteral("BMW_Time found to be %1:%2").arg(hour).arg(minute));
    if (hour > 23 || minute > 59)
        return fail();

    const QDateTime now = Clock::current().now();
    if (minute == now.time().minute() && hour == now.time().hour())
        return;
    const QDateTime carTime = nearestDateTime(now, hour, minute);
    if (clock_ && clock_->SetLocalTime(carTime))
        log_.AddStatusLine(QStringLiteral("BMW_Time PC time set to Car Time"));
    else
        log_.addError(QStringLiteral("BMW_Time set failed"));
}

void VehicleMessages::DecodeSpeedFrame(const QString& frame)
{
    // A byte that is not hexadecimal counts as -1; the next frame puts it right.
    state_.CurrentSpeed = 2 * HexToInt(chars(frame, 9, 2));
    state_.CurrentRpm = 100 * HexToInt(chars(frame, 11, 2));
    state_.Speedo_Display = QString::number(state_.CurrentSpeed)
        + (options_.miles ? QStringLiteral(" mph") : QStringLiteral(" km/h"));
    state_.Umin_Display = QString::number(state_.CurrentRpm) + QStringLiteral(" rpm");
    log_.addMessage(QStringLiteral("BMW_speed and rpm found,") + state_.Speedo_Display
                    + QLatin1Char(' ') + state_.Umin_Display);
    emit state_.changed();
}

void VehicleMessages::DecodeOdometerFrame(const QString& frame)
{
    // Bytes 5-7, lowest first.
    const int low = HexToInt(chars(frame, 9, 2));
    const int mid = HexToInt(chars(frame, 11, 2));
    const int high = HexToInt(chars(frame, 13, 2));
    // The mileage is saved at exit: a broken frame must not overwrite it with garbage.
    if (frame.size() < 14 || low < 0 || mid < 0 || high < 0) {
        log_.addMessage(QStringLiteral("Error in BMW_odometer subroutine"), StatusLog::Severity::Error);
        return;
    }
    state_.LastKnownMileage = high * 65536 + mid * 256 + low;
    state_.BMWpanel110 = QString::number(state_.LastKnownMileage);
    log_.addMessage(QStringLiteral("BMW_odometer found - number is ")
                    + QString::number(state_.LastKnownMileage));
    emit state_.changed();
}

bool VehicleMessages::DecodePositionFrame(const QString& frame)
{
    log_.addMessage(QStringLiteral("BMW_Nav_latlon found"));
    log_.addMessage(QStringLiteral("read=") + frame);

    // Bytes 7-10: latitude dd mm ss s<hemisphere>; bytes 11-15: longitude
    // dddd mm ss s<hemisphere>. Hemisphere digit 0 is north / east, 1 south / west;
    // any other value leaves that half of the position as it was.
    if (frame.size() < 30)
        return false;
    PositionFix fix = state_.CurrentFix;
    const QChar latHemisphere = frame[19];
    if (latHemisphere == u'0' || latHemisphere == u'1') {
        const auto lat = angleAt(frame, 13, 2, 15, latHemisphere == u'1');
        if (!lat)
            return false;
        fix.latDeg = lat->deg;
        fix.latMinInt = lat->minInt;
        fix.latMin = lat->min;
        fix.latSec = lat->sec;
    }
    const QChar lonHemisphere = frame[29];
    if (lonHemisphere == u'0' || lonHemisphere == u'1') {
        const auto lon = angleAt(frame, 21, 4, 25, lonHemisphere == u'1');
        if (!lon)
            return false;
        fix.lonDeg = lon->deg;
        fix.lonMinInt = lon->minInt;
        fix.lonMin = lon->min;
        fix.lonSec = lon->sec;
    }

    const QString separator = QLocale().decimalPoint();
    state_.CurrentFix = fix;
    state_.Label54 = chars(frame, 13, 2);
    state_.Label55 = chars(frame, 15, 2);
    state_.Label56 = chars(frame, 17, 2) + separator + chars(frame, 19, 1);
    state_.Label57 = decimalMinutes(fix.latMin);
    state_.Label58 = chars(frame, 21, 4);
    state_.Label59 = chars(frame, 25, 2);
    state_.Label60 = chars(frame, 27, 2) + separator + chars(frame, 29, 1);
    state_.Label61 = decimalMinutes(fix.lonMin);

    const PositionFix last = state_.LastFix;
    if (last.latDeg != 0) {
        hooks_->processEvents();
        // Signed latitudes pass with "N"; longitudes turn west-positive.
        const double lastLat = Nav2Rad_Angle(last.latDeg, u"N", last.latMin);
        const double lat = Nav2Rad_Angle(fix.latDeg, u"N", fix.latMin);
        const double lastLon = -(last.lonDeg * 60 + last.lonMin) * RadiansPerArcMinute;
        const double lon = -(fix.lonDeg * 60 + fix.lonMin) * RadiansPerArcMinute;
        const bool south = fix.latDeg < 0 || fix.latMin < 0;
        log_.addMessage(state_.Label54 + QStringLiteral("° ") + state_.Label55
                        + QStringLiteral("´ ") + state_.Label56
                        + (south ? QStringLiteral("´´ S   ") : QStringLiteral("´´ N   "))
                        + state_.Label58 + QStringLiteral("° ") + state_.Label59
                        + QStringLiteral("´ ") + state_.Label60 + QStringLiteral("´´ ")
                        + (last.lonMin > 0 ? QLatin1Char('E') : QLatin1Char('W')));
        state_.CourseOverGround = RadToDeg360(TrueCourse(lon, lat, lastLon, lastLat));
        hooks_->processEvents();
    }
    state_.LastFix = fix;
    // Nearest whole degree, 359.6 giving 0 rather than 360.
    log_.addMessage(QStringLiteral("BMW_Nav_latlon successfull, cog=")
                    + QString::number(std::lround(state_.CourseOverGround) % 360));
    emit state_.changed();

    if (hooks_->radarWarningOn() && !hooks_->seekartePaint())
        log_.addError(QStringLiteral("error in checkforradar routine"));
    return true;
}

void VehicleMessages::DecodeCityFrame(const QString& frame)
{
    log_.addMessage(QStringLiteral("BMW_Nav_City found"));
    const QString city = placeName(frame, false);
    log_.addMessage(QStringLiteral("BMW_Nav_City is ") + city);
    if (city == state_.BMWpanel106)
        return;
    state_.BMWpanel106 = city;
    placeChanged(QStringLiteral(" Last entry: ") + state_.BMWpanel107 + QStringLiteral(", ")
                 + state_.BMWpanel106);
}

void VehicleMessages::DecodeStreetFrame(const QString& frame)
{
    log_.addMessage(QStringLiteral("BMW_Nav_Street found"));
    const QString street = placeName(frame, true);
    if (street != state_.BMWpanel107) {
        state_.BMWpanel107 = street;
        placeChanged(QStringLiteral(" Log entry: ") + state_.BMWpanel106 + QStringLiteral(", ")
                     + state_.BMWpanel107);
    }
    log_.addMessage(QStringLiteral("BMW_Nav_City successfullly processed"));
}

void VehicleMessages::placeChanged(const QString& message)
{
    switch (hooks_->driversLogMode()) {
    case VehicleHooks::DriversLogMode::BusinessAnswered:
        hooks_->WriteDriversLogEntry(state_.BMWpanel106 + QLatin1Char(',') + state_.BMWpanel107);
        state_.Driverslog_Msg = message;
        break;
    case VehicleHooks::DriversLogMode::BusinessQuestionOpen:
        hooks_->driversLogQuestionNeeded();
        break;
    case VehicleHooks::DriversLogMode::Private:
        break;
    }
    emit state_.changed();
}

FrameDecoders VehicleMessages::decoders()
{
    return FrameDecoders{
        [this](const QString& f) { DecodeTimeFrame(f); },
        [this](const QString& f) { DecodeSpeedFrame(f); },
        [this](const QString& f) { DecodeOdometerFrame(f); },
        [this](const QString& f) { return DecodePositionFrame(f); },
        [this](const QString& f) { DecodeCityFrame(f); },
        [this](const QString& f) { DecodeStreetFrame(f); },
    };
}

} // namespace zarn
