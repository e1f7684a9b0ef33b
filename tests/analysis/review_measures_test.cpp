// Cursor readouts, selection statistics and the comparison table against values worked out here
// by plain sums over known data.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/range_stats.h"
#include "analysis/recording_comparison.h"
#include "analysis/selection_stats.h"
#include "review/cursor_pair.h"

namespace somatrix {
namespace {

TEST(ReviewMeasures, RangeStatisticsMatchPlainSumsInRawAndPhysicalUnits) {
    // Samples 1000 + (i * 37) % 101 for i < 400, a selection [50, 250).
    std::vector<uint16_t> samples(400);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = uint16_t(1000 + (i * 37) % 101);
    }
    double sum = 0, lo = 1e9, hi = -1e9;
    for (size_t i = 50; i < 250; ++i) {
        sum += samples[i];
        lo = std::min<double>(lo, samples[i]);
        hi = std::max<double>(hi, samples[i]);
    }
    const double mean = sum / 200;
    double squares = 0;
    for (size_t i = 50; i < 250; ++i) {
        squares += (samples[i] - mean) * (samples[i] - mean);
    }
    const double sd = std::sqrt(squares / 199);

    const CRangeStats raw = ComputeRangeStats(samples.data(), 50, 250, 200.0);
    EXPECT_EQ(raw.m_nSamples, 200u);
    EXPECT_DOUBLE_EQ(raw.m_dDurationSec, 1.0);
    EXPECT_DOUBLE_EQ(raw.m_dMin, lo);
    EXPECT_DOUBLE_EQ(raw.m_dMax, hi);
    EXPECT_NEAR(raw.m_dMean, mean, 1e-9);
    EXPECT_NEAR(raw.m_dStdDev, sd, 1e-9);

    // A negative scale (an inverted signal) turns the extremes round.
    const CRangeStats mv = ComputeRangeStats(samples.data(), 50, 250, 250.0, -0.5, 3.0);
    EXPECT_DOUBLE_EQ(mv.m_dDurationSec, 0.8);
    EXPECT_DOUBLE_EQ(mv.m_dMin, hi * -0.5 + 3.0);
    EXPECT_DOUBLE_EQ(mv.m_dMax, lo * -0.5 + 3.0);
    EXPECT_NEAR(mv.m_dMean, mean * -0.5 + 3.0, 1e-9);
    EXPECT_NEAR(mv.m_dStdDev, sd * 0.5, 1e-9);

    const CRangeStats none = ComputeRangeStats(samples.data(), 250, 50, 200.0);
    EXPECT_EQ(none.m_nSamples, 0u);
    EXPECT_EQ(none.m_dStdDev, 0.0);
    EXPECT_EQ(ComputeRangeStats(samples.data(), 7, 8, 200.0).m_dStdDev, 0.0);
}

TEST(ReviewMeasures, CursorReadoutGrabDragAndClamp) {
    std::vector<uint16_t> samples(1000);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = uint16_t(2 * i);
    }
    CCursorPair cursors;
    cursors.SetCount(1000);
    EXPECT_FALSE(cursors.Visible());
    cursors.Toggle(300, 900);  // a third and two thirds of the view
    ASSERT_TRUE(cursors.Visible());
    EXPECT_EQ(cursors.Sample(0), 500);
    EXPECT_EQ(cursors.Sample(1), 700);

    cursors.Place(0, 100);
    cursors.Place(1, 260);
    // 160 samples at 200/s: 800 ms, 60 / 0.8 s = 75 per minute; values 200 and 520.
    const CCursorReadout r = cursors.Readout(samples.data(), 200.0);
    EXPECT_DOUBLE_EQ(r.m_dTimeA, 0.5);
    EXPECT_DOUBLE_EQ(r.m_dTimeB, 1.3);
    EXPECT_DOUBLE_EQ(r.m_dValueA, 200.0);
    EXPECT_DOUBLE_EQ(r.m_dValueB, 520.0);
    EXPECT_DOUBLE_EQ(r.m_dDeltaMs, 800.0);
    EXPECT_DOUBLE_EQ(r.m_dDeltaValue, 320.0);
    EXPECT_DOUBLE_EQ(r.m_dBpm, 75.0);
    // Physical units: value = raw * 0.01 - 1.
    const CCursorReadout mv = cursors.Readout(samples.data(), 200.0, 0.01, -1.0);
    EXPECT_NEAR(mv.m_dValueA, 1.0, 1e-12);
    EXPECT_NEAR(mv.m_dDeltaValue, 3.2, 1e-12);

