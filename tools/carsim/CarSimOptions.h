#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zarn::carsim {

struct CarSimOptions {
    QString linkPath;
    QString homeDir;       // --prepare-home
    QString scenarioPath;
    QString replayPath;
    qint64 exitAfterMs = -1;
    bool echo = false;     // print the car's frames too
    bool ownTraffic = true;
    bool keys = true;      // read keys when standard input is a terminal
    int faultPercent = 0;
    int gapMs = 80;        // quiet time between separate transmissions of the car
    int quietMs = 50;      // a frame still incomplete after this is cut short
    int odometerKm = 212968;
    std::optional<quint32> seed;

    // nullopt and a message (or the help text, *helpOnly set) when the command line is
    // not usable.
    static std::optional<CarSimOptions> parse(const QStringList& arguments, QString* message, bool* helpOnly);
};

} // namespace zarn::carsim
