#pragma once
// Helpers of the simulator tests: one request and what came back on a virtual clock, and the
// frames of a clean byte stream.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "protocol/frame.h"
#include "sim_bus.h"
#include "sim_clock.h"

namespace somatrix::test {

using Bytes = std::vector<uint8_t>;

inline Bytes ToBytes(const CFrame& f) {
    return {f.data(), f.data() + f.size()};
}

// Everything that arrived within `waitMs` after the request, as a probe exchange would see it.
inline Bytes Exchange(CSimBus& bus, CVirtualClock& clock, const CFrame& request, int waitMs = 150) {
    bus.AdvanceTo(clock.NowNs());
    bus.Purge();
    bus.Write(request.data(), request.size());
    clock.AdvanceMs(static_cast<uint64_t>(waitMs));
    bus.AdvanceTo(clock.NowNs());
    Bytes out(bus.Available());
    out.resize(bus.Read(out.data(), out.size()));
    return out;
}

// Runs the bus for `ms` and returns what arrived, reading every 100 ms as a driver would (the
// far end's receive buffer is finite).
inline Bytes Collect(CSimBus& bus, CVirtualClock& clock, uint64_t ms) {
    Bytes out;
    for (uint64_t done = 0; done < ms;) {
        const uint64_t step = std::min<uint64_t>(100, ms - done);
        clock.AdvanceMs(step);
        done += step;
        bus.AdvanceTo(clock.NowNs());
        const size_t at = out.size();
        out.resize(at + bus.Available());
        out.resize(at + bus.Read(out.data() + at, out.size() - at));
    }
    return out;
}

// Cuts a clean stream (no faults) into frames by their length bytes.
inline std::vector<Bytes> SplitFrames(const Bytes& stream) {
    std::vector<Bytes> frames;
    size_t i = 0;
    while (i + 3 <= stream.size() && stream[i] == kFrameStart) {
        const size_t n = size_t{stream[i + kPosLength]} + 2;
        if (i + n > stream.size()) {
            break;
        }
        frames.emplace_back(stream.begin() + static_cast<std::ptrdiff_t>(i),
                            stream.begin() + static_cast<std::ptrdiff_t>(i + n));
        i += n;
    }
    return frames;
}

}  // namespace somatrix::test
