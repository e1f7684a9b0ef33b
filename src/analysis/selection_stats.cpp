#include "analysis/selection_stats.h"

#include <algorithm>

#include "analysis/rhythm.h"

namespace somatrix {

std::vector<double> BeatsWithin(const std::vector<double>& beatTimes, double fromSec,
                                double toSec) {
    const auto first = std::lower_bound(beatTimes.begin(), beatTimes.end(), fromSec);
    const auto last = std::lower_bound(first, beatTimes.end(), toSec);
    return {first, last};
}

CSelectionStats ComputeSelectionStats(const CSelectionInput& input) {
    CSelectionStats stats;
    stats.m_range = ComputeRangeStats(input.m_pSamples, input.m_nBegin, input.m_nEnd,
                                      input.m_dSampleRate, input.m_dScale, input.m_dOffset);
    if (input.m_pBeatTimes == nullptr || input.m_dSampleRate <= 0.0) {
        return stats;
    }
    const std::vector<double> beats =
        BeatsWithin(*input.m_pBeatTimes, double(input.m_nBegin) / input.m_dSampleRate,
                    double(input.m_nEnd) / input.m_dSampleRate);
    const CRhythmStats rhythm = ComputeRhythm(beats);
    stats.m_nBeats = beats.size();
    stats.m_dHrMean = rhythm.m_dHrMean;
    stats.m_dHrMin = rhythm.m_dHrMin;
    stats.m_dHrMax = rhythm.m_dHrMax;
    stats.m_dSdnnMs = rhythm.m_dSdnnMs;
    stats.m_dRmssdMs = rhythm.m_dRmssdMs;
    return stats;
}

}  // namespace somatrix
