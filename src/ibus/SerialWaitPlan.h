#pragma once

namespace zarn {

// How long and for what the worker waits before its next pass.
struct SerialWaitPlan {
    int timeoutMs;
    bool readable;
    bool writable;
};

} // namespace zarn
