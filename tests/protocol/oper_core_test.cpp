// Measurement control: the requests each command sends, the three flags, the enable rules and
// what the replies store.
#include <gtest/gtest.h>

#include "protocol/fake_link.h"
#include "protocol/oper_core.h"
#include "protocol/oper_texts.h"
#include "protocol/recording_sink.h"

namespace somatrix {
namespace {

using test::MakeFrame;
using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

class OperCoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_core.SetSerialLink(&m_link);
        m_core.Initialise({});
    }
    // A scan found `type` online on port "ttyUSB0" and it is selected.
    void Online(uint8_t type) {
        const int index = m_core.GetCatalogue().IndexOfType(type);
        m_core.GetCatalogue().At(index).m_bOnline = 1;
        m_core.SetOnlineCount(1);
        m_core.SetDevicePort({1, "ttyUSB0"});
        m_core.SelectDevice(index);
        m_sink.Take();  // the selection's own panel lines are tested elsewhere
    }
    void Feed(const Bytes& bytes) { m_core.OnComm(bytes.data(), bytes.size()); }
    const CControlStates& Controls() const { return m_sink.m_controls; }
    CMeasurementFlags Flags(int m, int s, int t) { return {m, s, t}; }

    test::CRecordingSink m_sink;
    test::CFakeLink m_link;
    COperCore m_core{m_sink};
};

TEST_F(OperCoreTest, StartMeasureStopFollowsTheStateTable) {
    Online(0xCE);
    EXPECT_TRUE(Controls().m_bStart);
    EXPECT_FALSE(Controls().m_bStop);
    EXPECT_TRUE(Controls().m_bScan);

    m_core.OnStop();  // before Start: nothing is sent
    EXPECT_TRUE(m_link.m_writes.empty());
    m_sink.Take();

    m_core.OnStart();
    EXPECT_EQ(m_link.m_opens, (std::vector<std::string>{"ttyUSB0"}));
    EXPECT_EQ(m_link.TakeLastWrite(), (Bytes{0xFF, 0xCE, 0x03, 0xA3, 0xA0}));
    EXPECT_EQ(m_sink.Take(), (Lines{"measuring 1", "values -1 -1 -1 -1", "flags 0 1 0"}));
    EXPECT_EQ(m_core.GetFlags(), Flags(0, 1, 0));
    EXPECT_TRUE(Controls().m_bStart);   // starting: start stays enabled
    EXPECT_FALSE(Controls().m_bStop);   // stop waits for the first data frame
    m_core.OnStart();                   // a second start re-sends
    EXPECT_EQ(m_link.TakeLastWrite(), (Bytes{0xFF, 0xCE, 0x03, 0xA3, 0xA0}));
    EXPECT_EQ(m_link.m_opens.size(), 1u);

    Feed(MakeFrame(0xCE, 0xA0, {0x01, 0x00}));
    EXPECT_EQ(m_core.GetFlags(), Flags(1, 0, 0));
    EXPECT_TRUE(Controls().m_bStop);
    EXPECT_FALSE(Controls().m_bStart);
    EXPECT_FALSE(Controls().m_bScan);
    EXPECT_FALSE(Controls().m_bDeviceList);

    m_core.OnStop();
    EXPECT_EQ(m_link.TakeLastWrite(), (Bytes{0xFF, 0xCE, 0x03, 0xA4, 0xA1}));
    EXPECT_EQ(m_core.GetFlags(), Flags(1, 0, 1));
    Feed(MakeFrame(0xCE, 0xA1));
    EXPECT_EQ(m_core.GetFlags(), Flags(0, 0, 0));
    EXPECT_FALSE(m_link.IsOpen());  // the acknowledgement closes the port
    EXPECT_TRUE(Controls().m_bStart);
    EXPECT_TRUE(Controls().m_bScan);
    // A second acknowledgement is ignored.
    m_sink.Take();
    Feed(MakeFrame(0xCE, 0xA1));
    EXPECT_TRUE(m_sink.Take().empty());
}

