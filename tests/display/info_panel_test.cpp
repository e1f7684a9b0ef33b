// The information panel's rows per sensor type and state, as laid out and as described.
#include <gtest/gtest.h>

#include "display/info_panel.h"

namespace somatrix {
namespace {

TEST(InfoPanel, BloodPressureCuffPressureAndResultRows) {
    CInfoPanel p;
    p.SetSensor(0xC0, "血压");
    p.SetMeasuring(true);
    p.SetValues(123, 16, -1, -1);
    std::vector<CInfoItem> items = p.Layout(204, 176);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0],
              (CInfoItem{"血压", 4, 4, false, CInfoItem::kSmall, CInfoItem::kHeader, -1}));
    EXPECT_EQ(items[1],
              (CInfoItem{"123 mmHg", 10, 40, false, CInfoItem::kLarge, CInfoItem::kValue, 0}));

    p.SetResultValues(120, 80, 72, 128);
    p.SetMeasuring(false);
    items = p.Layout(204, 176);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[4].m_nX, 12);
    EXPECT_EQ(items[4].m_nY, 36 + 96);
    EXPECT_EQ(p.Description(),
              "血压\n收缩压: 120mmHg\n舒张压: 80mmHg\n心  率: 72次/分\n提  示: 心率不齐");

    p.SetResultValues(118, 79, -1, 0);
    EXPECT_EQ(p.Description(), "血压\n收缩压: 118mmHg\n舒张压: 79mmHg");
    p.SetResultValues(3, -1, -1, -1);  // an end frame: the value area stays empty
    EXPECT_EQ(p.Description(), "血压");

    // Data frames after a stop are cuff pressures, never a result.
    p.SetValues(143, 0, -1, -1);
    EXPECT_EQ(p.Description(), "血压\n143 mmHg");
    p.SetMaxMin(true, 150, 0, -1, -1);
    EXPECT_EQ(p.Description(), "血压\n143 mmHg\t150/0");  // no header label while stopped
}

TEST(InfoPanel, HeaderLabelAndExtremesPairs) {
    CInfoPanel p;
    p.SetSensor(0xCA, "脉搏");
    p.SetValues(500, -1, -1, -1);
    EXPECT_EQ(p.Description(), "脉搏\n500");
    EXPECT_TRUE(p.SetMaxMin(true, 80, -1, -1, -1));
    EXPECT_FALSE(p.SetMaxMin(true, 80, -1, -1, -1));
    const std::vector<CInfoItem> items = p.Layout(204, 176);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[1],
              (CInfoItem{"最大/小值", 200, 4, true, CInfoItem::kSmall, CInfoItem::kHeader, -1}));
    EXPECT_EQ(items[3],
              (CInfoItem{"80/  ", 198, 40, true, CInfoItem::kLarge, CInfoItem::kValue, 0}));
    p.SetMaxMin(true, -1, 40, -1, -1);
    EXPECT_EQ(p.Layout(204, 176)[3].m_strText, "  /40");
    p.SetMaxMin(true, -1, -1, -1, -1);
    EXPECT_EQ(p.Description(), "脉搏\t最大/小值\n500");
    p.SetAmplitude(37);  // the heart-sound amplitude sits in row 2
    p.SetMaxMin(true, 600, 400, -1, -1);
    EXPECT_EQ(p.Description(), "脉搏\t最大/小值\n500\t600/400\n37");
    p.SetMeasuring(false);
    EXPECT_EQ(p.Description(), "脉搏\n500\t600/400\n37");
    p.SetMaxMin(false, 600, 400, -1, -1);
    EXPECT_EQ(p.Description(), "脉搏\n500");
}

