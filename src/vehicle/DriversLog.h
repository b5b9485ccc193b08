#pragma once

#include "core/Timer.h"
#include "ibus/VehicleHooks.h"
#include "vehicle/DriversLogMode.h"
#include "vehicle/DriversLogSettings.h"
#include "vehicle/DriversLogWriter.h"

#include <QObject>
#include <QStringList>

namespace zarn {

class IbusSender;
class StatusLog;
class VehicleState;

// The driver's log as the driver works it: the action items of its page, the question
// whether a business trip goes on, the start-up timer that asks it, and the entries the
// navigation's place changes write. The city, street and mileage captions and the
// message field are VehicleState's (BMWpanel106, BMWpanel107, BMWpanel110,
// Driverslog_Msg); every change of the message field is followed by VehicleState::changed().
//
// Contract:
// - Main thread only; every member is called there and every signal is emitted there.
// - load() at start-up (Zarn.ini read) before anything else; applySettings() whenever
//   the settings change (the dual log directory).
// - The item handlers check the mode themselves; writeEntry() does not (the decoders do).
// - Signals, all mandatory for a window: questionRequested() (show the question page),
//   answerFocusRequested() ("A no" takes the focus; a failure is ignored),
//   pageRequested() (show the driver's log page), modeShown() (after every mode toggle:
//   the log indicator, the colors and the header text follow; then the settings are
//   saved), logLineAdded() / logListCleared() for the page's list.
class DriversLog : public QObject {
    Q_OBJECT
public:
    static constexpr int AskDelayMs = 8000;
    static constexpr int DefaultLogListCapacity = 10000;

    DriversLog(VehicleState& vehicle, IbusSender& sender, StatusLog& log, const QString& appDir,
               QObject* parent = nullptr);

    // From Zarn.ini's rows: the mode (business asks at once), the dual log directory;
    // the list of this run starts empty.
    void load(const DriversLogSettings& settings);
    void applySettings(const DriversLogSettings& settings);
    // The mode as a save stores it.
    void store(DriversLogSettings& settings) const { mode_.store(settings); }

    const DriversLogMode& mode() const { return mode_; }
    VehicleHooks::DriversLogMode hookMode() const;
    // The lines written in this run (loglist).
    const QStringList& logList() const { return logList_; }
    void setLogListCapacity(int lines) { capacity_ = lines; }

    // The record of a place change (data: city + "," + street); true when the main log
    // holds it.
    bool writeEntry(const QString& data);
    // A place changed while the question is open: it is asked again.
    void askQuestion() { emit questionRequested(); }

    void BMWpanel23Click(); // the mode toggle
    void BMWpanel63Click(); // "Force an entry"
    void BMWpanel24Click(); // "Record Gas Fill"
    void BMWpanel74Click(); // "A yes"
    void BMWpanel75Click(); // "A no"

    // Starts the question timer (the window's timers start).
    void startTimers();
    Timer startupandasktimer{QStringLiteral("startupandasktimer")}; // once, AskDelayMs after start

signals:
    void questionRequested();
    void answerFocusRequested();
    void pageRequested();
    void modeShown();
    void saveRequested();
    void logLineAdded(const QString& line);
    void logListCleared();

private:
    void startupandasktimerTimer();
    // Force an entry / Record Gas Fill: suffix after city + "," + street.
    void entryItem(const QString& suffix);
    void addToList(const QString& line);
    void showMessage(const QString& text);

    VehicleState& vehicle_;
    IbusSender& sender_;
    StatusLog& log_;
    DriversLogMode mode_;
    DriversLogWriter writer_;
    QStringList logList_;
    int capacity_ = DefaultLogListCapacity;
};

} // namespace zarn