TEST_F(OperCoreTest, FramesBehindAStopAcknowledgementStartNothingAndStopAlwaysWorks) {
    Online(0xCA);
    m_core.OnStart();
    Feed(MakeFrame(0xCA, 0xA0, {0x01, 0x00}));
    m_core.OnStop();
    // The acknowledgement and one more data frame in the same receive event.
    Feed(Bytes{0xFF, 0xCA, 0x03, 0xA4, 0xA1, 0xFF, 0xCA, 0x05, 0x9A, 0xA0, 0x01, 0xF4});
    EXPECT_EQ(m_core.GetFlags(), Flags(0, 0, 0));
    EXPECT_FALSE(m_link.IsOpen());
    EXPECT_FALSE(Controls().m_bStop);
    EXPECT_TRUE(Controls().m_bStart);
    Feed(MakeFrame(0xCA, 0xA0, {0x01, 0x00}));  // later, port closed
    EXPECT_EQ(m_core.GetFlags(), Flags(0, 0, 0));

    // A new Start measures again.
    m_core.OnStart();
    Feed(MakeFrame(0xCA, 0xA0, {0x01, 0x00}));
    EXPECT_EQ(m_core.GetFlags(), Flags(1, 0, 0));
    // Stop with the port gone under the measurement opens it again and sends the request.
    m_link.m_bOpen = false;
    m_link.m_writes.clear();
    m_core.OnStop();
    EXPECT_EQ(m_link.TakeLastWrite(), (Bytes{0xFF, 0xCA, 0x03, 0xA4, 0xA1}));
    EXPECT_TRUE(m_sink.m_messages.empty());
    // And when the port cannot be opened, Stop still ends the measurement.
    Feed(MakeFrame(0xCA, 0xA1));
    m_core.OnStart();
    Feed(MakeFrame(0xCA, 0xA0, {0x01, 0x00}));
    m_link.m_bOpen = false;
    m_link.m_bFailOpen = true;
    m_core.OnStop();
    EXPECT_EQ(m_core.GetFlags(), Flags(0, 0, 0));
    EXPECT_FALSE(Controls().m_bStop);
    EXPECT_TRUE(m_sink.m_messages.empty());
}

TEST_F(OperCoreTest, ControlsFollowAPortOpenedByAReadAndTheOnlineOnlySwitch) {
    Online(0xC8);
    EXPECT_FALSE(Controls().m_bMode);
    m_core.OnReadDeviceNumber();  // opens the port
    EXPECT_TRUE(m_link.IsOpen());
    EXPECT_TRUE(Controls().m_bMode);
    Online(0xCD);
    m_core.CloseDevicePort();
    m_core.RefreshControls();
    EXPECT_FALSE(Controls().m_bSleep);
    m_core.OnReadProductionDate();
    EXPECT_TRUE(Controls().m_bSleep);
    EXPECT_TRUE(Controls().m_bWake);
    Online(0xCA);
    m_core.CloseDevicePort();
    m_core.RefreshControls();
    EXPECT_FALSE(Controls().m_bGainUp);
    m_core.OnReadDeviceNumber();
    EXPECT_TRUE(Controls().m_bGainUp);
    EXPECT_TRUE(Controls().m_bGainDown);

    // The online-only switch leaves nothing selected: nothing can be started.
    EXPECT_TRUE(Controls().m_bStart);
    m_core.SetOnlineOnly(true);
    EXPECT_EQ(m_core.GetSelectedDevice(), -1);
    EXPECT_FALSE(Controls().m_bStart);
    EXPECT_FALSE(Controls().m_bReadDeviceNumber);
    EXPECT_FALSE(Controls().m_bGainUp);
}

TEST_F(OperCoreTest, BloodPressureStopAndResultKeepThePortOpen) {
    Online(0xCD);
    m_core.OnStart();
    Feed(MakeFrame(0xCD, 0x54, {0x00, 0x50}));
    EXPECT_EQ(m_core.GetFlags(), Flags(1, 0, 0));
    EXPECT_TRUE(Controls().m_bSleep);
    m_core.OnStop();
    EXPECT_EQ(m_link.TakeLastWrite(), (Bytes{0xFF, 0xCD, 0x03, 0xA6, 0xA3}));
    Feed(MakeFrame(0xC0, 0x53));  // 0x53 acknowledges only from 0xCD
    EXPECT_EQ(m_core.GetFlags(), Flags(1, 0, 1));
    Feed(MakeFrame(0xCD, 0x53));
    EXPECT_EQ(m_core.GetFlags(), Flags(0, 0, 0));

    m_core.OnStart();
    Feed(MakeFrame(0xCD, 0x54, {0x00, 0x50}));
    Feed(MakeFrame(0xCD, 0x55, {0x00, 0x78, 0x00, 0x50, 0x48}));
    EXPECT_EQ(m_core.GetFlags(), Flags(0, 0, 0));
    EXPECT_TRUE(m_link.IsOpen());

    m_core.OnSleep();
    EXPECT_EQ(m_link.TakeLastWrite(), (Bytes{0xFF, 0xC0, 0x03, 0xAE, 0xAB}));
    m_core.OnWake();
    EXPECT_EQ(m_link.TakeLastWrite(), (Bytes{0xFF, 0xC0, 0x03, 0xAD, 0xAA}));
}

