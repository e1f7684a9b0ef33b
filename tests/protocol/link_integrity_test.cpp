// A measurement through a pulled cable (the wait for the same device, its settings given back)
// and the integrity counters of a measurement.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "display/integrity_text.h"
#include "protocol/fake_link.h"
#include "protocol/oper_core.h"
#include "protocol/oper_texts.h"
#include "protocol/recording_sink.h"

namespace somatrix {
namespace {

using test::MakeFrame;
using Bytes = std::vector<uint8_t>;
constexpr int64_t kMs = 1000000;

TEST(IntegrityCounters, CountFromTheStartAndTellGapsFromBursts) {
    CIntegrityCounters counters;
    // Totals from before the Start request do not count.
    counters.Begin({5, 2, 7}, 3, 0);
    counters.Update({9, 3, 10}, 3);
    // 100 frames a second, arriving two at a time every 20 ms: bursts, not gaps.
    int64_t t = 0;
    for (int i = 0; i < 50; ++i, t += 20 * kMs) {
        counters.OnDataFrame(t);
        counters.OnDataFrame(t);
    }
    EXPECT_EQ(counters.Snapshot(t).m_nGaps, 0u);
    EXPECT_EQ(counters.Snapshot(1000 * kMs).m_nFramesPerSecond, 100u);
    // 60 ms is six periods, but shorter than the spacing a busy system gives receive events.
    t += 40 * kMs;
    counters.OnDataFrame(t);
    t += 20 * kMs;
    EXPECT_EQ(counters.Snapshot(t).m_nGaps, 0u);
    // A 200 ms stall is one gap; the frames behind it still count.
    t += 180 * kMs;
    for (int i = 0; i < 10; ++i, t += 10 * kMs) {
        counters.OnDataFrame(t);
    }
    // A lost link the hub knows of is no gap.
    counters.RestartArrivals();
    t += 3000 * kMs;
    counters.OnDataFrame(t);
    counters.Update({120, 4, 12}, 8);
    const CIntegrityStats stats = counters.Snapshot(t);
    EXPECT_EQ(stats.m_nFrames, 112u);
    EXPECT_EQ(stats.m_nGaps, 1u);
    EXPECT_EQ(stats.m_nChecksumErrors, 2u);
    EXPECT_EQ(stats.m_nSkippedBytes, 5u);
    EXPECT_EQ(stats.m_nDroppedBytes, 5u);
    // After the end the figures stay and the rate is zero.
    counters.End();
    EXPECT_EQ(counters.Snapshot(t).m_nFrames, 112u);
    EXPECT_EQ(counters.Snapshot(t).m_nFramesPerSecond, 0u);

    CIntegrityStats shown;
    shown.m_nFramesPerSecond = 250;
    EXPECT_EQ(IntegrityText(shown), "250 帧/秒 · 校验错 0 · 跳过 0 字节 · 丢弃 0 字节 · 间断 0");
    shown.m_nChecksumErrors = 3;
    const auto parts = IntegrityParts(shown);
    ASSERT_EQ(parts.size(), 5u);
    EXPECT_EQ(parts[1].m_strText, "校验错 3");
    EXPECT_TRUE(parts[1].m_bFault);
    EXPECT_FALSE(parts[2].m_bFault);
}

class CLinkSink : public test::CRecordingSink {
public:
    std::vector<std::string> m_events;
    void LinkWaitStarted(const std::string& port) override { m_events.push_back("wait " + port); }
    void LinkRestored(const std::string& port) override { m_events.push_back("back " + port); }
    void LinkWaitEnded() override { m_events.push_back("ended"); }
};

class ReconnectTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_core.SetSerialLink(&m_link);
        m_core.Initialise({});
        m_core.SetAutoReconnect(true);
    }
    // `type` measuring on "ttyUSB0" with the device number 12345678 from the scan.
    void Measure(uint8_t type) {
        const int index = m_core.GetCatalogue().IndexOfType(type);
        m_core.GetCatalogue().At(index).m_bOnline = 1;
        CopyField(m_core.GetCatalogue().At(index).m_szDevNum, "12345678");
        m_core.SetOnlineCount(1);
        m_core.SetDevicePort({1, "ttyUSB0"});
        m_core.SelectDevice(index);
        m_core.OnStart();
        Feed(MakeFrame(type, 0xA0, {0x01, 0x00, 0x00, 0x00, 0x00, 0x00}));
    }
    void Feed(const Bytes& bytes) { m_core.OnComm(bytes.data(), bytes.size()); }

