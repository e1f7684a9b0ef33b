// What the sensors measure: rates and frame layouts, plausible physiology, determinism per
// seed, and the effect of every setting.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "sim_bus.h"
#include "sim_test_util.h"

namespace somatrix {
namespace {

using test::Bytes;
using test::Collect;
using test::Exchange;
using test::SplitFrames;

// The data frames one sensor sends in `ms` after a start, and its decoded first values.
struct CRun {
    std::vector<Bytes> frames;
    std::vector<int> first;  // 16-bit first value (8-bit for heart sound and blood oxygen)
};

CRun Measure(CSimBus& bus, CVirtualClock& clock, uint8_t t, uint64_t ms,
             const std::vector<CFrame>& before = {}) {
    for (const CFrame& f : before) {
        Exchange(bus, clock, f, 10);
    }
    Exchange(bus, clock, StartRequest(t), 0);
    CRun run;
    for (Bytes& f : SplitFrames(Collect(bus, clock, ms))) {
        if (f[kPosCommand] == (t == type::kBloodPressure ? cmd::kCdData : cmd::kStart)) {
            const bool b8 = t == type::kHeartSound || t == type::kBloodOxygen;
            run.first.push_back(b8 ? f[5] : f[5] * 256 + f[6]);
            run.frames.push_back(std::move(f));
        }
    }
    Exchange(bus, clock, StopRequest(t), 50);
    return run;
}

int Span(const std::vector<int>& v) {
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    return *hi - *lo;
}

TEST(SensorSignals, RatesAndFrameLayoutsOfEveryStreamingType) {
    // frames per 10 s and frame length in bytes
    const std::map<uint8_t, std::pair<int, size_t>> expected = {
        {type::kEcg, {2500, 7}},           {type::kPulse, {1000, 7}},
        {type::kInfraredPulse, {1000, 7}}, {type::kRespiration, {500, 7}},
        {type::kHeartSound, {400, 55}},    {type::kEmg, {416, 53}},
        {type::kBloodOxygen, {500, 8}},    {type::kGastro, {200, 9}},
        {type::kSkinResistance, {100, 7}}, {type::kBodyTemperature, {20, 7}},
        {type::kSkinTemperature, {20, 7}}, {type::kBloodPressureV2, {500, 7}},
        {type::kBloodPressure, {500, 7}}};
    for (const auto& [t, want] : expected) {
        SCOPED_TRACE(testing::Message() << std::hex << int{t});
        CVirtualClock clock;
        CSimBus bus(3);
        bus.AddSensor(t);
        const CRun run = Measure(bus, clock, t, 10000);
        EXPECT_NEAR(static_cast<double>(run.frames.size()), want.first, 2);
        for (const Bytes& f : run.frames) {
            ASSERT_EQ(f.size(), want.second);
            EXPECT_EQ(f[kPosType], t);
            EXPECT_EQ(f[kPosChecksum], FrameChecksum(f.data(), f.size()));
        }
    }
}

TEST(SensorSignals, OneSubjectPerSeedAcrossSensors) {
    auto run = [](uint64_t seed, uint8_t t) {
        CVirtualClock clock;
        CSimBus bus(seed);
        bus.AddSensor(t);
        return Measure(bus, clock, t, 20000).first;
    };
    EXPECT_EQ(run(5, type::kEcg), run(5, type::kEcg));
    EXPECT_NE(run(5, type::kEcg), run(6, type::kEcg));

    // The ECG's R peaks (above 512 + 0.8 mV) come at the subject's heart rate, which is also
    // what the heart-rate sensor and the oximeter report.
    const std::vector<int> ecg = run(5, type::kEcg);
    int peaks = 0;
    for (size_t i = 1; i < ecg.size(); ++i) {
        peaks += ecg[i] > 752 && ecg[i - 1] <= 752;
    }
    const double ecgRate = peaks * 3.0;  // 20 s
    EXPECT_GE(ecgRate, 55);
    EXPECT_LE(ecgRate, 95);
    const std::vector<int> rate = run(5, type::kHeartRate);
    ASSERT_GE(rate.size(), 15u);
    EXPECT_NEAR(static_cast<double>(rate.size()) * 3.0, ecgRate, 6);
    for (int bpm : rate) {
        EXPECT_NEAR(bpm, ecgRate, 12);
    }
    CVirtualClock clock;
    CSimBus bus(5);
    bus.AddSensor(type::kBloodOxygen);
    const CRun oxygen = Measure(bus, clock, type::kBloodOxygen, 5000);
    for (const Bytes& f : oxygen.frames) {
        EXPECT_GE(f[6], 94);
        EXPECT_LE(f[6], 100);
        EXPECT_NEAR(f[7], ecgRate, 12);
    }
    EXPECT_GT(Span(oxygen.first), 100);  // the plethysmogram pulsates
}

TEST(SensorSignals, WaveformsAreTenBitAroundMidScaleAndSkinResistanceTenTimesThat) {
    // The live plot shows 0 to about 1,110 at its default zoom.
    for (uint8_t t : {type::kEcg, type::kPulse, type::kInfraredPulse, type::kRespiration,
                      type::kGastro, type::kSkinResistance}) {
        SCOPED_TRACE(testing::Message() << std::hex << int{t});
        CVirtualClock clock;
        CSimBus bus(11);
        bus.AddSensor(t);
        const CRun run = Measure(bus, clock, t, 20000);
        ASSERT_FALSE(run.first.empty());
        const int top = t == type::kSkinResistance ? 10230 : 1023;
        long sum = 0;
        for (size_t i = 0; i < run.frames.size(); ++i) {
            const Bytes& f = run.frames[i];
            EXPECT_LE(run.first[i], top);
            if (t == type::kGastro) {
                EXPECT_LE(f[7] * 256 + f[8], 1023);  // lead 2
            }
            sum += run.first[i];
        }
        if (t != type::kSkinResistance) {
            const long mean = sum / static_cast<long>(run.first.size());
            EXPECT_GT(mean, 350);
            EXPECT_LT(mean, 700);
            EXPECT_GT(Span(run.first), 150);  // a trace worth looking at
        }
    }
}

TEST(SensorSignals, GainScalesPulseInfraredRespirationAndHeartSound) {
    for (uint8_t t : {type::kPulse, type::kInfraredPulse, type::kRespiration, type::kHeartSound}) {
        SCOPED_TRACE(testing::Message() << std::hex << int{t});
        CVirtualClock clock;
        CSimBus bus(2);
        bus.AddSensor(t);
        const int low = Span(Measure(bus, clock, t, 8000, {GainRequest(t, 2)}).first);
        const int high = Span(Measure(bus, clock, t, 8000, {GainRequest(t, 8)}).first);
        const int flat = Span(Measure(bus, clock, t, 8000, {GainRequest(t, 0)}).first);
        EXPECT_GT(low, 20);
        EXPECT_GT(high, 3 * low);
        EXPECT_LT(flat, low / 4);
    }
}

TEST(SensorSignals, CalibrationOutputModeAndInputSelect) {
    CVirtualClock clock;
    CSimBus bus(4);
    bus.AddAllSensors();
    auto meanTemp = [&](int index) {
        const std::vector<int> v = Measure(bus, clock, type::kBodyTemperature, 4000,
                                           {*TemperatureCalibrationRequest(index)})
                                       .first;
        return v.front();
    };
    const int base = meanTemp(0);
    EXPECT_GE(base, 360);
    EXPECT_LE(base, 373);
    EXPECT_EQ(meanTemp(3), base + 3);  // "上调[3]": three steps of 64, a tenth of a degree each
    EXPECT_EQ(meanTemp(5), base - 2);  // "下调[2]"
    EXPECT_EQ(meanTemp(0), base);

    const std::vector<int> period =
        Measure(bus, clock, type::kHeartRate, 5000, {OutputModeRequest(0)}).first;
    const std::vector<int> rate =
        Measure(bus, clock, type::kHeartRate, 5000, {OutputModeRequest(1)}).first;
    ASSERT_FALSE(period.empty());
    ASSERT_FALSE(rate.empty());
    EXPECT_NEAR(60000.0 / period.front(), rate.front(), 4);  // milliseconds vs beats per minute

    // Gastric slow wave about 3 per minute, intestinal rhythm about 11: count upward crossings
    // of the middle over two minutes.
    auto cycles = [&](int input) {
        const CRun run = Measure(bus, clock, type::kGastro, 120000, {InputSelectRequest(input)});
        int n = 0;
        for (size_t i = 10; i < run.first.size(); i += 10) {  // half-second steps against noise
            n += run.first[i] > 512 && run.first[i - 10] <= 512;
        }
        return n;
    };
    EXPECT_NEAR(cycles(0), 6, 2);
    EXPECT_NEAR(cycles(1), 22, 4);
}

TEST(SensorSignals, EmgBurstsWithOccasionalSamplesAbove2048) {
    CVirtualClock clock;
    CSimBus bus(8);
    bus.AddSensor(type::kEmg);
    const CRun run = Measure(bus, clock, type::kEmg, 60000);
    int above = 0, quiet = 0, loud = 0;
    for (const Bytes& f : run.frames) {
        for (int k = 0; k < 24; ++k) {
            const int s = f[5 + 2 * k] * 256 + f[6 + 2 * k];
            above += s > 2048;
            quiet += s < 100;
            loud += s > 800 && s <= 2048;
        }
    }
    EXPECT_GT(above, 0);
    EXPECT_LT(above, 500);  // now and then, out of 60000
    EXPECT_GT(quiet, 20000);
    EXPECT_GT(loud, 1000);
}

TEST(SensorSignals, BloodPressureCycleEndsInAResultOrAnEndFrame) {
    for (uint8_t t : {type::kBloodPressureV2, type::kBloodPressure}) {
        SCOPED_TRACE(testing::Message() << std::hex << int{t});
        const bool cd = t == type::kBloodPressure;
        CVirtualClock clock;
        CSimBus bus(9);
        bus.AddSensor(t);
        Exchange(bus, clock, StartRequest(t), 0);
        const std::vector<Bytes> frames = SplitFrames(Collect(bus, clock, 60000));
        ASSERT_GT(frames.size(), 1000u);
        int peak = 0, inflating = 0;
        bool deflatingSeen = false, inflatingAfterDeflate = false;
        for (size_t i = 0; i + 1 < frames.size(); ++i) {
            const Bytes& f = frames[i];
            ASSERT_EQ(f[kPosCommand], cd ? cmd::kCdData : cmd::kStart);
            peak = std::max(peak, (f[5] & 0x0F) * 256 + f[6]);
            const bool status = (f[5] & 0x10) != 0;
            inflating += status;
            deflatingSeen |= !status;
            inflatingAfterDeflate |= status && deflatingSeen;
        }
        EXPECT_GE(peak, 178);
        EXPECT_LE(peak, 200);
        EXPECT_GT(inflating, 300);  // about 7 s of inflation at 50 frames/s
        EXPECT_FALSE(inflatingAfterDeflate);
        const Bytes& result = frames.back();
        ASSERT_EQ(result.size(), 10u);
        EXPECT_EQ(result[kPosCommand], cd ? cmd::kCdResult : cmd::kBpResult);
        const int systolic = (result[5] & 0x7F) * 256 + result[6];
        const int diastolic = result[7] * 256 + result[8];
        EXPECT_GE(systolic, 100);
        EXPECT_LE(systolic, 142);
        EXPECT_GE(diastolic, 62);
        EXPECT_LT(diastolic, systolic - 15);
        EXPECT_GE(result[9], 50);
        EXPECT_LE(result[9], 100);
        // The cycle is over: nothing more comes.
        EXPECT_TRUE(Collect(bus, clock, 2000).empty());

        // Stopped early: an end frame with code 1, then the acknowledgement.
        Exchange(bus, clock, StartRequest(t), 3000);
        const Bytes stop = Exchange(bus, clock, StopRequest(t), 100);
        const std::vector<Bytes> tail = SplitFrames(stop);
        ASSERT_GE(tail.size(), 2u);
        EXPECT_EQ(tail[tail.size() - 2], cd ? (Bytes{0xFF, 0xCD, 0x04, 0x5B, 0x56, 0x01})
                                            : (Bytes{0xFF, 0xC0, 0x04, 0xB2, 0xAD, 0x01}));
        EXPECT_EQ(tail.back(), cd ? (Bytes{0xFF, 0xCD, 0x03, 0x56, 0x53})
                                  : (Bytes{0xFF, 0xC0, 0x03, 0xA4, 0xA1}));
        EXPECT_TRUE(Collect(bus, clock, 1000).empty());
    }
}

}  // namespace
}  // namespace somatrix
