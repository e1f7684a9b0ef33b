#include "analysis/live_beats.h"

#include <cmath>

#include "protocol/frame.h"

namespace somatrix {

namespace {
constexpr double kRestartAfterSec = 1.0;
}  // namespace

bool CLiveBeats::HasBeats(uint8_t t) {
    return t == type::kEcg || t == type::kPulse || t == type::kInfraredPulse;
}

double CLiveBeats::SampleRate(uint8_t t) {
    return t == type::kEcg ? 250.0 : 100.0;
}

void CLiveBeats::SetSensorType(uint8_t t) {
    m_nType = t;
    m_pDetector.reset();
    if (HasBeats(t)) {
        m_pDetector = std::make_unique<CBeatDetector>(
            t == type::kEcg ? EBeatSource::Ecg : EBeatSource::Pulse, SampleRate(t));
    }
    m_rate.Reset();
    m_nSamples = 0;
    m_nBeats = 0;
    m_fLastSampleAt = -1;
    m_fLastBeatAt = -1;
}

bool CLiveBeats::AddSample(int value, double nowSec) {
    if (!m_pDetector) {
        return false;
    }
    if (m_fLastSampleAt >= 0 && nowSec - m_fLastSampleAt > kRestartAfterSec) {
        SetSensorType(m_nType);  // the recording was stopped or the sensor went away
    }
    m_fLastSampleAt = nowSec;
    ++m_nSamples;
    int64_t beat = 0;
    if (!m_pDetector->AddSample(value, &beat)) {
        return false;
    }
    m_rate.OnBeat(static_cast<double>(beat) / m_pDetector->SampleRate());
    m_fLastBeatAt = nowSec;
    ++m_nBeats;
    return true;
}

int CLiveBeats::Bpm(double nowSec) const {
    if (!m_pDetector || m_fLastBeatAt < 0 || nowSec - m_fLastBeatAt > CLiveHeartRate::kTimeoutSec) {
        return -1;
    }
    const double sampleNow = static_cast<double>(m_nSamples) / m_pDetector->SampleRate();
    const double bpm = m_rate.Bpm(sampleNow);
    return bpm < 0 ? -1 : static_cast<int>(std::lround(bpm));
}

}  // namespace somatrix
