#include <gtest/gtest.h>

#include "review/portion_view.h"
#include "review/ruler_labels.h"

namespace somatrix {
namespace {

TEST(PortionView, BoxesAndPansOfADayLongRecording) {
    CPortionView p;
    p.SetWidth(1160);
    p.SetTotal(17280000);
    EXPECT_EQ(p.ViewBox(1160).m_nRight, 1160);
    p.SetView(0, 1440000);  // two hours
    EXPECT_EQ(p.ViewBox(1160).m_nLeft, 0);
    EXPECT_EQ(p.ViewBox(1160).m_nRight, 96);

    // Moves before any button-down are ignored.
    EXPECT_FALSE(p.Drag(20, 5));
    p.ButtonDown(10, 5);
    EXPECT_FALSE(p.Drag(10, 5));
    EXPECT_TRUE(p.Drag(20, 5));  // 10 px = 148 965 samples, far beyond 32-bit products
    EXPECT_EQ(p.ViewStart(), 148965);
    EXPECT_EQ(p.ViewEnd(), 1588965);
    EXPECT_TRUE(p.Drag(0, 5));  // back past the start: stops at 0, span kept
    EXPECT_EQ(p.ViewStart(), 0);
    EXPECT_EQ(p.ViewEnd(), 1440000);
    EXPECT_TRUE(p.Drag(1150, 6));  // far right: stops at the end
    EXPECT_EQ(p.ViewStart(), 15840000);
    EXPECT_EQ(p.ViewEnd(), 17280000);
    EXPECT_TRUE(p.Drag(1159, 6));  // already at the end: handled, unchanged
    EXPECT_EQ(p.ViewEnd(), 17280000);
    EXPECT_TRUE(p.Drag(1159, 9));  // only y changed
    EXPECT_EQ(p.ViewStart(), 15840000);

    // A short recording: a one-pixel move is 0 samples and is dropped.
    p.SetTotal(500);
    p.SetView(100, 200);
    p.SetWidth(1000);
    p.ButtonDown(300, 5);
    EXPECT_TRUE(p.Drag(301, 5));
    EXPECT_EQ(p.ViewStart(), 100);
    EXPECT_TRUE(p.Drag(303, 5));  // from 301, not from 300
    EXPECT_EQ(p.ViewStart(), 101);
}

TEST(PortionView, AViewNarrowerThanAPixelStillHasABox) {
    CPortionView p;
    p.SetTotal(17280000);         // 24 hours
    p.SetView(8640000, 8640200);  // one second in the middle: 0.07 px
    EXPECT_EQ(p.ViewBox(1160).m_nLeft, 580);
    EXPECT_EQ(p.ViewBox(1160).m_nRight, 582);
    p.SetView(17279800, 17280000);  // at the very end: kept inside the strip
    EXPECT_EQ(p.ViewBox(1160).m_nLeft, 1158);
    EXPECT_EQ(p.ViewBox(1160).m_nRight, 1160);
    p.SetView(0, 0);
    EXPECT_EQ(p.ViewBox(1160).m_nLeft, 0);
    EXPECT_EQ(p.ViewBox(1160).m_nRight, 2);
    p.SetView(0, 1440000);  // wide views are as they were
    EXPECT_EQ(p.ViewBox(1160).m_nRight, 96);
}

TEST(PortionView, SelectionFromTheFirstSampleIsShown) {
    CPortionView p;
    p.SetTotal(36000);
    EXPECT_FALSE(p.HasSelection());
    p.SetSelection(0, 9000);
    EXPECT_TRUE(p.HasSelection());
    EXPECT_EQ(p.SelectionBox(1160).m_nLeft, 0);
    EXPECT_EQ(p.SelectionBox(1160).m_nRight, 290);
    p.SetSelection(4000, 4000);  // a click: one pixel
    EXPECT_EQ(p.SelectionBox(1160).m_nLeft, 128);
    EXPECT_EQ(p.SelectionBox(1160).m_nRight, 128);
    p.SetTotal(0);
    EXPECT_FALSE(p.HasSelection());
    EXPECT_EQ(p.ViewBox(700).m_nLeft, 0);
    EXPECT_EQ(p.ViewBox(700).m_nRight, 700);
}

TEST(RulerLabels, MarksTextsAndScales) {
    const auto time = TimeMarks(0, 36000, 1160);
    ASSERT_EQ(time.size(), 25u);
    EXPECT_EQ(time[1].m_nPos, 46);
    EXPECT_EQ(time[1].m_nValue, 1440);
    EXPECT_EQ(time[24].m_nPos, 1113);
    EXPECT_EQ(time[24].m_nValue, 34560);
    // A day-long view needs more than 32 bits for (end - start) * i.
    EXPECT_EQ(TimeMarks(0, 17280000, 1160)[24].m_nValue, 16588800);

    const auto values = ValueMarks(1145, -122, 680);
    ASSERT_EQ(values.size(), 20u);
    EXPECT_EQ(values[0].m_nValue, 1145);
    EXPECT_EQ(values[1].m_nPos, 34);
    EXPECT_EQ(values[1].m_nValue, 1082);
    EXPECT_EQ(values[19].m_nPos, 646);
    EXPECT_EQ(values[19].m_nValue, -58);
    // A 79-unit range: the lowest label is 4, where the trace draws 4.
    EXPECT_EQ(ValueMarks(79, 0, 680)[19].m_nValue, 4);
    EXPECT_EQ(ValueMarks(1310, 1300, 680)[19].m_nValue, 1301);

    EXPECT_EQ(TimeLabel("2023.11.15 06:13:20.005"), "20.005");
    EXPECT_EQ(TimeLabel(""), "");
    EXPECT_EQ(ScaleText(30.0), "1:30.0");
    EXPECT_EQ(ScaleText(14400.0), "1:14400.0");
    EXPECT_EQ(ScaleText(0.002), "1:0.0");
}

}  // namespace
}  // namespace somatrix
