#include "analysis/range_stats.h"

#include <cmath>

namespace somatrix {

CRangeStats ComputeRangeStats(const uint16_t* samples, size_t begin, size_t end, double sampleRate,
                              double scale, double offset) {
    CRangeStats stats;
    if (samples == nullptr || end <= begin) {
        return stats;
    }
    const size_t n = end - begin;
    stats.m_nSamples = n;
    stats.m_dDurationSec = sampleRate > 0.0 ? double(n) / sampleRate : 0.0;
    // Raw sums are exact in 64 bits (65535 * 2^47 samples); the spread is taken about the mean
    // in a second pass so that a large offset costs no precision.
    uint64_t sum = 0;
    uint16_t lo = samples[begin];
    uint16_t hi = samples[begin];
    for (size_t i = begin; i < end; ++i) {
        const uint16_t v = samples[i];
        sum += v;
        lo = v < lo ? v : lo;
        hi = v > hi ? v : hi;
    }
    const double rawMean = double(sum) / double(n);
    double squares = 0.0;
    for (size_t i = begin; i < end; ++i) {
        const double d = double(samples[i]) - rawMean;
        squares += d * d;
    }
    const double rawStdDev = n > 1 ? std::sqrt(squares / double(n - 1)) : 0.0;
    const double a = lo * scale + offset;
    const double b = hi * scale + offset;
    stats.m_dMin = a < b ? a : b;
    stats.m_dMax = a < b ? b : a;
    stats.m_dMean = rawMean * scale + offset;
    stats.m_dStdDev = rawStdDev * std::fabs(scale);
    return stats;
}

}  // namespace somatrix