    CLinkSink m_sink;
    test::CFakeLink m_link;
    COperCore m_core{m_sink};
    std::string m_strLog = (std::filesystem::temp_directory_path() /
                            ("somatrix_reconnect_" + std::to_string(::getpid()) + ".csv"))
                               .string();
};

TEST_F(ReconnectTest, WaitsForTheSameDeviceAndGivesItsSettingsBack) {
    Measure(0xCA);
    m_core.OnGainUp();  // gain 4
    ASSERT_TRUE(m_core.StartLogFile(kLogParsed, m_strLog));
    m_link.Unplug();
    // No message: the panel says it waits, and offers only the way out.
    EXPECT_TRUE(m_sink.m_messages.empty());
    EXPECT_TRUE(m_core.IsWaitingForDevice());
    EXPECT_EQ(m_sink.m_events, (std::vector<std::string>{"wait ttyUSB0"}));
    EXPECT_EQ(m_sink.m_strStatus, "设备已断开，正在等待重新连接…");
    EXPECT_EQ(m_core.GetAwaitedDevice().m_nType, 0xCA);
    EXPECT_EQ(m_core.GetAwaitedDevice().m_strNumber, "12345678");
    EXPECT_TRUE(m_core.GetLog().IsOpen());
    EXPECT_FALSE(m_sink.m_controls.m_bStart);
    EXPECT_FALSE(m_sink.m_controls.m_bStop);
    EXPECT_FALSE(m_sink.m_controls.m_bGainUp);
    EXPECT_TRUE(m_sink.m_controls.m_bDeviceList);

    // It answers on a renumbered port: reopened there, gain 4 first, then Start.
    m_link.m_writes.clear();
    ASSERT_TRUE(m_core.OnDeviceFound("ttyUSB3"));
    EXPECT_EQ(m_link.CurrentPort(), "ttyUSB3");
    EXPECT_EQ(m_link.m_writes, (std::vector<Bytes>{{0xFF, 0xCA, 0x04, 0xAC, 0xA4, 0x04},
                                                   {0xFF, 0xCA, 0x03, 0xA3, 0xA0}}));
    EXPECT_EQ(m_sink.m_strStatus, "已重新连接：ttyUSB3");
    EXPECT_EQ(m_sink.m_events.back(), "back ttyUSB3");
    EXPECT_FALSE(m_core.IsWaitingForDevice());
    EXPECT_TRUE(m_core.GetLog().IsOpen());

    // Lost again, and the operator gives up: the wait and the log end.
    Feed(MakeFrame(0xCA, 0xA0, {0x01, 0x00}));
    m_link.Unplug();
    m_core.CancelReconnect();
    EXPECT_FALSE(m_core.IsWaitingForDevice());
    EXPECT_FALSE(m_core.GetLog().IsOpen());
    EXPECT_EQ(m_sink.m_events.back(), "ended");
    EXPECT_FALSE(m_core.OnDeviceFound("ttyUSB3"));
    std::filesystem::remove(m_strLog);
}

TEST_F(ReconnectTest, CalibrationAndModeComeBackAndASelectionEndsTheWait) {
    Measure(0xC9);
    m_core.OnCalibration(5);  // "下调[2]"
    m_link.Unplug();
    m_link.m_writes.clear();
    ASSERT_TRUE(m_core.OnDeviceFound("ttyUSB1"));
    EXPECT_EQ(m_link.m_writes, (std::vector<Bytes>{{0xFF, 0xC9, 0x04, 0x51, 0xCD, 0x80},
                                                   {0xFF, 0xC9, 0x03, 0xA3, 0xA0}}));

    Measure(0xC8);
    m_core.OnMode(1);  // "1-心率输出"
    m_link.Unplug();
    m_link.m_writes.clear();
    ASSERT_TRUE(m_core.OnDeviceFound("ttyUSB2"));
    EXPECT_EQ(m_link.m_writes, (std::vector<Bytes>{{0xFF, 0xC8, 0x04, 0xAC, 0xA7, 0x01},
                                                   {0xFF, 0xC8, 0x03, 0xA3, 0xA0}}));

    // Choosing another device while waiting ends the wait.
    Feed(MakeFrame(0xC8, 0xA0, {0x01, 0x00}));
    m_link.Unplug();
    ASSERT_TRUE(m_core.IsWaitingForDevice());
    m_core.SelectDevice(m_core.GetCatalogue().IndexOfType(0xCA));
    EXPECT_FALSE(m_core.IsWaitingForDevice());
    EXPECT_EQ(m_sink.m_events.back(), "ended");
}

}  // namespace
}  // namespace somatrix
