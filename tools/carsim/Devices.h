#pragma once

#include <QString>

namespace zarn::carsim {

// Bus addresses of the units the simulator plays or talks to.
namespace device {
constexpr quint8 CdChanger = 0x18;      // CD changer (emulated by the program)
constexpr quint8 CheckControl = 0x30;   // check-control module, source of the program's warnings
constexpr quint8 ScreenUnit = 0x3B;     // on-board monitor's graphics stage
constexpr quint8 SteeringWheel = 0x50;  // multifunction steering wheel
constexpr quint8 Radio = 0x68;
constexpr quint8 Navigation = 0x7F;
constexpr quint8 Cluster = 0x80;        // instrument cluster (IKE)
constexpr quint8 TvModule = 0xBB;
constexpr quint8 ClusterGroup = 0xBF;   // broadcast of the cluster's vehicle data
constexpr quint8 Telephone = 0xC8;
constexpr quint8 DisplayGroup = 0xE7;   // cluster texts and telephone states for all displays
constexpr quint8 Monitor = 0xF0;        // on-board monitor's buttons and knob
constexpr quint8 Broadcast = 0xFF;
} // namespace device

// "18 (CD changer)" for notes about frames nobody here knows.
QString deviceName(quint8 address);

} // namespace zarn::carsim
