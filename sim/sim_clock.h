#pragma once
// Time for the simulated bus. Everything on the bus is stamped in nanoseconds since the clock's
// start; a virtual clock moves only when told to (tests, in-process scans), the real clock
// follows the machine's steady clock (the pseudo-terminal server). Both also serve as the scan's
// clock, so a scan sleeping 150 ms per exchange costs no real time on the virtual one.
#include <atomic>
#include <chrono>
#include <cstdint>

#include "discovery/probe_port.h"

namespace somatrix {

inline constexpr uint64_t kNsPerMs = 1000000;
inline constexpr uint64_t kNsPerSecond = 1000000000;

class CSimClock : public CScanClock {
public:
    virtual uint64_t NowNs() = 0;
    uint32_t TickMs() override { return static_cast<uint32_t>(NowNs() / kNsPerMs); }
};

class CVirtualClock : public CSimClock {
public:
    uint64_t NowNs() override { return m_nNowNs.load(); }
    void SleepMs(int ms) override { AdvanceNs(static_cast<uint64_t>(ms > 0 ? ms : 0) * kNsPerMs); }
    void AdvanceNs(uint64_t ns) { m_nNowNs += ns; }
    void AdvanceMs(uint64_t ms) { AdvanceNs(ms * kNsPerMs); }

private:
    std::atomic<uint64_t> m_nNowNs{0};
};

class CRealClock : public CSimClock {
public:
    uint64_t NowNs() override;
    void SleepMs(int ms) override;

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

}  // namespace somatrix
