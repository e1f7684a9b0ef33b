#pragma once
// How whole the stream of one measurement is, from the Start request to its end: data frames
// received and per second, frames dropped for a wrong checksum, bytes given up to resynchronise,
// bytes the receive ring had to drop, and gaps in the arrival of data frames longer than three
// frame periods. The frame period is learnt from the stream itself (the mean time between data
// frames since the start), so bursts of frames in one receive event do not count as gaps. A gap
// is also at least 100 ms long: receive events themselves reach the hub in batches whose spacing
// is the system's (a busy window takes them every few tens of milliseconds), and a counter of
// that would hide the device's own stalls.
// Owned by the hub and fed from its receive path; one thread.
#include <cstdint>

#include "protocol/frame_scanner.h"

namespace somatrix {

struct CIntegrityStats {
    uint64_t m_nFrames = 0;           // data frames received
    uint64_t m_nFramesPerSecond = 0;  // data frames in the last whole second
    uint64_t m_nChecksumErrors = 0;
    uint64_t m_nSkippedBytes = 0;
    uint64_t m_nDroppedBytes = 0;
    uint64_t m_nGaps = 0;
    bool operator==(const CIntegrityStats&) const = default;
};

class CIntegrityCounters {
public:
    // Frames needed before the period is trusted enough to call an interval a gap.
    static constexpr uint64_t kLearnIntervals = 8;
    static constexpr uint64_t kGapPeriods = 3;
    static constexpr int64_t kMinGapNs = 100000000;

    // The Start request: counting begins from the scanner's and the ring's totals at `nowNs`.
    void Begin(const CScanStats& scan, uint64_t ringDropped, int64_t nowNs);
    // After each receive event: the scanner's and the ring's totals.
    void Update(const CScanStats& scan, uint64_t ringDropped);
    // One data frame arrived at `nowNs` (the time of its receive event).
    void OnDataFrame(int64_t nowNs);
    // A break the hub knows of (the link was lost and is back): the next frame begins a new run
    // of arrivals, so the break itself is not counted as a gap.
    void RestartArrivals() { m_bHaveLast = false; }
    // The end of the measurement: the figures stay as they are until the next Begin.
    void End() { m_bCounting = false; }

    bool IsCounting() const { return m_bCounting; }
    // The figures, with the rate of the last whole second before `nowNs`.
    CIntegrityStats Snapshot(int64_t nowNs) const;

private:
    bool m_bCounting = false;
    CScanStats m_scanBase;
    uint64_t m_nRingBase = 0;
    CIntegrityStats m_stats;
    int64_t m_nBeginNs = 0;
    // Arrivals per whole second since Begin: the current second and the one before.
    int64_t m_nSecond = 0;
    uint64_t m_nThisSecond = 0;
    uint64_t m_nLastSecond = 0;
    // Arrival times for the gaps.
    bool m_bHaveLast = false;
    int64_t m_nLastNs = 0;
    int64_t m_nIntervalSumNs = 0;
    uint64_t m_nIntervals = 0;
};

}  // namespace somatrix
