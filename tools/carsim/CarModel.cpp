#include "carsim/CarModel.h"

#include "carsim/BrokenFrames.h"
#include "carsim/BusWriter.h"
#include "carsim/Controls.h"
#include "carsim/Devices.h"
#include "carsim/Hex.h"
#include "carsim/Output.h"

#include <QDateTime>

namespace zarn::carsim {

namespace {
const char* const Stations[] = {"BAYERN 3", "ANTENNE BAY", "B5 AKTUELL", "BR-KLASSIK"};

// Answer delays: a unit needs a moment to answer a request.
constexpr int StateRequestDelayMs = 300;
constexpr int OdometerAnswerMs = 40;
constexpr int PositionAnswerMs = 60;
constexpr int PlaceAnswerMs = 90;
constexpr int ReleaseAfterMs = 150;
constexpr int TimeAfterConnectMs = 1500;
constexpr int FirstPollAfterMs = 1000;
constexpr int TrafficLightMs = 4000;
constexpr double SlowDownWithinM = 40;

bool startsWith(const QByteArray& frame, QByteArrayView prefix) { return frame.startsWith(prefix); }
} // namespace

CarModel::CarModel(BusWriter& writer, Output& output, QObject* parent)
    : QObject(parent)
    , writer_(writer)
    , output_(output)
    , route_(munichRoute())
{
    pollTimer_.setSingleShot(true);
    connect(&pollTimer_, &QTimer::timeout, this, &CarModel::poll);
    cdStateTimer_.setInterval(CdStateIntervalMs);
    connect(&cdStateTimer_, &QTimer::timeout, this, [this] { transmit({frames::cdStateRequest()}); });
    driveTimer_.setInterval(DriveTickMs);
    driveTimer_.setTimerType(Qt::PreciseTimer);
    connect(&driveTimer_, &QTimer::timeout, this, &CarModel::driveTick);
}

void CarModel::setOwnTraffic(bool on)
{
    ownTraffic_ = on;
}

void CarModel::setOdometerKm(int km)
{
    startKm_ = km;
    metres_ = 0;
}

int CarModel::odometerKm() const
{
    return startKm_ + int(metres_ / 1000);
}

void CarModel::start()
{
    sinceTick_.start();
    lastMinute_ = QTime::currentTime().minute();
    driveTimer_.start();
    pollTimer_.start(FirstPollAfterMs);
}

void CarModel::transmit(QList<QByteArray> frames, int delayMs)
{
    if (!ownTraffic_)
        return;
    for (QByteArray& f : frames)
        if (faultPercent_ > 0 && int(rng_.bounded(100)) < faultPercent_)
            f = broken::anyFault(f, rng_);
    writer_.send(frames, delayMs);
}

void CarModel::driverSends(const QList<QByteArray>& frames, int delayMs)
{
    writer_.send(frames, delayMs);
}

// --- the program's side ---------------------------------------------------------------

void CarModel::programFrame(const QByteArray& f)
{
    using namespace device;
    if (startsWith(f, "\x18\x04\xFF\x02")) {
        if (!changerPresent_) {
            changerPresent_ = true;
            pollTimer_.stop();
            output_.note(QStringLiteral("radio: CD changer found"));
            transmit({frames::cdStateRequest()}, StateRequestDelayMs);
        }
    } else if (startsWith(f, "\xBF\x03\x80\x16")) {
        transmit({frames::odometer(odometerKm())}, OdometerAnswerMs);
    } else if (startsWith(f, "\xC8\x04\x7F\xA1")) {
        transmit({frames::position(currentFix())}, PositionAnswerMs);
    } else if (startsWith(f, "\xC8\x04\x7F\xA3")) {
        QList<QByteArray> place;
        placeFrames(place);
        transmit(place, PlaceAnswerMs);
    }
}

void CarModel::programConnected()
{
    // A new listener: the radio looks for its changer again, the cluster tells the time.
    if (!changerPresent_)
        pollTimer_.start(FirstPollAfterMs);
    transmit({frames::clusterTime(QTime::currentTime())}, TimeAfterConnectMs);
}

void CarModel::programDisconnected()
{
    if (changerPresent_)
        output_.note(QStringLiteral("radio: CD changer gone"));
    changerPresent_ = false;
    cdStateTimer_.stop();
    pollTimer_.start(PollIntervalMs);
}

void CarModel::poll()
{
    if (changerPresent_)
        return;
    transmit({frames::cdPoll()});
    pollTimer_.start(PollIntervalMs);
}

// --- the driver -----------------------------------------------------------------------

void CarModel::press(const Control& control)
{
    driverSends({control.press});
    if (!control.release.isEmpty())
        driverSends({control.release}, ReleaseAfterMs);
}

void CarModel::turnKnob(bool right, int steps)
{
    driverSends({frames::knobTurn(right, steps)});
}

bool CarModel::selectSource(Source source)
{
    if (source == Source::Cd && !changerPresent_) {
        output_.note(QStringLiteral("radio: no CD changer answered, CD mode is not available"));
        return false;
    }
    QList<QByteArray> out;
    if (source_ == Source::Cd && source != Source::Cd) {
        out << frames::cdStop();
        cdStateTimer_.stop();
    }
    switch (source) {
    case Source::Radio:
        station_ = (station_ + 1) % int(std::size(Stations));
        out << frames::radioTitleText(QLatin1String(Stations[station_]));
        break;
    case Source::Tape:
    case Source::TapeDolbyC:
        out << frames::radioTitleText(QStringLiteral("TAPE 1")) << frames::tapeText(source == Source::TapeDolbyC);
        break;
    case Source::Aux:
        out << frames::radioTitleText(QStringLiteral("AUX"));
        break;
    case Source::Cd:
        if (source_ != Source::Cd) {
            out << frames::cdPlay();
            cdStateTimer_.start();
        }
        break;
    }
    source_ = source;
    driverSends(out);
    if (source == Source::Cd)
        driverSends({frames::cdStateRequest(), frames::radioTitleText(QStringLiteral("CD 1-01"))}, 500);
    return true;
}

void CarModel::pressCheckControl()
{
    driverSends({frames::checkControlButton()});
}

void CarModel::setPhoneState(quint8 state)
{
    phone_ = state;
    driverSends({frames::phoneState(state)});
}

void CarModel::sendTime(QTime time)
{
    driverSends({frames::clusterTime(time)});
}

void CarModel::sendTapeState(quint8 state)
{
    driverSends({makeFrame(device::Monitor, device::Radio, QByteArray("\x4B\x06", 2) + char(state))});
}

void CarModel::sendSplitScreenUpdate()
{
    driverSends({makeFrame(device::Radio, device::ScreenUnit, QByteArray("\x46\x01", 2))});
}

void CarModel::setDriveSpeed(int kmh)
{
    heldSpeed_ = kmh;
    if (kmh >= 0)
        stopLeftMs_ = 0;
}

void CarModel::nextStreet()
{
    route_.nextStreet();
    QList<QByteArray> place;
    placeFrames(place);
    driverSends(place);
}

void CarModel::sendPosition()
{
    driverSends({frames::position(currentFix())});
}

void CarModel::sendPosition(double latitude, double longitude)
{
    frames::NavFix fix = currentFix();
    fix.latitude = latitude;
    fix.longitude = longitude;
    driverSends({frames::position(fix)});
}

void CarModel::sendCity(const QString& name)
{
    driverSends({frames::city(name)});
}

void CarModel::sendStreet(const QString& name)
{
    driverSends({frames::street(name)});
}

void CarModel::sendOdometer()
{
    driverSends({frames::odometer(odometerKm())});
}

frames::NavFix CarModel::currentFix() const
{
    const GeoPoint p = route_.position();
    return {p.latitude, p.longitude, route_.altitudeM(), QDateTime::currentDateTimeUtc().time()};
}

void CarModel::placeFrames(QList<QByteArray>& out) const
{
    out << frames::city(route_.city()) << frames::street(route_.street());
}

// --- driving --------------------------------------------------------------------------

int CarModel::targetSpeed() const
{
    if (heldSpeed_ >= 0)
        return heldSpeed_;
    if (stopLeftMs_ > 0)
        return 0;
    if (route_.metresLeftOnStreet() < SlowDownWithinM)
        return 12;
    return route_.speedLimit() + cruiseOffset_;
}

int CarModel::rpmFor(int kmh) const
{
    if (kmh <= 0)
        return 750;
    // km/h per 1000 rpm in gears 1 to 5; the driver shifts up above 2000 rpm.
    static constexpr double perThousand[] = {8, 15, 23, 31, 39};
    for (double ratio : perThousand) {
        const double rpm = kmh / ratio * 1000;
        if (rpm <= 2000)
            return qMax(900, int(rpm));
    }
    return int(kmh / perThousand[4] * 1000);
}

void CarModel::driveTick()
{
    const qint64 elapsedMs = qMax<qint64>(1, sinceTick_.restart());
    if (stopLeftMs_ > 0 && speedKmh_ <= 0)
        stopLeftMs_ -= elapsedMs;

    // About 2 m/s² either way.
    const double step = 7.2 * elapsedMs / 1000.0;
    const int target = targetSpeed();
    speedKmh_ = speedKmh_ < target ? qMin<double>(target, speedKmh_ + step) : qMax<double>(target, speedKmh_ - step * 1.5);

    const double metres = speedKmh_ / 3.6 * elapsedMs / 1000.0;
    metres_ += metres;
    const QString street = route_.street();
    QList<QByteArray> out;
    if (heldSpeed_ < 0 || speedKmh_ > 0) {
        if (route_.advance(metres)) {
            stopLeftMs_ = heldSpeed_ < 0 ? TrafficLightMs : 0;
            cruiseOffset_ = int(rng_.bounded(7)) - 2;
            if (route_.street() != street)
                placeFrames(out);
        }
    }
    out << frames::speedAndRpm(int(speedKmh_ + 0.5), rpmFor(int(speedKmh_ + 0.5)));
    // Once a minute the time goes out with the speed in one burst.
    const QTime now = QTime::currentTime();
    if (now.minute() != lastMinute_) {
        lastMinute_ = now.minute();
        out << frames::clusterTime(now);
    }
    transmit(out);
}

} // namespace zarn::carsim
