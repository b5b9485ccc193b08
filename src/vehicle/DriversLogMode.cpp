#include "vehicle/DriversLogMode.h"

namespace zarn {

namespace {
const QString BusinessCaption = QStringLiteral("Mode is BUSINESS");
const QString PrivateCaption = QStringLiteral("Mode is PRIVATE");
} // namespace

DriversLogMode::DriversLogMode(QObject* parent)
    : QObject(parent)
{
    load(DriversLogSettings());
}

void DriversLogMode::load(const DriversLogSettings& settings)
{
    if (settings.businessMode()) {
        set(false, false, true);
        emit questionPending();
    } else {
        set(true, true, false);
    }
}

void DriversLogMode::store(DriversLogSettings& settings) const
{
    settings.driversLogRecord = privateMode_ ? 0 : 1;
}

void DriversLogMode::toggle()
{
    const bool toBusiness = modeCaption_ != BusinessCaption;
    set(!toBusiness, modeAnswered_, toBusiness);
    emit clusterText(toBusiness ? QStringLiteral("Drivers log ON") : QStringLiteral("Drivers log OFF"));
    emit saveRequested();
}

void DriversLogMode::answerYes()
{
    set(false, true, indicator_);
}

void DriversLogMode::answerNo()
{
    set(true, true, indicator_);
}

void DriversLogMode::set(bool privateMode, bool answered, bool indicator)
{
    const QString caption = privateMode ? PrivateCaption : BusinessCaption;
    const QString message = privateMode ? QStringLiteral(" Private mode set") : QStringLiteral(" Business mode set");
    if (privateMode == privateMode_ && answered == modeAnswered_ && indicator == indicator_ && caption == modeCaption_
        && message == message_)
        return;
    privateMode_ = privateMode;
    modeAnswered_ = answered;
    indicator_ = indicator;
    modeCaption_ = caption;
    message_ = message;
    emit changed();
}

} // namespace zarn
