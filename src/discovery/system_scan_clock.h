#pragma once
// The real clock of a scan: a monotonic millisecond tick and a plain sleep of the calling
// thread (the scan's worker thread, or the command-line tool's only thread).
#include <chrono>
#include <thread>

#include "discovery/probe_port.h"

namespace somatrix {

class CSystemScanClock : public CScanClock {
public:
    uint32_t TickMs() override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    void SleepMs(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

}  // namespace somatrix
