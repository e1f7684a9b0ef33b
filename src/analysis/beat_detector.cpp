#include "analysis/beat_detector.h"

#include <algorithm>
#include <cmath>

namespace somatrix {

namespace {

int64_t Samples(double seconds, double rate) {
    return std::max<int64_t>(1, std::llround(seconds * rate));
}

size_t PowerOfTwoAtLeast(int64_t n) {
    size_t size = 16;
    while (static_cast<int64_t>(size) < n) {
        size *= 2;
    }
    return size;
}

constexpr size_t kMaxNoisePeaks = 256;
constexpr size_t kRrAverage = 8;

}  // namespace

CBeatDetector::CBeatDetector(EBeatSource source, double sampleRate)
    : m_eSource(source), m_fRate(sampleRate > 0 && std::isfinite(sampleRate) ? sampleRate : 250.0) {
    Reset();
}

void CBeatDetector::Reset() {
    const bool bEcg = m_eSource == EBeatSource::Ecg;
    m_nLearn = Samples(2.0, m_fRate);
    m_nRefractory = Samples(bEcg ? 0.20 : 0.25, m_fRate);
    m_nTWave = bEcg ? Samples(0.36, m_fRate) : 0;
    m_nWindow = Samples(bEcg ? 0.150 : 0.128, m_fRate);
    m_nFiducialBack = bEcg ? m_nWindow + Samples(0.10, m_fRate) : Samples(0.30, m_fRate);
    m_nSlopeSpan = Samples(bEcg ? 0.04 : 0.02, m_fRate);
    m_nLost = Samples(3.0, m_fRate);
    m_nMaxPeakLag = Samples(0.4, m_fRate);
    m_highPass = CBiquad();
    m_lowPass = CBiquad();
    if (bEcg) {
        m_highPass = CBiquad::HighPass(5.0, m_fRate);
        m_lowPass = CBiquad::LowPass(15.0, m_fRate);
    } else {
        m_lowPass = CBiquad::LowPass(8.0, m_fRate);
    }
    // ECG: the five-point derivative's taps 5 ms apart, as at the method's 200 samples/s.
    m_nDerivativeStep = bEcg ? std::max<int64_t>(1, std::llround(m_fRate / 200.0)) : 1;
    m_history.assign(PowerOfTwoAtLeast(4 * m_nDerivativeStep + 1), 0.0);
    m_nHistoryMask = m_history.size() - 1;
    m_window.assign(static_cast<size_t>(m_nWindow), 0.0);
    m_fWindowScale = 1.0 / static_cast<double>(m_nWindow);
    m_nWindowAt = 0;
    m_fWindowSum = 0;
    m_raw.assign(PowerOfTwoAtLeast(m_nLearn + 2 * m_nLost + m_nFiducialBack + m_nMaxPeakLag +
                                   2 * m_nSlopeSpan + 8),
                 0.0);
    m_nRawMask = m_raw.size() - 1;
    m_nIndex = 0;

    m_bInPeak = false;
    m_candidate = {};
    m_fPrevFeature = 0;
    m_bLearned = false;
    m_fLearnMax = 0;
    m_fLearnSum = 0;
    m_learnPeaks.clear();
    m_fSignalLevel = m_fNoiseLevel = 0;
    m_bHaveBeat = false;
    m_nLastBeatPeak = 0;
    m_fLastBeatSlope = 0;
    m_recentRr.clear();
    m_nRrAt = 0;
    m_nSearchLimit = m_nLost;
    m_nAverageRr = 0;
    m_noisePeaks.clear();
    m_bSearched = false;
    m_nLostSince = 0;
    m_nLastFiducial = -1;
    m_pending.clear();
    m_nPendingAt = 0;
}

// The first sample sets the filters' and buffers' resting state, so that a recording that sits
// at a large offset does not start with a step.
void CBeatDetector::Start(double value) {
    // The high-pass passes nothing of a constant; the pulse's low-pass all of it.
    const double settled = m_eSource == EBeatSource::Ecg ? 0.0 : value;
    m_highPass.Prime(value);
    m_lowPass.Prime(settled);
    std::fill(m_history.begin(), m_history.end(), settled);
    std::fill(m_raw.begin(), m_raw.end(), value);
}

double CBeatDetector::Feature(double value, double* slope) {
    const double y = m_lowPass.Process(m_highPass.Process(value));
    const auto at = static_cast<size_t>(m_nIndex);
    m_history[at & m_nHistoryMask] = y;
    auto back = [&](int64_t k) {
        return m_history[(at - static_cast<size_t>(k * m_nDerivativeStep)) & m_nHistoryMask];
    };
    double term;
    if (m_eSource == EBeatSource::Ecg) {
        const double d = (2.0 * y + back(1) - back(3) - 2.0 * back(4)) / 8.0;
        term = d * d;
    } else {
        term = std::max(0.0, y - back(1));  // the slope-sum function adds rising slopes only
    }
    *slope = term;
    m_fWindowSum += term - m_window[m_nWindowAt];
    m_window[m_nWindowAt] = term;
    if (++m_nWindowAt == m_window.size()) {
        m_nWindowAt = 0;
        // Recomputed once a window so that rounding cannot build up over a day of samples.
        m_fWindowSum = 0;
        for (double v : m_window) {
            m_fWindowSum += v;
        }
    }
    return m_fWindowSum * m_fWindowScale;
}

// A peak begins where the feature starts rising and ends once it has fallen to half its top
// (or has lasted too long to be a beat's).
void CBeatDetector::TrackPeak(double feature, double slope) {
    if (!m_bInPeak) {
        if (feature > m_fPrevFeature) {
            m_bInPeak = true;
            m_candidate = {m_nIndex, feature, slope};
        }
    } else {
        m_candidate.m_fSlope = std::max(m_candidate.m_fSlope, slope);
        if (feature > m_candidate.m_fHeight) {
            m_candidate.m_nIndex = m_nIndex;
            m_candidate.m_fHeight = feature;
        } else if (feature < 0.5 * m_candidate.m_fHeight ||
                   m_nIndex - m_candidate.m_nIndex > m_nMaxPeakLag) {
            m_bInPeak = false;
            OnPeak(m_candidate);
        }
    }
    m_fPrevFeature = feature;
}

int64_t CBeatDetector::FindFiducial(int64_t peakIndex) const {
    const int64_t oldest =
        std::max<int64_t>(0, m_nIndex - static_cast<int64_t>(m_raw.size()) + m_nSlopeSpan + 1);
    const int64_t first = std::max(oldest, peakIndex - m_nFiducialBack);
    const int64_t d = m_nSlopeSpan;
    auto raw = [&](int64_t i) { return Raw(std::clamp(i, oldest - d, m_nIndex)); };
    int64_t best = peakIndex;
    double bestScore = -1;
    for (int64_t i = first; i <= peakIndex; ++i) {
        double score;
        if (m_eSource == EBeatSource::Ecg) {
            // How far the sample stands out from its neighbours 40 ms either side: the R peak,
            // whatever its sign, and untouched by baseline wander.
            score = std::abs(raw(i) - 0.5 * (raw(i - d) + raw(i + d)));
        } else {
            score = raw(i + d) - raw(i - d);  // the steepest upstroke
        }
        if (score > bestScore) {
            bestScore = score;
            best = i;
        }
    }
    return best;
}

void CBeatDetector::OnPeak(const CPeak& peak) {
    if (m_bLearned) {
        Classify(peak);
    } else {
        m_learnPeaks.push_back(peak);
    }
}

// The thresholds start from the learning period: the signal level at half the largest value
// of the feature, the noise level at half its mean.
void CBeatDetector::Learn(int64_t samplesSeen) {
    m_bLearned = true;
    const double count = static_cast<double>(std::max<int64_t>(1, samplesSeen));
    m_fSignalLevel = 0.5 * m_fLearnMax;
    m_fNoiseLevel = 0.5 * m_fLearnSum / count;
    m_nLostSince = m_nIndex;
    std::vector<CPeak> peaks;
    peaks.swap(m_learnPeaks);
    for (const CPeak& peak : peaks) {
        Classify(peak);
    }
}

void CBeatDetector::AddNoisePeak(const CPeak& peak) {
    m_fNoiseLevel = 0.125 * peak.m_fHeight + 0.875 * m_fNoiseLevel;
    if (m_noisePeaks.size() >= kMaxNoisePeaks) {
        m_noisePeaks.erase(m_noisePeaks.begin(), m_noisePeaks.begin() + kMaxNoisePeaks / 2);
    }
    m_noisePeaks.push_back(peak);
    m_bSearched = false;
}

void CBeatDetector::Classify(const CPeak& peak) {
    const int64_t since = peak.m_nIndex - m_nLastBeatPeak;
    if (m_bHaveBeat && since < m_nRefractory) {
        return;  // part of the last beat
    }
    if (peak.m_fHeight > Threshold()) {
        // Soon after a QRS, a peak with less than half its slope is that beat's T wave.
        const bool bTWave =
            m_bHaveBeat && since < m_nTWave && peak.m_fSlope < 0.5 * m_fLastBeatSlope;
        if (!bTWave && !TooEarly(since)) {
            AcceptBeat(peak, false);
            return;
        }
    }
    AddNoisePeak(peak);
}

// Pulse waves: a wave less than 45 % of the average interval after a beat is a jolt of the
// finger, not a heart beat (a premature beat comes at 60 % or later).
bool CBeatDetector::TooEarly(int64_t since) const {
    return m_eSource == EBeatSource::Pulse && m_bHaveBeat && m_nAverageRr > 0 &&
           100 * since < 45 * m_nAverageRr;
}

void CBeatDetector::AcceptBeat(const CPeak& peak, bool bSearchBack) {
    const double weight = bSearchBack ? 0.25 : 0.125;
    m_fSignalLevel = weight * peak.m_fHeight + (1.0 - weight) * m_fSignalLevel;
    if (m_bHaveBeat) {
        const int64_t rr = peak.m_nIndex - m_nLastBeatPeak;
        if (m_recentRr.size() < kRrAverage) {
            m_recentRr.push_back(rr);
        } else {
            m_recentRr[m_nRrAt] = rr;
            m_nRrAt = (m_nRrAt + 1) % kRrAverage;
        }
        UpdateSearchLimit();
    }
    m_bHaveBeat = true;
    m_nLastBeatPeak = peak.m_nIndex;
    m_fLastBeatSlope = peak.m_fSlope;
    m_nLostSince = peak.m_nIndex;
    std::erase_if(m_noisePeaks, [&](const CPeak& p) { return p.m_nIndex <= peak.m_nIndex; });
    m_bSearched = false;
    // Only beats need their fiducial point; the input is kept long enough for a search back.
    const int64_t fiducial = FindFiducial(peak.m_nIndex);
    if (fiducial > m_nLastFiducial) {
        m_nLastFiducial = fiducial;
        m_pending.push_back(fiducial);
    }
}

// No QRS for 166 % of the average RR interval: the largest peak since the last one above half
// the threshold was a beat. Three seconds without any: the levels start again from the peaks
// seen meanwhile.
void CBeatDetector::UpdateSearchLimit() {
    m_nSearchLimit = m_nLost;
    m_nAverageRr = 0;
    if (!m_recentRr.empty()) {
        int64_t sum = 0;
        for (int64_t rr : m_recentRr) {
            sum += rr;
        }
        m_nAverageRr = sum / static_cast<int64_t>(m_recentRr.size());
        m_nSearchLimit =
            std::min(m_nLost, (166 * sum) / (100 * static_cast<int64_t>(m_recentRr.size())));
    }
}

void CBeatDetector::SearchBack() {
    const int64_t reference = m_bHaveBeat ? m_nLastBeatPeak : m_nLostSince;
    if (m_bSearched || m_nIndex - reference <= m_nSearchLimit) {
        return;
    }
    m_bSearched = true;
    const double threshold = 0.5 * Threshold();
    const CPeak* best = nullptr;
    for (const CPeak& peak : m_noisePeaks) {
        const int64_t since = peak.m_nIndex - m_nLastBeatPeak;
        if (m_bHaveBeat && since < m_nRefractory) {
            continue;
        }
        if (m_bHaveBeat && since < m_nTWave && peak.m_fSlope < 0.5 * m_fLastBeatSlope) {
            continue;
        }
        if (TooEarly(since)) {
            continue;
        }
        if (peak.m_fHeight > threshold && (!best || peak.m_fHeight > best->m_fHeight)) {
            best = &peak;
        }
    }
    if (best) {
        const CPeak found = *best;
        AcceptBeat(found, true);
    } else if (m_nIndex - m_nLostSince > m_nLost) {
        Relearn();
    }
}

void CBeatDetector::Relearn() {
    m_nLostSince = m_nIndex;
    double top = 0;
    for (const CPeak& peak : m_noisePeaks) {
        top = std::max(top, peak.m_fHeight);
    }
    if (top <= 0) {
        return;
    }
    m_fSignalLevel = top;
    m_fNoiseLevel = 0.25 * top;
    m_recentRr.clear();
    m_nRrAt = 0;
    UpdateSearchLimit();
    m_bSearched = false;
}

bool CBeatDetector::AddSample(double value, int64_t* beatSample) {
    if (!std::isfinite(value)) {
        value = m_nIndex > 0 ? Raw(m_nIndex - 1) : 0.0;
    }
    if (m_nIndex == 0) {
        Start(value);
    }
    m_raw[static_cast<size_t>(m_nIndex) & m_nRawMask] = value;
    double slope = 0;
    const double feature = Feature(value, &slope);
    TrackPeak(feature, slope);
    if (!m_bLearned) {
        m_fLearnMax = std::max(m_fLearnMax, feature);
        m_fLearnSum += feature;
        if (m_nIndex + 1 >= m_nLearn) {
            Learn(m_nIndex + 1);
        }
    } else {
        SearchBack();
    }
    ++m_nIndex;
    if (m_nPendingAt < m_pending.size()) {
        if (beatSample) {
            *beatSample = m_pending[m_nPendingAt];
        }
        if (++m_nPendingAt == m_pending.size()) {
            m_pending.clear();
            m_nPendingAt = 0;
        }
        return true;
    }
    return false;
}

void CBeatDetector::Finish(std::vector<int64_t>& beats) {
    if (m_nIndex > 0) {
        if (m_bInPeak) {
            m_bInPeak = false;
            OnPeak(m_candidate);
        }
        if (!m_bLearned) {
            Learn(m_nIndex);
        }
    }
    beats.insert(beats.end(), m_pending.begin() + static_cast<std::ptrdiff_t>(m_nPendingAt),
                 m_pending.end());
    m_pending.clear();
    m_nPendingAt = 0;
}

}  // namespace somatrix
