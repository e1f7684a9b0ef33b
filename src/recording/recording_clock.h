#pragma once
// The clocks a recording reads: a steady clock for elapsed time and the wall clock for the
// file's start date. A seam so that tests drive a recording with virtual time.
#include <chrono>
#include <cstdint>

namespace somatrix {

class CRecordingClock {
public:
    virtual ~CRecordingClock() = default;
    // Monotonic nanoseconds (any origin).
    virtual int64_t SteadyNs() const = 0;
    // Nanoseconds since 1970-01-01 00:00:00 UTC.
    virtual int64_t WallNs() const = 0;
};

class CSystemRecordingClock : public CRecordingClock {
public:
    int64_t SteadyNs() const override {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    int64_t WallNs() const override {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::system_clock::now().time_since_epoch())
            .count();
    }
};

}  // namespace somatrix
