#pragma once

#include <QString>

namespace zarn {

class FrameSink;
class StatusLog;
struct BusOptions;

// Turns send texts into frames and hands them to the serial link.
// Nothing at all is sent or written while NOSEND_CheckBox is checked.
class IbusSender {
public:
    IbusSender(FrameSink& sink, StatusLog& log, const BusOptions& options);

    void SendIbusText(const QString& sendText);
    // "68 XX 80 23 62 30" + the text: a text on the instrument cluster.
    void SendClusterText(const QString& text);
    // "30 XX 80 1A 37 10" + the text: a check-control text.
    void SendCheckControlText(const QString& text);

    bool SendInProgress() const;

private:
    FrameSink& sink_;
    StatusLog& log_;
    const BusOptions& options_;
};

} // namespace zarn