TEST(InfoPanel, LayoutsOfGastroOxygenAndTemperature) {
    CInfoPanel p;
    p.SetSensor(0xC3, "胃肠");
    p.SetValues(512, -1, -1, -1);
    EXPECT_EQ(p.Description(), "胃肠\n导联1: 512\n导联2: -1");
    EXPECT_EQ(p.Layout(204, 176)[2].m_nX, 20);
    EXPECT_EQ(p.Layout(204, 176)[2].m_nY, 36 + 32);
    p.SetMaxMin(true, 600, 500, 700, 300);
    EXPECT_EQ(p.Description(), "胃肠\t最大/小值\n导联1: 512\t600/500\n导联2: -1\t700/300");

    p.SetSensor(0xC7, "血氧");
    p.SetValues(120, 98, 72, -1);
    EXPECT_EQ(p.Description(), "血氧\t最大/小值\n血容积:120\n血氧: 98%\n心率: 72");
    p.SetMaxMin(false, -1, -1, -1, -1);
    EXPECT_EQ(p.Description(), "血氧\n血容积幅值: 120\n血氧饱和度: 98%\n心率: 72");

    p.SetSensor(0xC9, "体温");
    p.SetValues(365, -1, -1, -1);
    EXPECT_EQ(p.Layout(204, 176)[1].m_strText, "36.5   ");
    p.SetMaxMin(true, 372, 365, -1, -1);
    EXPECT_EQ(p.Description(), "体温\t最大/小值\n36.5\t37.2/36.5");
    p.SetMaxMin(true, 372, -1, -1, -1);
    EXPECT_EQ(p.Layout(204, 176).back().m_strText, "37.2/  ");
    p.SetMaxMin(true, -1, 365, -1, -1);
    EXPECT_EQ(p.Layout(204, 176).back().m_strText, "   /36.5");
    p.SetValues(-1, -1, -1, -1);
    EXPECT_EQ(p.Description(), "体温\t最大/小值");
}

TEST(InfoPanel, SelectionForgetsTheValuesExtremesAndAmplitudeOfTheLastSensor) {
    CInfoPanel p;
    p.SetSensor(0xCE, "心电");
    p.SetValues(512, -1, -1, -1);
    p.SetMaxMin(true, 900, 100, -1, -1);
    p.SetAmplitude(120);
    p.SetSensor(0xC9, "体温");
    EXPECT_EQ(p.Description(), "体温\t最大/小值");
    p.SetValues(365, -1, -1, -1);
    EXPECT_EQ(p.Description(), "体温\t最大/小值\n36.5");
    EXPECT_EQ(p.Amplitude(), 0);
    EXPECT_TRUE(p.MaxMin());  // the switch itself stays as the operator set it
}


TEST(InfoPanel, HeartRateRowOfTheEcgAndPulsePanels) {
    CInfoPanel p;
    p.SetSensor(0xCE, "心电");
    p.SetValues(495, -1, -1, -1);
    EXPECT_EQ(p.Description(), "心电\n495");  // the row is the window's to turn on
    p.ShowHeartRate(true);
    EXPECT_EQ(p.Description(), "心电\n495\n心率: --");
    p.SetHeartRate(75);
    EXPECT_EQ(p.Description(), "心电\n495\n心率: 75次/分");
    const std::vector<CInfoItem> items = p.Layout(204, 176);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2],
              (CInfoItem{"心率: 75次/分", 20, 68, false, CInfoItem::kLarge, CInfoItem::kValue, 1}));
    p.SetHeartRate(-1);
    EXPECT_EQ(p.Description(), "心电\n495\n心率: --");
    for (uint8_t t : {uint8_t{0xCA}, uint8_t{0xCB}}) {
        p.SetSensor(t, "脉搏");
        p.SetValues(600, -1, -1, -1);
        EXPECT_EQ(p.Description(), "脉搏\n600\n心率: --");
    }
    p.SetHeartRate(62);
    p.SetSensor(0xCE, "心电");  // a new device forgets the rate
    p.SetValues(495, -1, -1, -1);
    EXPECT_EQ(p.Description(), "心电\n495\n心率: --");
    p.SetSensor(0xC3, "胃肠");
    p.SetValues(512, 500, -1, -1);
    EXPECT_EQ(p.Description(), "胃肠\n导联1: 512\n导联2: 500");
}

}  // namespace
}  // namespace somatrix
