#include "carsim/Devices.h"

namespace zarn::carsim {

QString deviceName(quint8 address)
{
    const char* name = nullptr;
    switch (address) {
    case device::CdChanger: name = "CD changer"; break;
    case device::CheckControl: name = "check control"; break;
    case device::ScreenUnit: name = "screen unit"; break;
    case device::SteeringWheel: name = "steering wheel"; break;
    case device::Radio: name = "radio"; break;
    case device::Navigation: name = "navigation"; break;
    case device::Cluster: name = "cluster"; break;
    case device::TvModule: name = "TV module"; break;
    case device::ClusterGroup: name = "cluster broadcast"; break;
    case device::Telephone: name = "telephone"; break;
    case device::DisplayGroup: name = "displays"; break;
    case device::Monitor: name = "monitor buttons"; break;
    case device::Broadcast: name = "all"; break;
    default: break;
    }
    const QString hex = QStringLiteral("%1").arg(address, 2, 16, QLatin1Char('0')).toUpper();
    return name ? hex + QStringLiteral(" (") + QLatin1String(name) + QLatin1Char(')') : hex;
}

} // namespace zarn::carsim
