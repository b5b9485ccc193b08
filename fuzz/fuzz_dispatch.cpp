// Arbitrary bytes from the bus through the block text, the frame split and every
// dispatcher row, with every condition switched on so every row is reached.
#include "core/StatusLog.h"
#include "ibus/BusEvents.h"
#include "ibus/BusOptions.h"
#include "ibus/BusSideSink.h"
#include "ibus/CdChanger.h"
#include "ibus/CodeTable.h"
#include "ibus/Dispatcher.h"
#include "ibus/FrameText.h"
#include "ibus/IbusSender.h"
#include "ibus/ScreenRelay.h"
#include "ibus/VehicleMessages.h"
#include "ibus/VehicleState.h"

#include "RecordingSink.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static zarn::StatusLog log;
    static zarn::BusOptions options = [] {
        zarn::BusOptions o;
        o.cdEmulation = true;
        o.shutdownWithCheckControl = true;
        o.shutDownMessageActive = true;
        o.shutDownMessage = QStringLiteral("3F05");
        return o;
    }();
    static zarn::test::RecordingSink sink;
    static zarn::test::FakeRts rts;
    static zarn::CodeTable codes;
    static zarn::IbusSender sender(sink, log, options);
    static zarn::CdChanger cd(sender, log);
    static zarn::ScreenRelay screen(rts, log);
    static struct : zarn::BusEventSink {
        bool busEvent(const zarn::BusEvent&) override { return true; }
    } above;
    static zarn::VehicleState vehicle;
    static zarn::VehicleMessages messages(vehicle, log, options);
    static zarn::BusSideSink busSide(cd, screen, messages.decoders(), above);
    static zarn::Dispatcher dispatcher(codes, options, log, screen, busSide);
    log.setMessagesEnabled(true);
    log.setFrameTraceEnabled(true);
    log.setCapacity(1 << 20);

    const QByteArray block(reinterpret_cast<const char*>(data), qsizetype(size));
    const int lineLength = 64 + 16 * int(size % 29);
    const QString text = zarn::ClusterToHexText(block, lineLength);
    // Every byte is either in a frame whose checksum holds or reported as rejected.
    QList<zarn::RejectedBytes> rejected;
    const QStringList frames = zarn::SplitFrames(text, &rejected);
    qsizetype chars = 0;
    for (const QString& f : frames)
        if (f != QLatin1String("  "))
            chars += f.size();
    for (const zarn::RejectedBytes& r : rejected)
        chars += r.text.size();
    if (chars != 2 * qsizetype(size))
        __builtin_trap();
    screen.forceScreen();
    dispatcher.ProcessIbusText(text);
    // Also as raw text, which the replay list may hand over.
    dispatcher.ProcessIbusText(QString::fromLatin1(block));
    return 0;
}
