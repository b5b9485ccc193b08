#pragma once

#include <QCoreApplication>
#include <QString>

namespace zarn {

// What the vehicle decoders need from the layers above them (driver's log, speed
// camera check), and the facts they report to them. The defaults do nothing, so the decoders run without a window.
// Called on the main thread only.
class VehicleHooks {
public:
    enum class DriversLogMode {
        Private,
        BusinessQuestionOpen, // business mode, the mode question not answered yet
        BusinessAnswered,
    };

    virtual ~VehicleHooks() = default;

    virtual DriversLogMode driversLogMode() const { return DriversLogMode::Private; }
    virtual void WriteDriversLogEntry(const QString& text) {}
    // A new place arrived in business mode while the driver has not yet answered
    // whether this trip is business or private: the question must be asked.
    virtual void driversLogQuestionNeeded() {}

    // The speed camera warning is on.
    virtual bool radarWarningOn() const { return false; }
    // Runs the speed camera check (the radar map's paint handler); false when it failed.
    virtual bool seekartePaint() { return true; }

    // Lets pending window events run in the middle of a long decode.
    virtual void processEvents() { QCoreApplication::processEvents(); }
};

} // namespace zarn
