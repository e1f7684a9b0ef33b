// The review recording in memory: segment table, local times and cuts that keep every time.
#include "review/review_recording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace somatrix {
namespace {

constexpr uint32_t kT = 1700000000;  // 2023-11-14 22:13:20 UTC

// Sets the time zone for one test and puts the old one back.
class CZone {
public:
    explicit CZone(const char* tz) {
        const char* old = std::getenv("TZ");
        m_bHad = old != nullptr;
        m_strOld = old ? old : "";
        ::setenv("TZ", tz, 1);
        ::tzset();
    }
    ~CZone() {
        m_bHad ? ::setenv("TZ", m_strOld.c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
    }

private:
    bool m_bHad = false;
    std::string m_strOld;
};

// `count` samples numbered 0, 1, 2, … as the file stores them.
void AppendNumbered(CReviewRecording& r, uint32_t first, uint32_t count) {
    std::vector<uint8_t> bytes;
    for (uint32_t i = 0; i < count; ++i) {
        bytes.push_back(static_cast<uint8_t>(first + i));
        bytes.push_back(static_cast<uint8_t>((first + i) >> 8));
    }
    r.AppendSamples(bytes.data(), count);
}

std::string Text(const CReviewRecording& r, uint32_t s) {
    std::string text = "unchanged";
    r.FormatSampleTime(s, &text);
    return text;
}

TEST(ReviewRecording, SegmentsAndSamplesGrowAsAppended) {
    CReviewRecording r;
    r.AddSegment(0, 0);  // a time of 0 adds nothing
    EXPECT_EQ(r.SegmentCount(), 0u);
    r.AddSegment(0, kT);
    const uint8_t bytes[] = {0x34, 0x12, 0xFF, 0x00};
    r.AppendSamples(bytes, 2);
    r.AppendSamples(nullptr, 5);
    r.AppendSamples(bytes, 0);
    r.AddSegment(2, kT + 100);
    ASSERT_EQ(r.SampleCount(), 2u);
    EXPECT_EQ(r.Samples()[0], 0x1234);
    EXPECT_EQ(r.Samples()[1], 0x00FF);
    EXPECT_EQ(r.SegmentStart(), (std::vector<uint32_t>{0, 2}));
    EXPECT_EQ(r.SegmentTime(), (std::vector<uint32_t>{kT, kT + 100}));
    r.Clear();
    EXPECT_EQ(r.SampleCount(), 0u);
    EXPECT_EQ(r.SegmentCount(), 0u);
}

TEST(ReviewRecording, FormatSampleTimeAcrossSegmentsAndZones) {
    CReviewRecording r;
    EXPECT_EQ(r.FormatSampleTime(0, nullptr), 0u);
    EXPECT_EQ(Text(r, 0), "");
    AppendNumbered(r, 0, 2000);
    r.AddSegment(10, kT);
    r.AddSegment(1000, kT + 100);
    {
        CZone zone("UTC0");
        EXPECT_EQ(Text(r, 10), "2023.11.14 22:13:20.000");
        EXPECT_EQ(r.FormatSampleTime(211, nullptr), kT + 1);
        EXPECT_EQ(Text(r, 211), "2023.11.14 22:13:21.005");
        EXPECT_EQ(Text(r, 999), "2023.11.14 22:13:24.945");
        EXPECT_EQ(Text(r, 1000), "2023.11.14 22:15:00.000");
        EXPECT_EQ(Text(r, 1399), "2023.11.14 22:15:01.995");
        // Samples before the first segment have no recorded time.
        EXPECT_EQ(r.FormatSampleTime(9, nullptr), 0u);
        EXPECT_EQ(Text(r, 9), "");
    }
    {
        CZone zone("CST-8");
        EXPECT_EQ(Text(r, 211), "2023.11.15 06:13:21.005");
    }
    {
        CZone zone("EST5EDT,M3.2.0,M11.1.0");
        EXPECT_EQ(Text(r, 1000), "2023.11.14 17:15:00.000");
    }
}

// Ten one-second segments of 200 samples, times kT … kT + 9, samples numbered by index.
CReviewRecording TenSeconds() {
    CReviewRecording r;
    for (uint32_t k = 0; k < 10; ++k) {
        r.AddSegment(k * 200, kT + k);
        AppendNumbered(r, k * 200, 200);
    }
    return r;
}

TEST(ReviewRecording, CutKeepsTheTimeOfEverySampleAfterIt) {
    CZone zone("UTC0");
    CReviewRecording r = TenSeconds();
    r.CutSamples(450, 1030);  // from 2.25 s into the recording to 5.15 s
    ASSERT_EQ(r.SampleCount(), 1420u);
    EXPECT_EQ(r.Samples()[449], 449);
    EXPECT_EQ(r.Samples()[450], 1030);
    EXPECT_EQ(r.SegmentStart(), (std::vector<uint32_t>{0, 200, 400, 450, 620, 820, 1020, 1220}));
    EXPECT_EQ(r.SegmentTime(),
              (std::vector<uint32_t>{kT, kT + 1, kT + 2, kT + 5, kT + 6, kT + 7, kT + 8, kT + 9}));
    EXPECT_EQ(Text(r, 449), "2023.11.14 22:13:22.245");
    EXPECT_EQ(Text(r, 620), "2023.11.14 22:13:26.000");  // recorded at 6 s, as before the cut
    EXPECT_EQ(Text(r, 1419), "2023.11.14 22:13:29.995");

    // Inside one segment: the rest restarts at the cut, later by whole seconds (1500 / 200 = 7).
    CReviewRecording one;
    one.AddSegment(0, kT);
    AppendNumbered(one, 0, 2000);
    one.CutSamples(100, 1500);
    // 1500 is 7.5 s in: from sample 1600 (8 s) on a second marker gives the recorded time.
    EXPECT_EQ(one.SegmentStart(), (std::vector<uint32_t>{0, 100, 200}));
    EXPECT_EQ(one.SegmentTime(), (std::vector<uint32_t>{kT, kT + 7, kT + 8}));
    EXPECT_EQ(one.Samples()[100], 1500);
    EXPECT_EQ(one.Samples()[200], 1600);

    // A cut that ends where a segment starts shifts it unchanged; a cut to the end drops the
    // segments after its start.
    CReviewRecording edge = TenSeconds();
    edge.CutSamples(200, 600);
    EXPECT_EQ(edge.SegmentStart(),
              (std::vector<uint32_t>{0, 200, 400, 600, 800, 1000, 1200, 1400}));
    EXPECT_EQ(edge.SegmentTime()[1], kT + 3);
    edge.CutSamples(500, 1600);
    EXPECT_EQ(edge.SampleCount(), 500u);
    EXPECT_EQ(edge.SegmentStart(), (std::vector<uint32_t>{0, 200, 400}));
}

TEST(ReviewRecording, AfterAnyCutOnlyOneSecondOfSamplesReadsEarly) {
    // Segments of uneven lengths, as a recording with gaps has them.
    const std::vector<uint32_t> starts = {0, 170, 900, 1013, 2600, 3001};
    CReviewRecording base;
    AppendNumbered(base, 0, 4000);
    for (size_t k = 0; k < starts.size(); ++k) {
        base.AddSegment(starts[k], kT + 1000 * static_cast<uint32_t>(k));
    }
    std::srand(7);
    for (int trial = 0; trial < 100; ++trial) {
        const uint32_t a = static_cast<uint32_t>(std::rand() % 4000);
        const uint32_t b = static_cast<uint32_t>(std::rand() % 4000);
        const uint32_t start = std::min(a, b), end = std::max(a, b);
        CReviewRecording r = base;
        r.CutSamples(start, end);
        // The segment that held sample `end` before the cut, and its next whole second.
        size_t h = 0;
        while (h + 1 < starts.size() && starts[h + 1] <= end) {
            ++h;
        }
        const uint32_t boundary = starts[h] + ((end - starts[h]) / 200 + 1) * 200;
        for (uint32_t i = start; i < r.SampleCount(); ++i) {
            const uint32_t recorded = i + (end - start);  // the sample's index before the cut
            ASSERT_EQ(r.Samples()[i], recorded);
            std::string before, after;
            const uint32_t t0 = base.FormatSampleTime(recorded, &before);
            const uint32_t t1 = r.FormatSampleTime(i, &after);
            ASSERT_EQ(t1, t0) << start << ".." << end << " sample " << recorded;
            if (recorded >= boundary || (end - starts[h]) % 200 == 0) {
                ASSERT_EQ(after, before) << start << ".." << end << " sample " << recorded;
            }
        }
    }
}

TEST(ReviewRecording, CutTakesAnyArguments) {
    CReviewRecording empty;
    empty.CutSamples(0, 10);
    EXPECT_EQ(empty.SampleCount(), 0u);

    CReviewRecording r = TenSeconds();
    r.CutSamples(1030, 450);  // a leftward drag: the same cut as (450, 1030)
    EXPECT_EQ(r.SampleCount(), 1420u);
    EXPECT_EQ(r.Samples()[450], 1030);
    r.CutSamples(1400, 1400);
    EXPECT_EQ(r.SampleCount(), 1420u);
    r.CutSamples(1000, 0xFFFFFFFFu);  // past the end: clamped to the recording
    EXPECT_EQ(r.SampleCount(), 1000u);
    EXPECT_EQ(r.Samples()[999], 1579);
    r.CutSamples(5000, 9000);  // wholly past the end: nothing to remove
    EXPECT_EQ(r.SampleCount(), 1000u);
    r.CutSamples(0, 1000);
    EXPECT_EQ(r.SampleCount(), 0u);
    EXPECT_EQ(r.SegmentCount(), 0u);
}

}  // namespace
}  // namespace somatrix
