#pragma once

#include <QStringView>

#include <numbers>

// Great-circle navigation on a spherical earth, nautical convention:
// angles in radians, latitudes positive to the north, longitudes positive to the
// WEST. Positions are always passed as (longitude, latitude) pairs.
// Pure functions, no state; safe on any thread.
namespace zarn {

inline constexpr double Pi = std::numbers::pi;
inline constexpr double TwoPi = 2.0 * Pi;
inline constexpr double NmPerRadian = 10800.0 / Pi;
inline constexpr double DegreesPerRadian = 180.0 / Pi;
inline constexpr double RadiansPerArcMinute = Pi / 10800.0;

// (degrees * 60 + minutes) arc minutes in radians; "S" and "E" negate, any other
// letter keeps the sign (so a signed latitude can be passed with "N").
double Nav2Rad_Angle(int degrees, QStringView hemisphere, double minutes);

// Central angle to nautical miles.
double RadToNm(double angle);

// Radians to degrees; exactly 360 becomes 0, nothing else is normalised.
double RadToDeg360(double angle);

// Great-circle distance as a central angle. The arc cosine is taken as
// atan2(sqrt(1 - x*x), x), so when rounding pushes x beyond 1 the result is NaN:
// callers must check with std::isnan (it is not turned into 0 here on purpose,
// a distance of 0 would look like "right on top of it").
double CentralAngle(double lon1, double lat1, double lon2, double lat2);
// The same with the sines and cosines of both latitudes given, bit for bit: for a
// loop that measures one position against many whose latitudes never change.
double CentralAngle(double lon1, double sinLat1, double cosLat1, double lon2, double sinLat2, double cosLat2);

// Initial true course from position 2 (origin) towards position 1 (destination),
// in [0, 2 pi]; due north gives 2 pi. Any arithmetic failure, identical positions
// included, gives 0.
double TrueCourse(double lon1, double lat1, double lon2, double lat2);

} // namespace zarn
