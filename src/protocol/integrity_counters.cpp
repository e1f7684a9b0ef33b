#include "protocol/integrity_counters.h"

namespace somatrix {

namespace {
constexpr int64_t kNsPerSecond = 1000000000;
}  // namespace

void CIntegrityCounters::Begin(const CScanStats& scan, uint64_t ringDropped, int64_t nowNs) {
    *this = CIntegrityCounters{};
    m_bCounting = true;
    m_scanBase = scan;
    m_nRingBase = ringDropped;
    m_nBeginNs = nowNs;
}

void CIntegrityCounters::Update(const CScanStats& scan, uint64_t ringDropped) {
    if (!m_bCounting) {
        return;
    }
    m_stats.m_nChecksumErrors = scan.m_nBadChecksums - m_scanBase.m_nBadChecksums;
    m_stats.m_nSkippedBytes = scan.m_nSkippedBytes - m_scanBase.m_nSkippedBytes;
    m_stats.m_nDroppedBytes = ringDropped - m_nRingBase;
}

void CIntegrityCounters::OnDataFrame(int64_t nowNs) {
    if (!m_bCounting) {
        return;
    }
    ++m_stats.m_nFrames;
    const int64_t second = nowNs > m_nBeginNs ? (nowNs - m_nBeginNs) / kNsPerSecond : 0;
    if (second != m_nSecond) {
        m_nLastSecond = second == m_nSecond + 1 ? m_nThisSecond : 0;
        m_nThisSecond = 0;
        m_nSecond = second;
    }
    ++m_nThisSecond;

    if (m_bHaveLast) {
        const int64_t interval = nowNs > m_nLastNs ? nowNs - m_nLastNs : 0;
        // Compared without dividing: interval > 3 * (sum / count).
        const bool gap = m_nIntervals >= kLearnIntervals && interval >= kMinGapNs &&
                         static_cast<uint64_t>(interval) * m_nIntervals >
                             kGapPeriods * static_cast<uint64_t>(m_nIntervalSumNs);
        if (gap) {
            ++m_stats.m_nGaps;
        }
        // Gaps count into the period too: the frames held up by a stall arrive in a burst
        // behind it, and only the whole stretch gives the device's own rate.
        m_nIntervalSumNs += interval;
        ++m_nIntervals;
    }
    m_bHaveLast = true;
    m_nLastNs = nowNs;
}

CIntegrityStats CIntegrityCounters::Snapshot(int64_t nowNs) const {
    CIntegrityStats stats = m_stats;
    const int64_t second = nowNs > m_nBeginNs ? (nowNs - m_nBeginNs) / kNsPerSecond : 0;
    if (!m_bCounting) {
        stats.m_nFramesPerSecond = 0;
    } else if (second == m_nSecond) {
        stats.m_nFramesPerSecond = m_nLastSecond;
    } else if (second == m_nSecond + 1) {
        stats.m_nFramesPerSecond = m_nThisSecond;
    } else {
        stats.m_nFramesPerSecond = 0;
    }
    return stats;
}

}  // namespace somatrix
