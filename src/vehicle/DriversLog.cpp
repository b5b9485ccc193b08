#include "vehicle/DriversLog.h"

#include "core/StatusLog.h"
#include "ibus/IbusSender.h"
#include "ibus/VehicleState.h"

namespace zarn {

DriversLog::DriversLog(VehicleState& vehicle, IbusSender& sender, StatusLog& log, const QString& appDir, QObject* parent)
    : QObject(parent)
    , vehicle_(vehicle)
    , sender_(sender)
    , log_(log)
    , writer_(sender, log, appDir)
{
    connect(&mode_, &DriversLogMode::clusterText, this, [this](const QString& text) {
        if (!sender_.SendInProgress())
            sender_.SendClusterText(text);
    });
    connect(&mode_, &DriversLogMode::questionPending, this, &DriversLog::questionRequested);
    connect(&writer_, &DriversLogWriter::entryWritten, this, &DriversLog::addToList);
    connect(&startupandasktimer, &Timer::timeout, this, &DriversLog::startupandasktimerTimer);
}

void DriversLog::load(const DriversLogSettings& settings)
{
    logList_.clear();
    emit logListCleared();
    applySettings(settings);
    mode_.load(settings);
    showMessage(mode_.message());
}

void DriversLog::applySettings(const DriversLogSettings& settings)
{
    writer_.setDualLogDirectory(settings.duallog);
}

VehicleHooks::DriversLogMode DriversLog::hookMode() const
{
    if (mode_.privateMode())
        return VehicleHooks::DriversLogMode::Private;
    return mode_.modeAnswered() ? VehicleHooks::DriversLogMode::BusinessAnswered
                                : VehicleHooks::DriversLogMode::BusinessQuestionOpen;
}

bool DriversLog::writeEntry(const QString& data)
{
    return writer_.WriteDriversLogEntry(data, vehicle_.BMWpanel107, vehicle_.BMWpanel110);
}

void DriversLog::BMWpanel23Click()
{
    mode_.toggle();
    showMessage(mode_.message());
    emit modeShown();
    emit saveRequested();
}

void DriversLog::BMWpanel63Click()
{
    entryItem(QString());
}

void DriversLog::BMWpanel24Click()
{
    entryItem(QStringLiteral(",GAS filled up"));
}

void DriversLog::entryItem(const QString& suffix)
{
    if (!mode_.recording())
        return;
    writeEntry(vehicle_.BMWpanel106 + QLatin1Char(',') + vehicle_.BMWpanel107 + suffix);
    showMessage(QStringLiteral(" Last entry: ") + vehicle_.BMWpanel106 + QStringLiteral(", ") + vehicle_.BMWpanel107
                + suffix);
}

void DriversLog::BMWpanel74Click()
{
    mode_.answerYes();
    showMessage(mode_.message());
    emit pageRequested();
    BMWpanel63Click();
}

void DriversLog::BMWpanel75Click()
{
    mode_.answerNo();
    showMessage(mode_.message());
    emit pageRequested();
}

void DriversLog::startTimers()
{
    startupandasktimer.setInterval(AskDelayMs);
}

void DriversLog::startupandasktimerTimer()
{
    log_.timerTrace(QStringLiteral("startupandasktimerTimer"));
    startupandasktimer.stop();
    if (!mode_.privateMode() && !mode_.modeAnswered())
        emit questionRequested();
    emit answerFocusRequested();
}

void DriversLog::addToList(const QString& line)
{
    // The file keeps every record; only the list of this run starts over.
    if (logList_.size() >= capacity_) {
        logList_.clear();
        emit logListCleared();
        log_.addMessage(QStringLiteral("Short on memory, log flush forced, log still complete on file "));
    }
    logList_.append(line);
    emit logLineAdded(line);
}

void DriversLog::showMessage(const QString& text)
{
    vehicle_.Driverslog_Msg = text;
    emit vehicle_.changed();
}

} // namespace zarn
