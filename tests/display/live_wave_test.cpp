// The live plot's ring, capacity, page and scrolling display, zoom steps and pixel mapping.
#include <gtest/gtest.h>

#include <vector>

#include "display/live_wave.h"
#include "display/paint_pacing.h"

namespace somatrix {
namespace {

std::vector<int> Shown(const CLiveWave& w) {
    std::vector<int> v;
    for (int i = 0; i < w.DisplayCount(); ++i) {
        v.push_back(w.DisplaySample(i));
    }
    return v;
}

TEST(LiveWave, CapacityFollowsWidthAndZoomWithinTheRing) {
    CLiveWave w;
    EXPECT_EQ(w.Capacity(), 0);
    w.AddSample(7);  // not sized yet: every sample rewrites slot 0
    w.AddSample(8);
    EXPECT_EQ(w.Count(), 1);
    EXPECT_EQ(w.Slot(0), 8);

    w.Resize(600, 246);
    EXPECT_EQ(w.Capacity(), 1000);  // 600 pixels at 60 per 100 samples
    w.Resize(1694, 246);            // the plot of a 1920-pixel screen
    EXPECT_EQ(w.Capacity(), 2823);
    w.Resize(0, 246);
    EXPECT_EQ(w.Capacity(), 32768);
    w.SetZoom(10, 22);
    w.Resize(2560, 246);
    EXPECT_EQ(w.Capacity(), 25600);
    w.Resize(4000, 246);
    EXPECT_EQ(w.Capacity(), 32768);

    // Nothing clears the ring; narrowing keeps the oldest samples that fit.
    w.SetZoom(60, 22);
    w.Resize(6, 246);
    ASSERT_EQ(w.Capacity(), 10);
    for (int v = 1; v <= 8; ++v) {
        w.AddSample(v);
    }
    w.Resize(3, 246);
    EXPECT_EQ(w.Capacity(), 5);
    EXPECT_EQ(Shown(w), (std::vector<int>{8, 1, 2, 3, 4}));
}

TEST(LiveWave, PageDisplayInvalidatesStripsAndRestartsWhenFull) {
    CLiveWave w;
    w.Resize(6, 246);  // capacity 10
    CPlotRepaint r;
    for (int v = 1; v <= 10; ++v) {
        r = w.AddSample(v * 100);
    }
    EXPECT_EQ(r, (CPlotRepaint{CPlotRepaint::kStrip, 2, 10}));  // x = 60 * 10 / 100 = 6
    EXPECT_EQ(w.DisplayCount(), 10);
    r = w.AddSample(-1);  // the 11th clears the page and stands alone at the left edge
    EXPECT_EQ(r.m_eKind, CPlotRepaint::kWhole);
    EXPECT_EQ(Shown(w), (std::vector<int>{65535}));
}

TEST(LiveWave, ScrollingDisplayMovesLeftAndPageDisplayKeepsTheCount) {
    CLiveWave w;
    w.Resize(6, 246);
    w.SetScrollDisplay();
    for (int v = 1; v <= 4; ++v) {
        EXPECT_EQ(w.AddSample(v).m_eKind, CPlotRepaint::kWholeNoErase);
    }
    EXPECT_EQ(Shown(w), (std::vector<int>{1, 2, 3, 4}));  // grows from the left before a wrap
    for (int v = 5; v <= 15; ++v) {
        w.AddSample(v);
    }
    EXPECT_EQ(Shown(w), (std::vector<int>{6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(w.Start(), 5);
    EXPECT_EQ(w.Count(), 5);
    w.SetPageDisplay();
    EXPECT_EQ(w.Start(), 0);
    EXPECT_EQ(Shown(w), (std::vector<int>{11, 12, 13, 14, 15}));
}

TEST(LiveWave, ZoomStepsLimitsAndResets) {
    CLiveWave w;
    w.Resize(600, 246);
    EXPECT_EQ(w.ZoomLabel(), "[X=60%; Y=22%]");
    for (int i = 0; i < 40; ++i) {
        w.ZoomIn(false);
    }
    EXPECT_EQ(w.ZoomX(), 200);
    EXPECT_EQ(w.ZoomY(), 202);
    EXPECT_EQ(w.Capacity(), 300);
    for (int i = 0; i < 60; ++i) {
        w.ZoomOut(false);
    }
    EXPECT_EQ(w.ZoomX(), 10);
    EXPECT_EQ(w.ZoomY(), 7);
    w.ZoomIn(true);  // Shift
    EXPECT_EQ(w.ZoomLabel(), "[X=60%; Y=22%]");

    // From the heart-sound zoom both limits are met exactly; the next step resets to 60/22.
    w.SetZoom(60, 100);
    for (int i = 0; i < 20; ++i) {
        w.ZoomIn(false);
    }
    EXPECT_EQ(w.ZoomLabel(), "[X=200%; Y=200%]");
    w.ZoomIn(false);
    EXPECT_EQ(w.ZoomLabel(), "[X=60%; Y=22%]");

    // Only the enabled axis steps.
    w.ToggleScaleX();
    w.ZoomIn(false);
    EXPECT_EQ(w.ZoomLabel(), "[X=60%; Y=27%]");
    w.ToggleScaleY();
    w.ToggleScaleX();
    w.ZoomOut(false);
    EXPECT_EQ(w.ZoomLabel(), "[X=50%; Y=27%]");
}

TEST(LiveWave, MappingAndTraceOfAtMostFourPointsAColumn) {
    CLiveWave w;
    w.Resize(600, 246);
    EXPECT_EQ(w.PixelX(100), 60);
    EXPECT_EQ(w.PixelY(0), 245);
    EXPECT_EQ(w.PixelY(100), 223);
    EXPECT_EQ(w.PixelY(1000), 25);

    w.SetZoom(10, 22);  // ten samples a column
    for (int i = 0; i < 1000; ++i) {
        w.AddSample(i % 2 == 0 ? 0 : 100);
    }
    std::vector<CPlotPoint> trace;
    w.BuildTrace(0, 100, trace);
    EXPECT_LE(trace.size(), 4u * 101u);
    EXPECT_EQ(trace.front(), (CPlotPoint{0, 245}));
    EXPECT_EQ(trace[1], (CPlotPoint{0, 223}));
    EXPECT_EQ(trace.back().m_nX, 99);
    w.BuildTrace(50, 52, trace);  // a strip: its columns and one sample either side
    EXPECT_EQ(trace.front().m_nX, 49);
    EXPECT_EQ(trace.back().m_nX, 52);
}

TEST(PaintPacing, AtMostOneRepaintPerRefresh) {
    EXPECT_EQ(CPaintPacing::IntervalForRate(60), 16666);
    EXPECT_EQ(CPaintPacing::IntervalForRate(0), 16666);
    CPaintPacing pacing(CPaintPacing::IntervalForRate(50));  // 20 ms
    EXPECT_EQ(pacing.DelayUs(5000), 0);
    pacing.Flushed(5000);
    EXPECT_EQ(pacing.DelayUs(6000), 19000);
    EXPECT_EQ(pacing.DelayUs(25000), 0);
    EXPECT_EQ(pacing.DelayUs(90000), 0);
}

}  // namespace
}  // namespace somatrix
