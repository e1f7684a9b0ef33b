#pragma once
// Everything the review shows for one stretch of a recording: the value statistics and, from the
// beats that fall inside it, the heart rate and its variability. Framework-free; any thread.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "analysis/range_stats.h"

namespace somatrix {

struct CSelectionStats {
    CRangeStats m_range;
    size_t m_nBeats = 0;
    double m_dHrMean = std::numeric_limits<double>::quiet_NaN();  // beats per minute
    double m_dHrMin = std::numeric_limits<double>::quiet_NaN();
    double m_dHrMax = std::numeric_limits<double>::quiet_NaN();
    double m_dSdnnMs = std::numeric_limits<double>::quiet_NaN();
    double m_dRmssdMs = std::numeric_limits<double>::quiet_NaN();
};

// A stretch [begin, end) of samples at `sampleRate`, value = raw * scale + offset, and the beat
// times of the whole recording in seconds from its first sample (ascending; empty when the
// recording has no beats).
struct CSelectionInput {
    const uint16_t* m_pSamples = nullptr;
    size_t m_nBegin = 0;
    size_t m_nEnd = 0;
    double m_dSampleRate = 0.0;
    double m_dScale = 1.0;
    double m_dOffset = 0.0;
    const std::vector<double>* m_pBeatTimes = nullptr;
};

CSelectionStats ComputeSelectionStats(const CSelectionInput& input);

// The beat times that fall inside [fromSec, toSec).
std::vector<double> BeatsWithin(const std::vector<double>& beatTimes, double fromSec, double toSec);

}  // namespace somatrix
