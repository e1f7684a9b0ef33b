#include "beat_recording.h"

#include "protocol/frame.h"
#include "sensor_models.h"

namespace somatrix {

CSimBeatRecording SimulateBeatRecording(uint8_t sensorType, uint64_t seed,
                                        const CSimConditions& conditions, double seconds,
                                        double rate) {
    const bool bEcg = sensorType == type::kEcg;
    CSimBeatRecording rec;
    rec.m_fRate = rate > 0 ? rate : (bEcg ? 250.0 : 100.0);
    CPhysiology phys(seed);
    phys.SetConditions(conditions);
    const auto count = static_cast<size_t>(seconds * rec.m_fRate);
    rec.m_samples.reserve(count);
    const double perGain =
        sensorType == type::kInfraredPulse ? kInfraredCountsPerGain : kPulseCountsPerGain;
    for (size_t i = 0; i < count; ++i) {
        phys.SetTime(static_cast<double>(i) / rec.m_fRate);
        const int v = bEcg ? EcgCounts(phys.EcgMillivolts())
                           : PulseCounts(phys.PulseWave(), perGain, kInitialGain);
        rec.m_samples.push_back(static_cast<uint16_t>(v));
    }
    rec.m_beatsSec = phys.BeatTimes(seconds + 1.0);
    if (!bEcg) {
        for (double& t : rec.m_beatsSec) {
            t += CPhysiology::kPulseDelaySec;
        }
    }
    std::erase_if(rec.m_beatsSec, [&](double t) { return t >= seconds; });
    return rec;
}

}  // namespace somatrix