TEST_F(OperCoreTest, StartWithoutDeviceOrPortShowsWhy) {
    m_core.OnStart();
    EXPECT_EQ(m_sink.m_messages.back(), texts::kChooseDevice);
    Online(0xCA);
    m_core.SetDevicePort({0, ""});
    m_core.OnStart();
    EXPECT_EQ(m_sink.m_messages.back(), texts::kNoValidPort);
    m_core.SetDevicePort({-1, ""});
    m_core.OnReadDeviceNumber();
    EXPECT_EQ(m_sink.m_messages.back(), texts::kNoValidPort);
    m_link.m_bFailOpen = true;
    m_core.SetDevicePort({1, "ttyUSB3"});
    m_core.OnStart();
    EXPECT_EQ(m_sink.m_messages.back(), texts::kPortOpenFailed);
    EXPECT_EQ(m_core.GetFlags(), Flags(0, 0, 0));
    EXPECT_TRUE(m_link.m_writes.empty());

    // A write error is shown with the link's text and leaves the flags alone.
    m_link.m_bFailOpen = false;
    m_link.m_bFailWrite = true;
    m_core.OnStart();
    EXPECT_EQ(m_sink.m_messages.back(), "write failed");
    EXPECT_EQ(m_core.GetFlags(), Flags(0, 0, 0));
}

TEST_F(OperCoreTest, GainStepsWithinZeroToSixteen) {
    Online(0xCA);
    m_core.OnStart();
    Feed(MakeFrame(0xCA, 0xA0, {0x01, 0x00}));
    EXPECT_EQ(m_core.GetGain(), 3);
    m_core.OnGainUp();
    EXPECT_EQ(m_link.TakeLastWrite(), (Bytes{0xFF, 0xCA, 0x04, 0xAC, 0xA4, 0x04}));
    for (int i = 0; i < 20; ++i) {
        m_core.OnGainUp();
    }
    EXPECT_EQ(m_core.GetGain(), 16);
    EXPECT_EQ(m_sink.m_nGainText, 16);
    EXPECT_FALSE(Controls().m_bGainUp);
    m_link.m_writes.clear();
    m_core.OnGainUp();
    EXPECT_TRUE(m_link.m_writes.empty());
    m_core.OnGainDown();
    EXPECT_EQ(m_link.TakeLastWrite(), (Bytes{0xFF, 0xCA, 0x04, 0xB7, 0xA4, 0x0F}));
    EXPECT_TRUE(Controls().m_bGainUp);
    EXPECT_FALSE(Controls().m_bSleep);  // not a blood-pressure type
    EXPECT_FALSE(Controls().m_bCalibration);
}

TEST_F(OperCoreTest, CalibrationAndModeGoOnlyToTheirTypes) {
    Online(0xC9);
    m_core.OnMode(1);
    m_core.OnSleep();
    EXPECT_TRUE(m_link.m_writes.empty());
    m_core.OnReadDeviceNumber();  // opens the port
    m_link.m_writes.clear();
    m_core.OnCalibration(6);
    EXPECT_EQ(m_link.TakeLastWrite(), (Bytes{0xFF, 0xC9, 0x04, 0x91, 0xCD, 0xC0}));
    m_core.OnCalibration(0);
    EXPECT_EQ(m_link.TakeLastWrite(), (Bytes{0xFF, 0xC9, 0x04, 0xCE, 0xCA, 0x00}));
    m_core.RefreshControls();
    EXPECT_TRUE(Controls().m_bCalibration);

    Online(0xC8);
    m_core.OnCalibration(1);
    EXPECT_TRUE(m_link.m_writes.empty());
    EXPECT_EQ(m_sink.m_modeItems, (std::vector<std::string>{"0-周期输出", "1-心率输出"}));
    m_core.OnMode(1);
    EXPECT_EQ(m_link.TakeLastWrite(), (Bytes{0xFF, 0xC8, 0x04, 0xAC, 0xA7, 0x01}));
    Online(0xC3);
    EXPECT_EQ(m_sink.m_modeItems, (std::vector<std::string>{"0-胃信号输入", "1-肠信号输入"}));
    m_core.OnMode(1);
    EXPECT_EQ(m_link.TakeLastWrite(), (Bytes{0xFF, 0xC3, 0x04, 0xB4, 0xAF, 0x01}));
    m_core.OnMode(-1);
    EXPECT_TRUE(m_link.m_writes.empty());
}

