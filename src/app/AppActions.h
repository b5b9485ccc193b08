#pragma once

#include "ibus/BusEvents.h"
#include "ibus/VehicleHooks.h"
#include "media/MusicPlayer.h"
#include "vehicle/DriversLog.h"
#include "vehicle/SpeedCameraWarning.h"

#include <functional>

namespace zarn {

// Where the bus events and the vehicle decoders' facts arrive above the bus side. The
// bus's pause rows reach the music player here; UiActions routes the rest to the
// window's handlers.
class AppActions : public BusEventSink, public VehicleHooks {
public:
    // Set by the composition root.
    MusicPlayer* player = nullptr;
    SpeedCameraWarning* radar = nullptr;
    DriversLog* driversLog = nullptr;
    std::function<void()> exitAction; // the exit action
    std::function<void()> holdMovie;  // the pause rows' hold of a movie

    bool busEvent(const BusEvent& event) override
    {
        using K = BusEvent::Kind;
        if (event.kind == K::Exit) {
            if (exitAction)
                exitAction();
            return true;
        }
        if (event.kind == K::HoldMovie) {
            if (holdMovie)
                holdMovie();
            return true;
        }
        if (!player)
            return true;
        switch (event.kind) {
        case K::PauseToggle: player->BMWpanel54Click(); break;
        case K::PauseSteps: player->pauseSteps(); break;
        case K::ResumeSteps: player->resumeSteps(); break;
        default: break;
        }
        return true;
    }
    void processEvents() override { QCoreApplication::processEvents(); }

    DriversLogMode driversLogMode() const override
    {
        return driversLog ? driversLog->hookMode() : DriversLogMode::Private;
    }
    void WriteDriversLogEntry(const QString& text) override
    {
        if (driversLog)
            driversLog->writeEntry(text);
    }
    void driversLogQuestionNeeded() override
    {
        if (driversLog)
            driversLog->askQuestion();
    }

    bool radarWarningOn() const override { return radar && radar->warningOn(); }
    bool seekartePaint() override { return !radar || radar->positionFix(); }
};

} // namespace zarn
