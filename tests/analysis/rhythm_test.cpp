// RR intervals, heart rate and variability against values worked out by hand, and the live
// panel's rate rule.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/live_heart_rate.h"
#include "analysis/rhythm.h"

namespace somatrix {
namespace {

TEST(RhythmTest, RegularBeatsGiveHandComputedRateAndVariability) {
    // RR 800, 800, 900, 800 ms: mean 825, deviations -25 -25 75 -25 (sum of squares 7500),
    // successive differences 0, 100, -100 (sum of squares 20000).
    const std::vector<double> beats = {0.0, 0.8, 1.6, 2.5, 3.3};
    const std::vector<double> rr = RrIntervalsMs(beats);
    ASSERT_EQ(rr.size(), 4u);
    EXPECT_NEAR(rr[2], 900.0, 1e-9);
    const CRhythmStats s = ComputeRhythm(beats);
    EXPECT_EQ(s.m_nBeats, 5u);
    EXPECT_NEAR(s.m_dHrMean, 60000.0 / 825.0, 1e-9);
    EXPECT_NEAR(s.m_dHrMin, 60000.0 / 900.0, 1e-9);
    EXPECT_NEAR(s.m_dHrMax, 75.0, 1e-9);
    EXPECT_NEAR(s.m_dSdnnMs, 50.0, 1e-9);  // sqrt(7500 / 3)
    EXPECT_NEAR(s.m_dRmssdMs, std::sqrt(20000.0 / 3.0), 1e-9);
    const auto series = HeartRateSeries(beats);
    ASSERT_EQ(series.size(), 4u);
    EXPECT_DOUBLE_EQ(series[2].first, 2.5);
    EXPECT_NEAR(series[2].second, 60000.0 / 900.0, 1e-9);

    // Too few beats leave the figures undefined.
    const CRhythmStats one = ComputeRhythm({1.0});
    EXPECT_EQ(one.m_nBeats, 1u);
    EXPECT_TRUE(std::isnan(one.m_dHrMean));
    const CRhythmStats two = ComputeRhythm({1.0, 2.0});
    EXPECT_NEAR(two.m_dHrMean, 60.0, 1e-9);
    EXPECT_TRUE(std::isnan(two.m_dSdnnMs));
    EXPECT_TRUE(std::isnan(two.m_dRmssdMs));
}

TEST(RhythmTest, EctopicAndMissedBeatsDoNotReadAsSlowRates) {
    // A premature beat at 3.6 s (600 ms early interval, 1400 ms pause) among 1000 ms intervals.
    const std::vector<double> ectopic = {0, 1, 2, 3, 3.6, 5, 6, 7, 8};
    const std::vector<CRrInterval> classes = ClassifyRr(ectopic);
    ASSERT_EQ(classes.size(), 8u);
    EXPECT_FALSE(classes[3].m_bNormal);
    EXPECT_FALSE(classes[4].m_bNormal);
    EXPECT_TRUE(classes[5].m_bNormal);
    const CRhythmStats s = ComputeRhythm(ectopic);
    EXPECT_EQ(s.m_nBeats, 9u);
    EXPECT_NEAR(s.m_dHrMin, 60.0, 1e-9);
    EXPECT_NEAR(s.m_dHrMax, 60.0, 1e-9);
    EXPECT_NEAR(s.m_dSdnnMs, 0.0, 1e-9);
    EXPECT_NEAR(s.m_dRmssdMs, 0.0, 1e-9);
    EXPECT_EQ(HeartRateSeries(ectopic).size(), 6u);

    // A missed beat: one 2000 ms interval must not give a minimum of 30 per minute.
    const CRhythmStats missed = ComputeRhythm({0, 1, 2, 4, 5, 6});
    EXPECT_NEAR(missed.m_dHrMin, 60.0, 1e-9);
    EXPECT_NEAR(missed.m_dHrMean, 60.0, 1e-9);

    // A step from 1000 ms to 500 ms intervals is kept: every interval counts.
    std::vector<double> step = {0};
    for (int i = 0; i < 10; ++i) {
        step.push_back(step.back() + 1.0);
    }
    for (int i = 0; i < 10; ++i) {
        step.push_back(step.back() + 0.5);
    }
    EXPECT_EQ(RrIntervalsMs(step).size(), 20u);
    EXPECT_NEAR(ComputeRhythm(step).m_dHrMax, 120.0, 1e-9);
}

TEST(RhythmTest, LiveRateNeedsThreeBeatsAndLapsesAfterThreeSeconds) {
    CLiveHeartRate rate;
    EXPECT_LT(rate.Bpm(0), 0);
    rate.OnBeat(10.0);
    rate.OnBeat(10.8);
    EXPECT_LT(rate.Bpm(11.0), 0);
    rate.OnBeat(11.6);
    EXPECT_NEAR(rate.Bpm(11.7), 75.0, 1e-9);
    // One premature beat and its pause leave the median of five intervals at 800 ms.
    rate.OnBeat(12.1);
    rate.OnBeat(13.2);
    EXPECT_NEAR(rate.Bpm(13.3), 75.0, 1e-9);
    EXPECT_NEAR(rate.Bpm(16.2), 75.0, 1e-9);
    EXPECT_LT(rate.Bpm(16.3), 0);
    // After the gap the count starts afresh.
    rate.OnBeat(20.0);
    rate.OnBeat(21.0);
    EXPECT_LT(rate.Bpm(21.1), 0);
    rate.OnBeat(22.0);
    EXPECT_NEAR(rate.Bpm(22.1), 60.0, 1e-9);
}

}  // namespace
}  // namespace somatrix