    // Grabbing: within four pixels, the nearer cursor; beyond, none.
    EXPECT_EQ(cursors.Grab(44, 40, 60), 0);
    EXPECT_EQ(cursors.Grab(57, 40, 60), 1);
    EXPECT_EQ(cursors.Grab(50, 40, 60), -1);
    EXPECT_FALSE(cursors.DragTo(10));
    ASSERT_EQ(cursors.Grab(61, 40, 60), 1);
    EXPECT_TRUE(cursors.DragTo(5000));  // kept inside the recording
    EXPECT_EQ(cursors.Sample(1), 999);
    cursors.Release();
    cursors.Place(1, 100);
    EXPECT_TRUE(std::isnan(cursors.Readout(samples.data(), 200.0).m_dBpm));
    cursors.SetCount(50);  // new data hides them
    EXPECT_FALSE(cursors.Visible());
    EXPECT_EQ(cursors.Sample(0), 49);
}

TEST(ReviewMeasures, SelectionBeatsAndComparisonTable) {
    // Beats every 0.8 s from 0.4 s: 75 per minute, no variability.
    std::vector<double> beats;
    for (int k = 0; k < 30; ++k) {
        beats.push_back(0.4 + 0.8 * k);
    }
    std::vector<uint16_t> flat(200 * 24, 500);
    CSelectionInput input;
    input.m_pSamples = flat.data();
    input.m_nBegin = 200 * 2;  // [2 s, 12 s): beats at 2.0, 2.8, ... 11.6 -> 13 beats
    input.m_nEnd = 200 * 12;
    input.m_dSampleRate = 200;
    input.m_pBeatTimes = &beats;
    const CSelectionStats rest = ComputeSelectionStats(input);
    EXPECT_EQ(rest.m_nBeats, 13u);
    EXPECT_NEAR(rest.m_dHrMean, 75.0, 1e-9);
    EXPECT_NEAR(rest.m_dSdnnMs, 0.0, 1e-9);
    EXPECT_DOUBLE_EQ(rest.m_range.m_dMean, 500.0);

    CSelectionStats exercise;
    exercise.m_range.m_nSamples = 10;
    exercise.m_range.m_dDurationSec = 30;
    exercise.m_range.m_dMin = 100;
    exercise.m_range.m_dMax = 900;
    exercise.m_range.m_dMean = 520;
    exercise.m_dHrMean = 120;
    exercise.m_dHrMin = 110;
    exercise.m_dHrMax = 130;
    exercise.m_dSdnnMs = 20;
    const auto lines = CompareRecordings(rest, exercise);
    EXPECT_DOUBLE_EQ(lines[0].m_dDifference, 20.0);   // 30 s - 10 s
    EXPECT_NEAR(lines[1].m_dDifference, 45.0, 1e-9);  // 120 - 75
    EXPECT_NEAR(lines[2].m_dFirst, 75.0, 1e-9);
    EXPECT_DOUBLE_EQ(lines[3].m_dSecond, 130.0);
    EXPECT_TRUE(std::isnan(lines[5].m_dDifference));  // no RMSSD for the second
    EXPECT_DOUBLE_EQ(lines[6].m_dDifference, 20.0);   // means 500 and 520
    EXPECT_DOUBLE_EQ(lines[7].m_dFirst, 0.0);         // a flat line has no range
    EXPECT_DOUBLE_EQ(lines[7].m_dSecond, 800.0);
}

}  // namespace
}  // namespace somatrix
