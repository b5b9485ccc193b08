#pragma once

#include <QList>
#include <QString>

namespace zarn::carsim {

struct GeoPoint {
    double latitude = 0;  // degrees north
    double longitude = 0; // degrees east
};

struct Street {
    QString name;
    int limitKmh = 50;
    QList<GeoPoint> points; // in driving order
    QString city;           // the navigation's city text here; empty: the route's
};

struct RouteData {
    QString city;
    int altitudeM = 0;
    QList<Street> streets;
};

// A drive through the Maxvorstadt and Schwabing in Munich, north along real streets;
// the navigation names the quarter with the city.
RouteData munichRoute();

// The car's place on a route: the streets are driven in order, then back in reverse,
// and so on. Positions are interpolated along each street's points.
class Route {
public:
    explicit Route(const RouteData& data);

    // Moves on by metres, never past the end of the current street; true when the car
    // reached that end and is now at the start of the next street.
    bool advance(double metres);
    // Jumps to the start of the next street.
    void nextStreet();

    GeoPoint position() const;
    QString city() const { return legs_[leg_].city.isEmpty() ? city_ : legs_[leg_].city; }
    QString street() const { return legs_[leg_].name; }
    int speedLimit() const { return legs_[leg_].limitKmh; }
    int altitudeM() const { return altitudeM_; }
    double metresLeftOnStreet() const { return lengths_[leg_] - along_; }

    static double distanceM(GeoPoint a, GeoPoint b);

private:
    QString city_;
    int altitudeM_ = 0;
    QList<Street> legs_;   // the streets forward, then backward
    QList<double> lengths_;
    int leg_ = 0;
    double along_ = 0;
};

} // namespace zarn::carsim
