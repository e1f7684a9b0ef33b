#pragma once
// From beat times to RR intervals, heart rate and heart-rate variability.
//
// Ectopic and missed beats: an RR interval counts as normal-to-normal only when it lies within
// 20 % of the median of the nine intervals around it (itself, four before, four after) and
// within 200 .. 3000 ms. A premature beat's short interval and its compensatory pause, or the
// double interval around a missed beat, fall outside that band and are left out of the rate and
// the variability instead of reading as a rate of 30; a step change of rate is kept, because the
// median follows it as soon as most of the nine intervals are new.
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

namespace somatrix {

struct CRhythmStats {  // NaN (or 0 beats) where undefined
    size_t m_nBeats = 0;
    double m_dHrMean = NAN, m_dHrMin = NAN, m_dHrMax = NAN;  // beats per minute
    double m_dSdnnMs = NAN, m_dRmssdMs = NAN;
};

struct CRrInterval {
    double m_dEndSec = 0;  // time of the beat that ends the interval
    double m_dMs = 0;
    bool m_bNormal = false;  // counted in the rate and the variability
};

// Every interval between successive beats, each marked normal or not by the rule above.
std::vector<CRrInterval> ClassifyRr(const std::vector<double>& beatTimesSec);
// Beat times in seconds (ascending) -> the normal RR intervals in ms.
std::vector<double> RrIntervalsMs(const std::vector<double>& beatTimesSec);
// Mean rate from the mean normal interval; minimum and maximum from single normal intervals;
// SDNN the sample standard deviation of the normal intervals; RMSSD over pairs of adjacent
// normal intervals.
CRhythmStats ComputeRhythm(const std::vector<double>& beatTimesSec);
// Heart rate over time for a strip: one (time s, bpm) point per normal interval, at its end.
std::vector<std::pair<double, double>> HeartRateSeries(const std::vector<double>& beatTimesSec);

}  // namespace somatrix
