#pragma once

#include "ibus/CodeTable.h"

#include <QString>
#include <QStringList>

namespace zarn {

class BusEventSink;
class ScreenRelay;
class StatusLog;
struct BusOptions;

// ProcessIbusText: cuts a received block into frames and runs, in one fixed order, the
// rows of the table whose code some frame begins with; each row's action is a named
// event sent to one sink. Frames that are not whole or whose checksum fails are left out
// and counted. Main thread only; re-entrant (a click handled between rows may dispatch a
// block of its own).
class Dispatcher {
public:
    // screen: read for ScreenOn only; its actions arrive at the sink as events.
    Dispatcher(const CodeTable& codes, const BusOptions& options, StatusLog& log, const ScreenRelay& screen,
               BusEventSink& sink);

    void ProcessIbusText(const QString& blockText);

    bool tapePaused() const { return tapePaused_; }
    // Start-up: nothing paused by the tape yet.
    void reset() { tapePaused_ = false; }

    // Received frames whose checksum failed, and bytes that belonged to no whole frame
    // (a block that began mid-frame, a collision), since the start.
    int checksumErrors() const { return checksumErrors_; }
    int skippedBytes() const { return skippedBytes_; }

    // Step count of a knob turn frame: the 10th character as a decimal digit, else 1.
    static int knobSteps(const QString& frame);

    struct Row;

private:
    bool runRows(const QStringList& frames);
    bool conditionHolds(const Row& row, const QStringList& frames) const;
    int find(const Row& row, const QStringList& frames) const;
    bool act(const Row& row, const QString& frame);
    void tapePause();
    void tapeResume();

    const CodeTable& codes_;
    const BusOptions& options_;
    StatusLog& log_;
    const ScreenRelay& screen_;
    BusEventSink& sink_;
    bool tapePaused_ = false;
    int checksumErrors_ = 0;
    int skippedBytes_ = 0;
};

} // namespace zarn
