#include "carsim/Route.h"

#include <QtMath>

#include <algorithm>

namespace zarn::carsim {

RouteData munichRoute()
{
    // From Karolinenplatz through the Maxvorstadt and Schwabing to the Nordfriedhof.
    const QString maxvorstadt = QStringLiteral("München-Maxvorstadt");
    const QString schwabing = QStringLiteral("München-Schwabing");
    return {QStringLiteral("München"),
            519,
            {
                {QStringLiteral("Brienner Straße"), 50, {{48.14508, 11.56762}, {48.14432, 11.57386}}, maxvorstadt},
                {QStringLiteral("Türkenstraße"), 30, {{48.14432, 11.57386}, {48.15004, 11.57452}, {48.15598, 11.57601}},
                 maxvorstadt},
                {QStringLiteral("Georgenstraße"), 30, {{48.15598, 11.57601}, {48.15631, 11.58382}}, schwabing},
                {QStringLiteral("Leopoldstraße"), 50, {{48.15631, 11.58382}, {48.16197, 11.58659}}, schwabing},
                {QStringLiteral("Ungererstraße"), 50, {{48.16238, 11.58705}, {48.16897, 11.59048}, {48.17452, 11.59351}},
                 schwabing},
            }};
}

Route::Route(const RouteData& data)
    : city_(data.city)
    , altitudeM_(data.altitudeM)
{
    legs_ = data.streets;
    for (auto it = data.streets.crbegin(); it != data.streets.crend(); ++it) {
        Street back = *it;
        std::reverse(back.points.begin(), back.points.end());
        legs_.append(back);
    }
    for (const Street& s : legs_) {
        double length = 0;
        for (qsizetype i = 1; i < s.points.size(); ++i)
            length += distanceM(s.points[i - 1], s.points[i]);
        lengths_.append(length);
    }
}

double Route::distanceM(GeoPoint a, GeoPoint b)
{
    // Flat-earth approximation: exact enough over a few hundred metres.
    constexpr double earthRadiusM = 6371000.0;
    const double meanLat = qDegreesToRadians((a.latitude + b.latitude) / 2);
    const double dx = qDegreesToRadians(b.longitude - a.longitude) * std::cos(meanLat);
    const double dy = qDegreesToRadians(b.latitude - a.latitude);
    return earthRadiusM * std::sqrt(dx * dx + dy * dy);
}

bool Route::advance(double metres)
{
    along_ += std::max(0.0, metres);
    if (along_ < lengths_[leg_])
        return false;
    nextStreet();
    return true;
}

void Route::nextStreet()
{
    leg_ = (leg_ + 1) % legs_.size();
    along_ = 0;
}

GeoPoint Route::position() const
{
    const QList<GeoPoint>& pts = legs_[leg_].points;
    double left = along_;
    for (qsizetype i = 1; i < pts.size(); ++i) {
        const double piece = distanceM(pts[i - 1], pts[i]);
        if (left <= piece && piece > 0) {
            const double f = left / piece;
            return {pts[i - 1].latitude + f * (pts[i].latitude - pts[i - 1].latitude),
                    pts[i - 1].longitude + f * (pts[i].longitude - pts[i - 1].longitude)};
        }
        left -= piece;
    }
    return pts.back();
}

} // namespace zarn::carsim
