#pragma once
// The heart rate a live panel shows, from the beats as they are detected: the median of the
// last three RR intervals (so one premature beat or one missed beat does not move it), known
// once three beats have been seen, and unknown again after three seconds without a beat; the
// count of beats then starts afresh.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace somatrix {

class CLiveHeartRate {
public:
    static constexpr int kBeatsNeeded = 3;
    static constexpr double kTimeoutSec = 3.0;
    static constexpr size_t kMedianOf = 3;

    // A beat at `timeSec` (any clock that never goes backwards).
    void OnBeat(double timeSec);
    // Beats per minute at `nowSec`, or a negative value while unknown.
    double Bpm(double nowSec) const;
    void Reset();

private:
    bool m_bAny = false;
    double m_fLastBeat = 0;
    int m_nBeats = 0;
    std::vector<double> m_rr;  // the last intervals, oldest first
};

}  // namespace somatrix
