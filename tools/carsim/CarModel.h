#pragma once

#include "carsim/CarFrames.h"
#include "carsim/Route.h"

#include <QElapsedTimer>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>

namespace zarn::carsim {

class BusWriter;
class Output;
struct Control;

// The car's units as the program meets them: the radio (CD changer polls and commands,
// its display texts), the cluster (time, speed, odometer), the navigation (position,
// city, street along a route) and the telephone; plus the driver's hands on the buttons.
// The car's own traffic (periodic messages and answers) can be switched off, the
// driver's actions always go out. Used on one thread only.
class CarModel : public QObject {
    Q_OBJECT
public:
    enum class Source { Radio, Tape, TapeDolbyC, Aux, Cd };

    static constexpr int PollIntervalMs = 5000;     // the radio looks for a changer
    static constexpr int CdStateIntervalMs = 10000; // the radio asks the playing changer
    static constexpr int DriveTickMs = 500;         // speed and engine speed
    static constexpr int DefaultOdometerKm = 212968;

    CarModel(BusWriter& writer, Output& output, QObject* parent = nullptr);

    void setOwnTraffic(bool on);
    bool ownTraffic() const { return ownTraffic_; }
    // Percentage of the car's own frames that go out with a fault.
    void setFaultPercent(int percent) { faultPercent_ = qBound(0, percent, 100); }
    void setSeed(quint32 seed) { rng_.seed(seed); }
    void setOdometerKm(int km);
    int odometerKm() const;

    void start();

    // The program's side of the bus.
    void programFrame(const QByteArray& frame);
    void programConnected();
    void programDisconnected();
    bool changerPresent() const { return changerPresent_; }

    // The driver.
    void press(const Control& control);
    void turnKnob(bool right, int steps);
    bool selectSource(Source source);
    Source source() const { return source_; }
    void pressCheckControl();
    void setPhoneState(quint8 state);
    void sendTime(QTime time);
    void sendTapeState(quint8 state);
    void sendSplitScreenUpdate();
    // Speed held at kmh; a negative value drives the route's speeds again.
    void setDriveSpeed(int kmh);
    void nextStreet();
    void sendPosition();
    void sendPosition(double latitude, double longitude);
    void sendCity(const QString& name);
    void sendStreet(const QString& name);
    void sendOdometer();

    frames::NavFix currentFix() const;
    const Route& route() const { return route_; }

private:
    void transmit(QList<QByteArray> frames, int delayMs = 0); // the car's own traffic
    void driverSends(const QList<QByteArray>& frames, int delayMs = 0);
    void poll();
    void driveTick();
    int targetSpeed() const;
    int rpmFor(int kmh) const;
    void placeFrames(QList<QByteArray>& out) const;

    BusWriter& writer_;
    Output& output_;
    QRandomGenerator rng_{0xE39};
    bool ownTraffic_ = true;
    int faultPercent_ = 0;

    // radio
    bool changerPresent_ = false;
    Source source_ = Source::Radio;
    int station_ = 0;
    QTimer pollTimer_;
    QTimer cdStateTimer_;

    // cluster and navigation
    Route route_;
    QTimer driveTimer_;
    QElapsedTimer sinceTick_;
    double speedKmh_ = 0;
    int heldSpeed_ = -1;
    int cruiseOffset_ = 0;
    qint64 stopLeftMs_ = 0;
    double metres_ = 0;
    int startKm_ = DefaultOdometerKm;
    int lastMinute_ = -1;
    quint8 phone_ = 0x10;
};

} // namespace zarn::carsim
