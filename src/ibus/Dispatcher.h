#pragma once

#include "ibus/CodeTable.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace zarn {

class CdChanger;
class DispatcherActions;
class ScreenRelay;
class StatusLog;
struct BusOptions;

// The vehicle message decoders the dispatcher hands frames to. The position decoder
// reports failure, which ends the dispatch of the block.
struct FrameDecoders {
    std::function<void(const QString&)> time;
    std::function<void(const QString&)> speed;
    std::function<void(const QString&)> odometer;
    std::function<bool(const QString&)> position;
    std::function<void(const QString&)> city;
    std::function<void(const QString&)> street;
};

// ProcessIbusText: cuts a received block into frames and runs, in one fixed order, the
// action of every code some frame begins with. Main thread only; re-entrant (a click
// handled between rows may dispatch a block of its own).
class Dispatcher {
public:
    Dispatcher(const CodeTable& codes, const BusOptions& options, StatusLog& log, DispatcherActions& actions,
               CdChanger& cdChanger, ScreenRelay& screen, FrameDecoders decoders = {});

    void ProcessIbusText(const QString& blockText);

    bool tapePaused() const { return tapePaused_; }
    // Start-up: nothing paused by the tape yet.
    void reset() { tapePaused_ = false; }

    // Step count of a knob turn frame: the 10th character as a decimal digit, else 1.
    static int knobSteps(const QString& frame);

    struct Row;

private:
    struct Block;
    bool runRows(Block& block);
    bool conditionHolds(const Row& row, const Block& block) const;
    QString codeOf(const Row& row) const;
    bool act(int row, Block& block, const QString& frame);
    void tapePause(const QString& line);
    void tapeResume();

    const CodeTable& codes_;
    const BusOptions& options_;
    StatusLog& log_;
    DispatcherActions& actions_;
    CdChanger& cd_;
    ScreenRelay& screen_;
    FrameDecoders decoders_;
    bool tapePaused_ = false;
};

} // namespace zarn
