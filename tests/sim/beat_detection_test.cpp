// Beat detection on simulated recordings whose true beats the simulator reports: premature
// beats, noise and artefacts, a step of rate; the streaming detector against whole-file use.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/beat_detector.h"
#include "analysis/rhythm.h"
#include "beat_recording.h"
#include "protocol/frame.h"

namespace somatrix {
namespace {

std::vector<double> Seconds(const std::vector<int64_t>& beats, double rate) {
    std::vector<double> t;
    for (int64_t b : beats) {
        t.push_back(static_cast<double>(b) / rate);
    }
    return t;
}

// True beats with a detection within 75 ms, and detections with a true beat within 75 ms,
// ignoring the first and last half second.
void ExpectMatches(const std::vector<double>& truth, const std::vector<double>& found,
                   double seconds, double minShare) {
    auto near = [](const std::vector<double>& in, double t) {
        auto it = std::lower_bound(in.begin(), in.end(), t - 0.075);
        return it != in.end() && *it <= t + 0.075;
    };
    size_t n = 0, hit = 0, m = 0, right = 0;
    for (double t : truth) {
        if (t > 0.5 && t < seconds - 0.5) {
            ++n;
            hit += near(found, t) ? 1 : 0;
        }
    }
    for (double t : found) {
        if (t > 0.5 && t < seconds - 0.5) {
            ++m;
            right += near(truth, t) ? 1 : 0;
        }
    }
    ASSERT_GT(n, 0u);
    EXPECT_GE(static_cast<double>(hit), minShare * static_cast<double>(n)) << hit << " of " << n;
    EXPECT_GE(static_cast<double>(right), minShare * static_cast<double>(m))
        << right << " of " << m;
}

TEST(BeatDetectionTest, FindsTheTrueBeatsOfEcgAndPulsesWithEctopicBeatsAndArtefacts) {
    CSimConditions hard;
    hard.m_fEctopicChance = 0.05;
    hard.m_fNoiseMv = 0.1;
    hard.m_fWanderMv = 0.5;
    hard.m_fHumMv = 0.2;
    hard.m_fMotionMv = 0.5;
    const double seconds = 60;
    for (uint64_t seed : {2u, 5u}) {
        for (uint8_t t : {type::kEcg, type::kPulse, type::kInfraredPulse}) {
            const bool bEcg = t == type::kEcg;
            // ECG at its own 250/s and at the review files' 200/s.
            for (double rate : bEcg ? std::vector<double>{0, 200} : std::vector<double>{0}) {
                SCOPED_TRACE(testing::Message()
                             << "seed " << seed << " type " << int(t) << " rate " << rate);
                const CSimBeatRecording rec = SimulateBeatRecording(t, seed, hard, seconds, rate);
                size_t ectopic = 0;
                CPhysiology subject(seed);
                subject.SetConditions(hard);
                for (uint64_t i = 0; i < rec.m_beatsSec.size(); ++i) {
                    ectopic += subject.IsEctopic(i) ? 1 : 0;
                }
                EXPECT_GT(ectopic, 0u);  // the recording does hold premature beats
                const auto beats =
                    DetectBeats(rec.m_samples.data(), rec.m_samples.size(), rec.m_fRate,
                                bEcg ? EBeatSource::Ecg : EBeatSource::Pulse);
                ExpectMatches(rec.m_beatsSec, Seconds(beats, rec.m_fRate), seconds,
                              bEcg ? 0.995 : 0.97);
            }
        }
    }
}

TEST(BeatDetectionTest, RateStepIsFollowedAndPrematureBeatsDoNotLowerTheRate) {
    CSimConditions c;
    c.m_fStepAtSec = 40;
    c.m_fStepBpm = 130;
    c.m_fEctopicChance = 0.05;
    c.m_fNoiseMv = 0.05;
    const CSimBeatRecording rec = SimulateBeatRecording(type::kEcg, 3, c, 80);
    const std::vector<double> found = Seconds(
        DetectBeats(rec.m_samples.data(), rec.m_samples.size(), rec.m_fRate, EBeatSource::Ecg),
        rec.m_fRate);
    auto within = [&](double from, double to) {
        std::vector<double> part;
        for (double t : found) {
            if (t >= from && t < to) {
                part.push_back(t);
            }
        }
        return ComputeRhythm(part);
    };
    CPhysiology subject(3);
    const double rest = subject.Traits().m_fHeartRate;
    const CRhythmStats before = within(5, 39);
    const CRhythmStats after = within(45, 80);
    // The subject's rates with breathing's +-4 % and beat-to-beat +-2 % around them.
    EXPECT_NEAR(before.m_dHrMean, rest, 0.05 * rest);
    EXPECT_NEAR(after.m_dHrMean, 130.0, 0.05 * 130.0);
    EXPECT_GT(before.m_dHrMin, 0.85 * rest);  // compensatory pauses are left out
    EXPECT_GT(after.m_dHrMin, 0.85 * 130.0);
}

TEST(BeatDetectionTest, StreamingInAnyChunksGivesTheWholeFileBeats) {
    for (uint8_t t : {type::kEcg, type::kPulse}) {
        CSimConditions c;
        c.m_fNoiseMv = 0.05;
        c.m_fMotionMv = 0.3;
        const CSimBeatRecording rec = SimulateBeatRecording(t, 7, c, 40);
        const EBeatSource source = t == type::kEcg ? EBeatSource::Ecg : EBeatSource::Pulse;
        const auto whole =
            DetectBeats(rec.m_samples.data(), rec.m_samples.size(), rec.m_fRate, source);
        ASSERT_GT(whole.size(), 30u);
        CBeatDetector live(source, rec.m_fRate);
        std::vector<int64_t> streamed;
        int64_t beat = -1;
        for (size_t i = 0; i < rec.m_samples.size(); ++i) {
            if (live.AddSample(rec.m_samples[i], &beat)) {
                // Each beat is reported after its fiducial point, and soon after it.
                EXPECT_LE(beat, static_cast<int64_t>(i));
                EXPECT_LT(static_cast<double>(i) - static_cast<double>(beat), 2.5 * rec.m_fRate);
                streamed.push_back(beat);
            }
        }
        live.Finish(streamed);
        EXPECT_EQ(streamed, whole);
        // Reset starts again from nothing.
        live.Reset();
        std::vector<int64_t> again;
        for (uint16_t v : rec.m_samples) {
            if (live.AddSample(v, &beat)) {
                again.push_back(beat);
            }
        }
        live.Finish(again);
        EXPECT_EQ(again, whole);
    }
    // Nothing, a flat line and nonsense give no beats and no crash.
    EXPECT_TRUE(DetectBeats<double>(nullptr, 0, 250, EBeatSource::Ecg).empty());
    const std::vector<double> flat(5000, 512.0);
    EXPECT_TRUE(DetectBeats(flat.data(), flat.size(), 250, EBeatSource::Ecg).empty());
    EXPECT_TRUE(DetectBeats(flat.data(), flat.size(), 100, EBeatSource::Pulse).empty());
    const std::vector<double> odd = {NAN, INFINITY, -1e300, 1e300, 0, 3};
    DetectBeats(odd.data(), odd.size(), 0.0, EBeatSource::Ecg);
}

}  // namespace
}  // namespace somatrix
