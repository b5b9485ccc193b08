#pragma once

#include <QString>
#include <QStringList>

namespace zarn {

// What a CBPort item index from Zarn.ini and the [COM-Port] DevicePath setting open.
struct PortChoice {
    QString commPort;   // "COM1".."COM9"; "COM0" for an index the list rejects
    QString devicePath; // the device file; empty when there is none (opening fails)
    int listIndex = 0;  // the CBPort item shown selected

    // Index 0..8: "COM1".."COM9" on /dev/ttyS0../dev/ttyS8, or on devicePathSetting when
    // that is not empty. Any other index: "COM0", the list showing its second item.
    static PortChoice of(int itemIndex, const QString& devicePathSetting);
    // The CBPort items.
    static QStringList portNames();
};

} // namespace zarn
