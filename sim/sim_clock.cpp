#include "sim_clock.h"

#include <thread>

namespace somatrix {

uint64_t CRealClock::NowNs() {
    const auto elapsed = std::chrono::steady_clock::now() - m_start;
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count());
}

void CRealClock::SleepMs(int ms) {
    if (ms > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

}  // namespace somatrix
