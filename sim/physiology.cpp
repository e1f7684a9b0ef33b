#include "physiology.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sim_random.h"

namespace somatrix {

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;

double Gauss(double x, double centre, double width) {
    const double d = (x - centre) / width;
    return std::exp(-0.5 * d * d);
}

// Noise keys are offset per signal so that the signals do not share their noise.
constexpr uint64_t kKeyRr = 1ull << 60;
constexpr uint64_t kKeyScr = 2ull << 60;
constexpr uint64_t kKeyEmg = 3ull << 60;
constexpr uint64_t kKeyBurst = 4ull << 60;
constexpr uint64_t kKeyGastro = 5ull << 60;
constexpr uint64_t kKeyEcg = 6ull << 60;
constexpr uint64_t kKeyEctopic = 7ull << 60;
constexpr uint64_t kKeyMotion = 8ull << 60;
constexpr uint64_t kKeyExtraNoise = 9ull << 60;
}  // namespace

CPhysiology::CPhysiology(uint64_t seed) : m_nSeed(seed) {
    CSimRandom rnd(seed);
    m_traits.m_fHeartRate = 60 + 24 * rnd.Unit();
    m_traits.m_fBreathRate = 12 + 6 * rnd.Unit();
    m_traits.m_fSpo2 = 96 + 2.5 * rnd.Unit();
    m_traits.m_fBodyTemp = 36.4 + 0.7 * rnd.Unit();
    m_traits.m_fSkinTemp = 31.5 + 2.0 * rnd.Unit();
    m_traits.m_fSkinResistance = 150 + 450 * rnd.Unit();
    m_traits.m_nSystolic = rnd.Range(105, 138);
    m_traits.m_nDiastolic = rnd.Range(65, 88);
    m_fRr = RrOfBeat(0, 0);
    m_fPrevRr = m_fRr;
}

void CPhysiology::SetConditions(const CSimConditions& conditions) {
    m_conditions = conditions;
    m_fTime = 0;
    m_fBeatStart = 0;
    m_nBeat = 0;
    m_fRr = RrOfBeat(0, 0);
    m_fPrevRr = m_fRr;
}

double CPhysiology::RateAt(double t) const {
    const bool bExercise = m_conditions.m_fStepAtSec >= 0 && t >= m_conditions.m_fStepAtSec &&
                           m_conditions.m_fStepBpm > 0;
    return bExercise ? m_conditions.m_fStepBpm : m_traits.m_fHeartRate;
}

bool CPhysiology::IsEctopic(uint64_t beat) const {
    auto drawn = [&](uint64_t k) {
        return 0.5 + 0.5 * Noise(kKeyEctopic + k) < m_conditions.m_fEctopicChance;
    };
    return m_conditions.m_fEctopicChance > 0 && beat >= 2 && drawn(beat) && !drawn(beat - 1);
}

std::vector<double> CPhysiology::BeatTimes(double end) const {
    CPhysiology walk(m_nSeed);
    walk.SetConditions(m_conditions);
    std::vector<double> beats;
    while (walk.BeatStart() < end) {
        beats.push_back(walk.BeatStart());
        walk.SetTime(walk.BeatStart() + walk.RrInterval());
    }
    return beats;
}

double CPhysiology::Noise(uint64_t key) const {
    return SimHashNoise(m_nSeed, key);
}

double CPhysiology::BreathPhase() const {
    const double f = m_traits.m_fBreathRate / 60.0;
    return f * m_fTime + 0.05 * std::sin(kTwoPi * m_fTime / 47.0);
}

// Respiratory sinus arrhythmia (the heart speeds up on inhaling) plus a little beat-to-beat
// scatter, around the subject's resting rate.
double CPhysiology::RrOfBeat(uint64_t beat, double start) const {
    const double rate = RateAt(start);
    const double base = 60.0 / rate;
    const double breath = std::sin(kTwoPi * start * m_traits.m_fBreathRate / 60.0);
    // Exercise withdraws the vagal tone that makes the rate vary with breathing.
    const double calm = std::min(1.0, std::pow(m_traits.m_fHeartRate / rate, 2.0));
    const double rr = base * (1.0 - calm * (0.04 * breath - 0.02 * Noise(kKeyRr + beat)));
    // A premature beat comes early and is followed by a compensatory pause.
    if (IsEctopic(beat + 1)) {
        return 0.62 * rr;
    }
    return IsEctopic(beat) ? 1.38 * rr : rr;
}

void CPhysiology::SetTime(double t) {
    m_fTime = std::max(t, m_fTime);
    while (m_fTime >= m_fBeatStart + m_fRr) {
        m_fBeatStart += m_fRr;
        ++m_nBeat;
        m_fPrevRr = m_fRr;
        m_fRr = RrOfBeat(m_nBeat, m_fBeatStart);
    }
}

