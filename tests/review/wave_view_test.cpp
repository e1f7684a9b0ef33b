#include "review/wave_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "review/min_max_pyramid.h"

namespace somatrix {
namespace {

struct CView {
    std::vector<uint16_t> samples;
    CWaveView view;
    CView(uint32_t count, int32_t width, int32_t height = 500) : samples(count, 2048) {
        view.Resize(width, height);
        view.SetData(samples.data(), count);
    }
    std::pair<int64_t, int64_t> View() const { return {view.ViewStart(), view.ViewEnd()}; }
};
using Range = std::pair<int64_t, int64_t>;

TEST(WaveViewZoom, CentredAnchoredAndSelectionStepsAtBothEnds) {
    CView v(10000, 1000);
    EXPECT_DOUBLE_EQ(v.view.XScale(), 10.0);
    EXPECT_TRUE(v.view.ZoomOut());  // full view: both ends clamped
    EXPECT_EQ(v.View(), Range(0, 10000));
    EXPECT_TRUE(v.view.ZoomIn());  // no wheel turn yet: a tenth of the span off each end
    EXPECT_EQ(v.View(), Range(1000, 9000));
    EXPECT_DOUBLE_EQ(v.view.XScale(), 8.0);
    EXPECT_TRUE(v.view.ZoomOut());  // an eighth of 8000 either side
    EXPECT_EQ(v.View(), Range(0, 10000));

    // Wheel at sample 1000 over the 10 000-sample view: 4000 either side, clamped at 0.
    EXPECT_TRUE(v.view.Wheel(100, 120));
    EXPECT_EQ(v.view.ZoomAnchor(), 1000);
    EXPECT_EQ(v.View(), Range(0, 5000));
    // The anchor stays and the next step is centred on it again.
    EXPECT_TRUE(v.view.ZoomIn());
    EXPECT_EQ(v.View(), Range(0, 3000));
    // At the end of the recording the step is clamped to the sample count.
    EXPECT_TRUE(v.view.Wheel(999, 120));
    EXPECT_EQ(v.view.ZoomAnchor(), 2997);
    EXPECT_EQ(v.View(), Range(1797, 4197));

    // A selection wins over the anchor and is shown exactly, however narrow.
    v.view.ButtonDown(500);
    v.view.MouseMove(501);
    v.view.ButtonUp();
    EXPECT_EQ(v.view.SelStart(), 2997);
    EXPECT_EQ(v.view.SelEnd(), 2999);
    EXPECT_TRUE(v.view.ZoomIn());
    EXPECT_EQ(v.View(), Range(2997, 2999));
    EXPECT_DOUBLE_EQ(v.view.XScale(), 0.002);
}

TEST(WaveViewZoom, NothingWrapsOrLeavesTheRecording) {
    // Zoom-out near the start: 1000 - 1250 is clamped to 0, not wrapped.
    CView v(100000, 1000);
    v.view.SetView(1000, 11000);
    EXPECT_TRUE(v.view.ZoomOut());
    EXPECT_EQ(v.View(), Range(0, 12250));

    // Centred steps stop at a span of 10.
    CView small(30, 300);
    const Range steps[] = {{3, 27}, {5, 25}, {7, 23}, {8, 22}, {9, 21}, {10, 20}, {11, 21}};
    for (const Range& expected : steps) {
        EXPECT_TRUE(small.view.ZoomIn());
        EXPECT_EQ(small.View(), expected);
    }

    // Five samples: an anchored step never reaches past the last sample.
    CView tiny(5, 1000);
    EXPECT_TRUE(tiny.view.Wheel(600, 120));
    EXPECT_EQ(tiny.view.ZoomAnchor(), 3);
    EXPECT_EQ(tiny.View(), Range(0, 5));
    EXPECT_TRUE(tiny.view.ZoomOut());
    EXPECT_EQ(tiny.View(), Range(0, 5));

    // No samples: no step, an empty view, no trace.
    CWaveView empty;
    empty.Resize(800, 400);
    empty.SetData(nullptr, 0);
    EXPECT_FALSE(empty.ZoomIn());
    EXPECT_FALSE(empty.ZoomOut());
    EXPECT_FALSE(empty.Wheel(10, 120));
    EXPECT_EQ(empty.ViewEnd(), 0);
    std::vector<CColumnSpan> columns;
    empty.TraceColumns(columns);
    EXPECT_TRUE(std::all_of(columns.begin(), columns.end(), [](auto& c) { return c.Empty(); }));
}

TEST(WaveViewMouse, SelectionIsClampedAndOrderedOnADayLongRecording) {
    CView day(17280000, 1200);  // 24 h at 200 samples/s
    EXPECT_DOUBLE_EQ(day.view.XScale(), 14400.0);
    day.view.ButtonDown(600);
    EXPECT_EQ(day.view.SelStart(), 8640000);
    day.view.MouseMove(1300);  // past the right edge, button held
    EXPECT_EQ(day.view.SelEnd(), 17280000);
    day.view.MouseMove(-50);  // past the left edge
    EXPECT_EQ(day.view.SelEnd(), 0);
    day.view.ButtonUp();
    EXPECT_EQ(day.view.SelStart(), 0);
    EXPECT_EQ(day.view.SelEnd(), 8640000);
    EXPECT_FALSE(day.view.MouseMove(700));  // no drag after the button is up

    // Samples sit where the mouse maps them: sample 13 824 000 is at column 960.
    EXPECT_EQ(day.view.Geometry().X(13824000), 960);
    EXPECT_EQ(day.view.PixelOfSample(13824000), 960);
    EXPECT_EQ(day.view.SampleAtPixel(960), 13824000);
    EXPECT_EQ(day.view.PixelOfSample(-1), 0);
}

TEST(WaveViewRange, ValueRangeIsSignedAndPadded) {
    std::vector<uint16_t> samples = {0, 1023, 512};
    CWaveView view;
    view.Resize(600, 100);
    view.SetData(samples.data(), 3);
    EXPECT_EQ(view.MaxValue(), 1023);
    EXPECT_EQ(view.MinValue(), 0);
    EXPECT_EQ(view.TopValue(), 1145);
    EXPECT_EQ(view.BottomValue(), -122);
    EXPECT_DOUBLE_EQ(view.YScale(), 12.67);
    EXPECT_EQ(view.Geometry().Y(0), 90);  // 1145 / 12.67 = 90.37
    // A flat recording keeps a usable scale.
    std::vector<uint16_t> flat(50, 7);
    view.SetData(flat.data(), 50);
    EXPECT_EQ(view.TopValue(), 7);
    EXPECT_DOUBLE_EQ(view.YScale(), 1.0);
}

TEST(MinMaxPyramid, AnyRunMatchesAPlainScan) {
    std::mt19937 rng(11);
    std::vector<uint16_t> samples(70000);
    for (auto& s : samples) {
        s = static_cast<uint16_t>(rng());
    }
    CMinMaxPyramid pyramid;
    pyramid.Build(samples.data(), static_cast<uint32_t>(samples.size()));
    for (int n = 0; n < 400; ++n) {
        auto a = static_cast<uint32_t>(rng() % samples.size());
        auto b = static_cast<uint32_t>(n % 4 == 0 ? a + rng() % 40 : rng() % samples.size());
        b = std::min<uint32_t>(b, static_cast<uint32_t>(samples.size() - 1));
        if (a > b) {
            std::swap(a, b);
        }
        const auto [lo, hi] = std::minmax_element(samples.begin() + a, samples.begin() + b + 1);
        const CValueRange r = pyramid.Range(a, b);
        ASSERT_EQ(r.m_nMin, *lo) << a << ".." << b;
        ASSERT_EQ(r.m_nMax, *hi) << a << ".." << b;
    }
}

}  // namespace
}  // namespace somatrix
