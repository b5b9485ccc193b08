#include "core/Geodesy.h"

#include <algorithm>
#include <cmath>

namespace zarn {

namespace {
double arcCos(double x)
{
    return std::atan2(std::sqrt(1.0 - x * x), x);
}
} // namespace

double Nav2Rad_Angle(int degrees, QStringView hemisphere, double minutes)
{
    double total = double(degrees) * 60.0 + minutes;
    if (hemisphere == u"S" || hemisphere == u"E")
        total = -total;
    return total * RadiansPerArcMinute;
}

double RadToNm(double angle)
{
    return angle * NmPerRadian;
}

double RadToDeg360(double angle)
{
    const double degrees = angle * DegreesPerRadian;
    return degrees == 360.0 ? 0.0 : degrees;
}

double CentralAngle(double lon1, double lat1, double lon2, double lat2)
{
    return CentralAngle(lon1, std::sin(lat1), std::cos(lat1), lon2, std::sin(lat2), std::cos(lat2));
}

double CentralAngle(double lon1, double sinLat1, double cosLat1, double lon2, double sinLat2, double cosLat2)
{
    return arcCos(sinLat2 * sinLat1 + cosLat2 * cosLat1 * std::cos(lon2 - lon1));
}

double TrueCourse(double lon1, double lat1, double lon2, double lat2)
{
    // In double precision the arc cosine of identical positions is not reliably 0
    // (it can come out near 1e-8 and give a random course), so they are caught here.
    if (lon1 == lon2 && lat1 == lat2)
        return 0.0;
    const double d = CentralAngle(lon1, lat1, lon2, lat2);
    const double divisor = std::sin(d) * std::cos(lat2);
    if (!std::isfinite(d) || divisor == 0.0)
        return 0.0;
    // The ratio is a cosine: beyond +-1 it is rounding (the short arc's own cosine is
    // the rough part), and due south it must not fail and turn into north.
    const double ratio = (std::sin(lat1) - std::sin(lat2) * std::cos(d)) / divisor;
    const double c = arcCos(std::clamp(ratio, -1.0, 1.0));
    if (!std::isfinite(c))
        return 0.0;
    return std::sin(lon1 - lon2) >= 0.0 ? TwoPi - c : c;
}

} // namespace zarn
