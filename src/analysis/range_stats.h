#pragma once
// Statistics of one stretch of samples (the review selection or view, a compared recording):
// duration, extremes, mean and standard deviation, in physical units value = raw * scale + offset
// where the source gives a scale (raw counts otherwise). Framework-free; any thread.
#include <cstddef>
#include <cstdint>

namespace somatrix {

struct CRangeStats {
    double m_dDurationSec = 0.0;  // samples / sampleRate
    double m_dMin = 0.0;
    double m_dMax = 0.0;
    double m_dMean = 0.0;
    double m_dStdDev = 0.0;  // sample standard deviation (n - 1); 0 for fewer than two samples
    size_t m_nSamples = 0;
};

// Samples [begin, end) of `samples`; an empty or reversed range gives zero samples and zeros.
// The caller keeps end within the array. A negative scale turns the raw extremes round.
CRangeStats ComputeRangeStats(const uint16_t* samples, size_t begin, size_t end, double sampleRate,
                              double scale = 1.0, double offset = 0.0);

}  // namespace somatrix
