#include "ibus/PortChoice.h"

#include "ibus/SerialPortNG.h"

namespace zarn {

namespace {
constexpr int PortCount = 9;
constexpr int RejectedIndexListItem = 1;
} // namespace

PortChoice PortChoice::of(int itemIndex, const QString& devicePathSetting)
{
    PortChoice choice;
    if (itemIndex >= 0 && itemIndex < PortCount) {
        choice.commPort = QStringLiteral("COM%1").arg(itemIndex + 1);
        choice.listIndex = itemIndex;
    } else {
        // The list rejects the index (selection -1, so "COM" + 0); the name is not one
        // of its items, so it shows its second item. Opening "COM0" fails.
        choice.commPort = QStringLiteral("COM0");
        choice.listIndex = RejectedIndexListItem;
    }
    const QString setting = devicePathSetting.trimmed();
    choice.devicePath = setting.isEmpty() ? SerialPortNG::devicePathFor(choice.commPort) : setting;
    return choice;
}

QStringList PortChoice::portNames()
{
    QStringList names;
    for (int i = 1; i <= PortCount; ++i)
        names << QStringLiteral("COM%1").arg(i);
    return names;
}

} // namespace zarn
