#include "ibus/VehicleState.h"

namespace zarn {

VehicleState::VehicleState(QObject* parent)
    : QObject(parent)
{
}

void VehicleState::setLastKnownMileage(int mileage)
{
    LastKnownMileage = mileage;
    BMWpanel110 = QString::number(mileage);
    emit changed();
}

} // namespace zarn