// The disturbances chosen in the conditions, in mV (ECG) or pulse units times `scale`.
double CPhysiology::Artefacts(double scale) const {
    const CSimConditions& c = m_conditions;
    double v = 0;
    if (c.m_fNoiseMv > 0) {
        v += c.m_fNoiseMv * Noise(kKeyExtraNoise + static_cast<uint64_t>(m_fTime * 4000.0));
    }
    if (c.m_fWanderMv > 0) {
        v += c.m_fWanderMv * (0.6 * std::sin(kTwoPi * 0.13 * m_fTime + 0.5) +
                              0.4 * std::sin(kTwoPi * 0.31 * m_fTime + 1.9));
    }
    if (c.m_fMotionMv > 0) {
        v += c.m_fMotionMv * Motion();
    }
    return scale * v;
}

// Electrode motion: in each eight-second slot a jolt at a random moment, a slow swing of the
// baseline with a ringing 4 Hz part that reaches into the QRS band.
double CPhysiology::Motion() const {
    constexpr double kSlot = 8.0;
    const auto k0 = static_cast<int64_t>(m_fTime / kSlot);
    double v = 0;
    for (int64_t k = std::max<int64_t>(0, k0 - 1); k <= k0; ++k) {
        const auto key = kKeyMotion + 4 * static_cast<uint64_t>(k);
        const double at = kSlot * (static_cast<double>(k) + 0.5 + 0.45 * Noise(key));
        const double sign = Noise(key + 1) < 0 ? -1.0 : 1.0;
        const double tau = m_fTime - at;
        v += sign * (Gauss(tau, 0.0, 0.15) - 0.5 * Gauss(tau, 0.35, 0.2));
        if (tau > 0) {
            v += 0.4 * sign * std::exp(-tau / 0.25) * std::sin(kTwoPi * 4.0 * tau);
        }
    }
    return v;
}

double CPhysiology::EcgMillivolts() const {
    // The waves of one beat around its R peak at tau = 0; the P wave of the next beat starts
    // before that beat's R peak, so both neighbours contribute.
    auto beat = [](double tau, double rr) {
        const double tPeak = 0.28 * std::sqrt(rr);
        return 0.15 * Gauss(tau, -0.17, 0.022) - 0.12 * Gauss(tau, -0.028, 0.008) +
               1.20 * Gauss(tau, 0.0, 0.010) - 0.28 * Gauss(tau, 0.030, 0.010) +
               0.32 * Gauss(tau, tPeak, 0.055);
    };
    // A premature ventricular beat: no P wave, a wide tall QRS and an inverted T wave.
    auto ectopic = [](double tau) {
        return -0.25 * Gauss(tau, -0.035, 0.02) + 1.5 * Gauss(tau, 0.0, 0.028) -
               0.5 * Gauss(tau, 0.065, 0.035) - 0.35 * Gauss(tau, 0.30, 0.07);
    };
    auto wave = [&](uint64_t index, double tau, double rr) {
        return IsEctopic(index) ? ectopic(tau) : beat(tau, rr);
    };
    const double since = SinceBeat();
    const double wander = 0.06 * std::sin(kTwoPi * BreathPhase());
    const double noise = 0.01 * Noise(kKeyEcg + static_cast<uint64_t>(m_fTime * 1000.0));
    double v = wave(m_nBeat, since, m_fRr) + wave(m_nBeat + 1, since - m_fRr, m_fRr) +
               (m_nBeat > 0 ? wave(m_nBeat - 1, since + m_fPrevRr, m_fPrevRr)
                            : beat(since + m_fPrevRr, m_fPrevRr)) +
               wander + noise;
    if (m_conditions.Any()) {
        v += Artefacts(1.0);
        if (m_conditions.m_fHumMv > 0) {
            v += m_conditions.m_fHumMv * std::sin(kTwoPi * 50.0 * m_fTime + 0.3);
        }
    }
    return v;
}

double CPhysiology::PulseWave() const {
    // The pulse reaches the fingertip about 180 ms after the R peak: a steep systolic upstroke,
    // a slow run-off and the dicrotic notch with its small second hump.
    auto shape = [](double tau) {
        if (tau <= 0) {
            return 0.0;
        }
        return 1.6 * (1.0 - std::exp(-tau / 0.05)) * std::exp(-tau / 0.30) +
               0.12 * Gauss(tau, 0.36, 0.04);
    };
    // After a premature beat the heart has had little time to fill: a weaker pulse.
    auto height = [&](uint64_t index) { return IsEctopic(index) ? 0.55 : 1.0; };
    const double tau = SinceBeat() - kPulseDelaySec;
    double v = height(m_nBeat) * shape(tau) +
               (m_nBeat > 0 ? height(m_nBeat - 1) : 1.0) * shape(tau + m_fPrevRr) +
               (m_nBeat > 1 ? height(m_nBeat - 2) : 1.0) * shape(tau + m_fPrevRr + m_fRr);
    v *= 1.0 + 0.05 * Respiration();
    if (m_conditions.Any()) {
        v += Artefacts(0.8);
        return std::clamp(v, -1.0, 2.0);
    }
    return std::clamp(v, 0.0, 1.2);
}