TEST_F(OperCoreTest, RepliesAreStoredIntoTheSelectedRecord) {
    Online(0xCA);
    Feed(MakeFrame(0xCE, 0xA2, {0x01, 0xA2, 0x00, 0x3F}));  // from another type: still stored
    Bytes date = MakeFrame(0xCA, 0xA3, {0x05, 0x12, 0x99, 0x19});
    date[3] = 0;  // checksum not checked for production dates
    Feed(date);
    EXPECT_EQ(m_sink.Take(), (Lines{"devnum 01A2003F", "date 1999-12-05"}));
    EXPECT_EQ(m_sink.m_strInfo, "生产日期：1999-12-05");
    const _ZP_Device_Info& info = m_core.GetCatalogue().At(m_core.GetSelectedDevice());
    EXPECT_STREQ(info.m_szDevNum, "01A2003F");
    EXPECT_STREQ(info.m_szDate, "1999-12-05");
    // Digits that are not BCD give a bounded text.
    Feed(MakeFrame(0xCA, 0xA3, {0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_STREQ(info.m_szDate, "16665-165-165");
    // Short replies and replies with no device selected are ignored.
    Feed(MakeFrame(0xCA, 0xA2, {0x01, 0x02, 0x03}));
    m_core.SelectDevice(-1);
    Feed(MakeFrame(0xCA, 0xA2, {0x09, 0x09, 0x09, 0x09}));
    EXPECT_STREQ(info.m_szDevNum, "01A2003F");
    // Presence replies through the link have no effect.
    m_sink.Take();
    Feed(MakeFrame(0xCA, 0x5A));
    Feed(MakeFrame(0xC0, 0xAA));
    EXPECT_TRUE(m_sink.Take().empty());
}

TEST_F(OperCoreTest, UnplugMidMeasurementLeavesTheHubIdle) {
    Online(0xCA);
    m_core.OnStart();
    Feed(MakeFrame(0xCA, 0xA0, {0x01, 0x00}));
    m_link.Unplug();
    EXPECT_EQ(m_core.GetFlags(), Flags(0, 0, 0));
    EXPECT_TRUE(Controls().m_bStart);
    EXPECT_FALSE(Controls().m_bStop);
    ASSERT_EQ(m_sink.m_messages.size(), 1u);
    EXPECT_EQ(m_sink.m_messages[0].rfind(texts::kLinkLost, 0), 0u);
    // Start opens the port again.
    m_core.OnStart();
    EXPECT_EQ(m_link.m_opens.size(), 2u);
}

TEST_F(OperCoreTest, ShutdownSendsStopThenClosesPort) {
    Online(0xCC);
    m_core.OnStart();
    Feed(MakeFrame(0xCC, 0xA0, {0x01, 0x00}));
    m_core.Shutdown();
    EXPECT_EQ(m_link.TakeLastWrite(), (Bytes{0xFF, 0xCC, 0x03, 0xA4, 0xA1}));
    EXPECT_FALSE(m_link.IsOpen());
}

TEST_F(OperCoreTest, SelectingAnOfflineDeviceKeepsButtonsOff) {
    m_core.SetOnlineCount(1);
    m_core.SelectDevice(m_core.GetCatalogue().IndexOfType(0xC7));
    EXPECT_EQ(m_sink.m_strInfo, texts::kDeviceOffline);
    EXPECT_FALSE(Controls().m_bStart);
    EXPECT_FALSE(Controls().m_bMaxMin);
    EXPECT_TRUE(Controls().m_bScan);
}

}  // namespace
}  // namespace somatrix
