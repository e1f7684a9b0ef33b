#pragma once
// A stretch of simulated ECG or pulse wave together with the beats the subject really had: the
// ground truth against which beat detection is scored.
#include <cstdint>
#include <vector>

#include "physiology.h"

namespace somatrix {

struct CSimBeatRecording {
    double m_fRate = 0;               // samples per second
    std::vector<uint16_t> m_samples;  // the sensor's own counts
    std::vector<double> m_beatsSec;   // R peaks (ECG) or pulse feet, seconds from the start
};

// `type`: the ECG, pulse or infrared-pulse type code. `rate` 0 takes the sensor's own rate
// (250 or 100 samples per second); any other rate samples the same subject that often.
CSimBeatRecording SimulateBeatRecording(uint8_t type, uint64_t seed,
                                        const CSimConditions& conditions, double seconds,
                                        double rate = 0);

}  // namespace somatrix