double CPhysiology::Respiration() const {
    // Inhaling takes 40 % of a breath, exhaling 60 %; the depth drifts slowly.
    const double phase = BreathPhase();
    const double x = phase - std::floor(phase);
    const double y = x < 0.4 ? -std::cos(std::numbers::pi * x / 0.4)
                             : std::cos(std::numbers::pi * (x - 0.4) / 0.6);
    return y * (0.9 + 0.1 * std::sin(kTwoPi * m_fTime / 73.0));
}

double CPhysiology::HeartSound() const {
    const double tau = SinceBeat();
    const double s2 = 0.28 * std::sqrt(m_fRr) + 0.10;
    const double first =
        Gauss(tau, 0.05, 0.022) * (std::sin(kTwoPi * 45 * tau) + 0.5 * std::sin(kTwoPi * 90 * tau));
    const double second = 0.7 * Gauss(tau, s2, 0.016) *
                          (std::sin(kTwoPi * 70 * tau) + 0.4 * std::sin(kTwoPi * 140 * tau));
    return (first + second) / 1.5;
}

double CPhysiology::Spo2() const {
    return std::min(100.0, m_traits.m_fSpo2 + 0.6 * std::sin(kTwoPi * m_fTime / 41.0));
}

double CPhysiology::BodyTemperature() const {
    return m_traits.m_fBodyTemp + 0.1 * std::sin(kTwoPi * m_fTime / 600.0);
}

double CPhysiology::SkinTemperature() const {
    return m_traits.m_fSkinTemp + 0.3 * std::sin(kTwoPi * m_fTime / 420.0) + 0.05 * Respiration();
}

double CPhysiology::SkinResistance() const {
    // Skin conductance responses: about every 25 s the resistance drops 8 to 15 % within two
    // seconds and recovers over about eight.
    constexpr double kEvery = 25.0;
    double drop = 0;
    const auto k0 = static_cast<int64_t>(m_fTime / kEvery);
    for (int64_t k = std::max<int64_t>(0, k0 - 2); k <= k0 + 1; ++k) {
        const double onset =
            kEvery * static_cast<double>(k) + 10.0 * Noise(kKeyScr + static_cast<uint64_t>(k));
        const double tau = m_fTime - onset;
        if (tau > 0) {
            const double depth = 0.115 + 0.035 * Noise(kKeyScr + 1000 + static_cast<uint64_t>(k));
            drop += depth * (1.0 - std::exp(-tau / 0.8)) * std::exp(-tau / 8.0);
        }
    }
    const double level =
        m_traits.m_fSkinResistance * (1.0 + 0.05 * std::sin(kTwoPi * m_fTime / 300));
    return level * std::max(0.2, 1.0 - drop);
}

int CPhysiology::EmgSample(uint64_t index) const {
    // Contractions: every 4 s a burst of about 1.5 s with its own strength.
    const double t = static_cast<double>(index) / 1000.0;
    const auto cycle = static_cast<uint64_t>(t / 4.0);
    const double inCycle = t - 4.0 * static_cast<double>(cycle);
    double envelope = 0;
    if (inCycle < 1.5) {
        const double strength = 0.6 + 0.4 * Noise(kKeyBurst + cycle);
        envelope = strength * std::sin(std::numbers::pi * inCycle / 1.5);
    }
    const double n = (Noise(kKeyEmg + 3 * index) + Noise(kKeyEmg + 3 * index + 1) +
                      Noise(kKeyEmg + 3 * index + 2)) /
                     1.5;
    // A movement artefact now and then during a burst saturates above the valid range.
    if (envelope > 0.5 && Noise(kKeyEmg + 3 * index + 7) > 0.996) {
        return 2049 + static_cast<int>(900 * std::abs(n));
    }
    const double amplitude = 25 + 1500 * envelope;
    return std::clamp(static_cast<int>(std::abs(n) * amplitude), 0, 2048);
}

int CPhysiology::GastroSample(bool bIntestinal, int lead) const {
    const double lag = lead * 0.9;  // the second site sees the wave a little later
    const uint64_t key =
        kKeyGastro + static_cast<uint64_t>(m_fTime * 20.0) * 2 + static_cast<uint64_t>(lead);
    double v;
    if (bIntestinal) {
        const double f = 11.0 / 60.0;
        v = 200 * std::sin(kTwoPi * f * (m_fTime - lag)) +
            50 * std::sin(kTwoPi * 2 * f * (m_fTime - lag) + 0.7);
    } else {
        const double f = 3.0 / 60.0;
        // The slow wave rises quickly and falls back slowly: a fundamental with two harmonics.
        v = 350 * std::sin(kTwoPi * f * (m_fTime - lag)) +
            90 * std::sin(kTwoPi * 2 * f * (m_fTime - lag) + 0.5) +
            30 * std::sin(kTwoPi * 3 * f * (m_fTime - lag) + 1.1);
    }
    v += 25 * Noise(key) + 40 * std::sin(kTwoPi * m_fTime * m_traits.m_fBreathRate / 60.0);
    // Digitised with 10 bits around mid-scale, half a count per unit above.
    return std::clamp(512 + static_cast<int>(std::lround(0.5 * v)), 0, 1023);
}

}  // namespace somatrix
