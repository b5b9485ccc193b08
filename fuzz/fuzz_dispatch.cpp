// Arbitrary bytes from the bus through the block text, the frame split and every
// dispatcher row, with every condition switched on so every row is reached.
#include "core/StatusLog.h"
#include "ibus/BusOptions.h"
#include "ibus/CdChanger.h"
#include "ibus/CodeTable.h"
#include "ibus/Dispatcher.h"
#include "ibus/DispatcherActions.h"
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
    static zarn::DispatcherActions actions;
    static zarn::VehicleState vehicle;
    static zarn::VehicleMessages messages(vehicle, log, options);
    static zarn::Dispatcher dispatcher(codes, options, log, actions, cd, screen, messages.decoders());
    log.setMessagesEnabled(true);
    log.setFrameTraceEnabled(true);
    log.setCapacity(1 << 20);

    const QByteArray block(reinterpret_cast<const char*>(data), qsizetype(size));
    const int lineLength = 64 + 16 * int(size % 29);
    const QString text = zarn::ClusterToHexText(block, lineLength);
    (void)zarn::SplitFrames(text);
    screen.forceScreen();
    dispatcher.ProcessIbusText(text);
    // Also as raw text, which the replay list may hand over.
    dispatcher.ProcessIbusText(QString::fromLatin1(block));
    return 0;
}
