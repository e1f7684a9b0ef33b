#pragma once
// Heart rate from the live samples of the selected sensor: the ECG (250 samples/s), pulse and
// infrared-pulse (100 samples/s) sensors feed a beat detector sample by sample, and the beats
// feed the live rate rule. RR intervals are measured on the sample clock; the rate lapses after
// three seconds without a beat on either the sample clock or the caller's clock (samples that
// stop arriving). A pause of a second in the samples starts detection afresh.
#include <cstdint>
#include <memory>

#include "analysis/beat_detector.h"
#include "analysis/live_heart_rate.h"

namespace somatrix {

class CLiveBeats {
public:
    // Whether the sensor type has a live heart rate, and its sample rate.
    static bool HasBeats(uint8_t type);
    static double SampleRate(uint8_t type);

    // The selected sensor; forgets everything of the previous one.
    void SetSensorType(uint8_t type);
    bool Active() const { return m_pDetector != nullptr; }
    // One sample, arriving at `nowSec` on the caller's clock. True when a beat was detected.
    bool AddSample(int value, double nowSec);
    // Rounded beats per minute at `nowSec`, or -1 while unknown.
    int Bpm(double nowSec) const;
    int64_t Beats() const { return m_nBeats; }

private:
    uint8_t m_nType = 0;
    std::unique_ptr<CBeatDetector> m_pDetector;
    CLiveHeartRate m_rate;
    int64_t m_nSamples = 0;
    int64_t m_nBeats = 0;
    double m_fLastSampleAt = -1;
    double m_fLastBeatAt = -1;
};

}  // namespace somatrix
