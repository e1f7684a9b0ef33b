#include "review_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "sensor_models.h"
#include "sim_random.h"

namespace somatrix {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr uint8_t kMarkerT = 0x54;
constexpr uint8_t kMarkerM = 0x4D;

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

// One EEG sample in microvolts at sample index i.
class CEegSignal {
public:
    explicit CEegSignal(uint64_t seed) : m_nSeed(seed), m_random(seed) {
        m_fAlphaHz = 9.0 + 2.0 * m_random.Unit();
        m_fAlphaPhase = kTwoPi * m_random.Unit();
    }

    double Sample(uint64_t i) {
        const double t = static_cast<double>(i) / kReviewSampleRate;
        // Alpha comes and goes in spindles of a few seconds.
        const double spindle = 0.5 + 0.5 * std::sin(kTwoPi * t / 7.0 + 0.4 * std::sin(t / 3.0));
        const double alpha = 30.0 * spindle * std::sin(kTwoPi * m_fAlphaHz * t + m_fAlphaPhase);
        const double theta = 8.0 * std::sin(kTwoPi * 5.5 * t + 1.3);
        const double beta = 4.0 * std::sin(kTwoPi * 21.0 * t) + 3.0 * std::sin(kTwoPi * 17.0 * t);
        // Brown-ish background: a leaky sum of white noise.
        m_fDrift = 0.97 * m_fDrift + 3.0 * SimHashNoise(m_nSeed, i);
        const double white = 2.0 * SimHashNoise(m_nSeed ^ 0xEE6, i);
        return alpha + theta + beta + m_fDrift + white + Blink(t);
    }

private:
    // An eye blink about every 5 s: a slow positive bump of about 150 microvolts.
    double Blink(double t) const {
        const auto k = static_cast<uint64_t>(t / 5.0);
        const double at = 5.0 * static_cast<double>(k) + 2.0 + 1.5 * SimHashNoise(m_nSeed, k + 7);
        const double d = (t - at) / 0.09;
        return 150.0 * std::exp(-0.5 * d * d);
    }

    uint64_t m_nSeed;
    CSimRandom m_random;
    double m_fAlphaHz = 10;
    double m_fAlphaPhase = 0;
    double m_fDrift = 0;
};

}  // namespace

uint16_t AvoidMarker(uint8_t previousHigh, uint16_t sample) {
    const auto low = static_cast<uint8_t>(sample & 0xFF);
    const auto high = static_cast<uint8_t>(sample >> 8);
    const bool bOwn = low == kMarkerT && high == kMarkerM;
    const bool bStraddling = previousHigh == kMarkerT && low == kMarkerM;
    // Changing the low byte by one breaks both patterns and cannot create the other one.
    return (bOwn || bStraddling) ? static_cast<uint16_t>(sample + 1) : sample;
}

std::vector<uint8_t> ComposeReviewFile(const CReviewOptions& options) {
    const int segments = std::max(1, options.m_nSegments);
    const uint64_t total =
        static_cast<uint64_t>(std::max(0, options.m_nMinutes)) * 60 * kReviewSampleRate;
    std::vector<uint8_t> out;
    out.reserve(10 + 2 * total + 6 * static_cast<size_t>(segments));
    out.insert(out.end(), {'E', 'E', 'G', '1'});

    CEegSignal eeg(options.m_nSeed);
    CPhysiology heart(options.m_nSeed);
    heart.SetConditions(options.m_conditions);
    uint64_t written = 0;
    uint32_t time = options.m_nStartTime;
    for (int k = 0; k < segments; ++k) {
        // Even shares, the first segments taking the remainder.
        const uint64_t count = total / static_cast<uint64_t>(segments) +
                               (static_cast<uint64_t>(k) < total % static_cast<uint64_t>(segments));
        out.push_back(kMarkerT);
        out.push_back(kMarkerM);
        PutU32(out, time);
        // The byte before a segment's first sample is a time stamp byte, never a sample.
        uint8_t previousHigh = 0;
        for (uint64_t i = 0; i < count; ++i) {
            int v = 0;
            if (options.m_bEcg) {
                heart.SetTime(static_cast<double>(written + i) / kReviewSampleRate);
                v = EcgCounts(heart.EcgMillivolts());
            } else {
                const double microvolts = eeg.Sample(written + i);
                v = std::clamp(static_cast<int>(std::lround(2048 + 8 * microvolts)), 0, 4095);
            }
            const uint16_t s = AvoidMarker(previousHigh, static_cast<uint16_t>(v));
            out.push_back(static_cast<uint8_t>(s & 0xFF));
            out.push_back(static_cast<uint8_t>(s >> 8));
            previousHigh = static_cast<uint8_t>(s >> 8);
        }
        written += count;
        time += static_cast<uint32_t>(count / kReviewSampleRate) +
                static_cast<uint32_t>(std::max(0, options.m_nPauseSeconds));
    }
    return out;
}

std::vector<double> ReviewBeatTimes(const CReviewOptions& options) {
    CPhysiology heart(options.m_nSeed);
    heart.SetConditions(options.m_conditions);
    return heart.BeatTimes(std::max(0, options.m_nMinutes) * 60.0);
}

bool WriteReviewFile(const std::string& path, const CReviewOptions& options, std::string& error) {
    const std::vector<uint8_t> bytes = ComposeReviewFile(options);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot create " + path;
        return false;
    }
    const size_t n = std::fwrite(bytes.data(), 1, bytes.size(), file);
    const bool bClosed = std::fclose(file) == 0;
    if (n != bytes.size() || !bClosed) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace somatrix
