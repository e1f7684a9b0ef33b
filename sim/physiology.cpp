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
    const double base = 60.0 / m_traits.m_fHeartRate;
    const double breath = std::sin(kTwoPi * start * m_traits.m_fBreathRate / 60.0);
    return base * (1.0 - 0.04 * breath + 0.02 * Noise(kKeyRr + beat));
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

double CPhysiology::EcgMillivolts() const {
    // The waves of one beat around its R peak at tau = 0; the P wave of the next beat starts
    // before that beat's R peak, so both neighbours contribute.
    auto beat = [](double tau, double rr) {
        const double tPeak = 0.28 * std::sqrt(rr);
        return 0.15 * Gauss(tau, -0.17, 0.022) - 0.12 * Gauss(tau, -0.028, 0.008) +
               1.20 * Gauss(tau, 0.0, 0.010) - 0.28 * Gauss(tau, 0.030, 0.010) +
               0.32 * Gauss(tau, tPeak, 0.055);
    };
    const double since = SinceBeat();
    const double wander = 0.06 * std::sin(kTwoPi * BreathPhase());
    const double noise = 0.01 * Noise(kKeyEcg + static_cast<uint64_t>(m_fTime * 1000.0));
    return beat(since, m_fRr) + beat(since - m_fRr, m_fRr) + beat(since + m_fPrevRr, m_fPrevRr) +
           wander + noise;
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
    const double tau = SinceBeat() - 0.18;
    const double v = shape(tau) + shape(tau + m_fPrevRr) + shape(tau + m_fPrevRr + m_fRr);
    return std::clamp(v * (1.0 + 0.05 * Respiration()), 0.0, 1.2);
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
