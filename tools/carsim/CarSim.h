#pragma once

#include "carsim/BusWriter.h"
#include "carsim/CarModel.h"
#include "carsim/CarSimOptions.h"
#include "carsim/FrameReader.h"
#include "carsim/Keyboard.h"
#include "carsim/LineInput.h"
#include "carsim/Output.h"
#include "carsim/PtyPort.h"
#include "carsim/Replay.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace zarn::carsim {

class ScenarioPlayer;

// The simulator put together: the port, the car, the reader of the program's frames,
// and whatever drives the car (scenario, replay, keys). Main thread only.
class CarSim : public QObject {
    Q_OBJECT
public:
    // Exit statuses besides 0.
    static constexpr int MalformedFrames = 1;
    static constexpr int UsageError = 2;
    static constexpr int FailedChecks = 3;

    explicit CarSim(const CarSimOptions& options, QObject* parent = nullptr);
    ~CarSim() override;

    bool start(QString* error);
    // Ends the run: open checks are decided, the summary is printed, the port closes.
    void finish();
    int exitStatus() const;

signals:
    void quitRequested();

private:
    void received(const QByteArray& bytes);
    void handle(const QList<ReadFrame>& frames);
    void peerOpened();
    void peerClosed();
    void startReplay();
    void bindKeys();
    void liveLine(const QString& text);

    CarSimOptions options_;
    Output output_;
    PtyPort port_;
    BusWriter writer_;
    CarModel car_;
    FrameReader reader_;
    QTimer quiet_;
    Replay replay_;
    bool replayStarted_ = false;
    std::unique_ptr<ScenarioPlayer> scenario_;
    Keyboard keyboard_;
    LineInput input_;
    int inputLines_ = 0;
    QTimer exitTimer_;
    int programFrames_ = 0;
    int malformed_ = 0;
    bool finished_ = false;
    quint8 phone_ = 0x10;
};

} // namespace zarn::carsim
