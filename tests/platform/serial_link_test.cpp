#include <gtest/gtest.h>

#include "platform/ms_comm.h"
#include "protocol/frame.h"
#include "protocol/oper_core.h"
#include "protocol/oper_texts.h"
#include "protocol/recording_sink.h"
#include "pty_pair.h"

namespace somatrix {
namespace {

using testing::CPtyPair;
using testing::PumpUntil;

struct CCountingListener : CSerialLinkListener {
    std::vector<uint8_t> m_received;
    int m_nEvents = 0;
    std::vector<std::string> m_losses;
    void OnComm(const uint8_t* data, size_t n) override {
        ++m_nEvents;
        m_received.insert(m_received.end(), data, data + n);
    }
    void OnLinkLost(const std::string& error) override { m_losses.push_back(error); }
};

TEST(MSComm, FailuresCarryTheirText) {
    CMSComm link;
    std::string error;
    EXPECT_FALSE(link.Open("/dev/somatrix-no-such-port", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.CurrentPort(), "");

    const CFrame start = StartRequest(0xCA);
    error.clear();
    EXPECT_FALSE(link.Write(start.data(), start.size(), error));
    EXPECT_EQ(error, texts::kPortNotOpen);
    EXPECT_TRUE(link.Close(error));  // closing a closed link is no failure
}

TEST(MSComm, CarriesBytesBothWaysAndReportsAnUnplugOnce) {
    CPtyPair pty;
    ASSERT_FALSE(pty.Path().empty());
    CMSComm link;
    CCountingListener listener;
    link.SetListener(&listener);
    std::string error;
    ASSERT_TRUE(link.Open(pty.Path(), error)) << error;
    EXPECT_EQ(link.CurrentPort(), pty.Path());

    // A frame is written unchanged, and leaves without the event loop running.
    const CFrame gain = GainRequest(0xCA, 3);
    ASSERT_TRUE(link.Write(gain.data(), gain.size(), error)) << error;
    EXPECT_EQ(pty.Receive(gain.size()), std::vector<uint8_t>(gain.data(), gain.data() + 6));

    // Every byte arrives in order, binary values untouched.
    std::vector<uint8_t> sent;
    for (int i = 0; i < 256; ++i) {
        sent.push_back(static_cast<uint8_t>(i));
    }
    pty.Send(sent);
    PumpUntil([&] { return listener.m_received.size() >= sent.size(); });
    EXPECT_EQ(listener.m_received, sent);
    EXPECT_TRUE(listener.m_losses.empty());

    pty.Unplug();
    PumpUntil([&] { return !listener.m_losses.empty(); });
    ASSERT_EQ(listener.m_losses.size(), 1u);
    EXPECT_FALSE(listener.m_losses[0].empty());
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.CurrentPort(), "");

    // Closed for good: more turns of the loop bring neither events nor further losses.
    const int events = listener.m_nEvents;
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(listener.m_losses.size(), 1u);
    EXPECT_EQ(listener.m_nEvents, events);
    EXPECT_FALSE(link.Write(gain.data(), gain.size(), error));
    EXPECT_EQ(error, texts::kPortNotOpen);
}

TEST(MSComm, AWriteAfterTheOtherEndHungUpFailsWithItsText) {
    CPtyPair pty;
    CMSComm link;
    CCountingListener listener;
    link.SetListener(&listener);
    std::string error;
    ASSERT_TRUE(link.Open(pty.Path(), error)) << error;
    pty.Unplug();  // the event loop has not run since: nobody has noticed yet
    const CFrame start = StartRequest(0xCA);
    EXPECT_FALSE(link.Write(start.data(), start.size(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_NE(error, texts::kPortNotOpen);
    EXPECT_TRUE(listener.m_losses.empty());  // not while the write was under way
    PumpUntil([&] { return !listener.m_losses.empty(); }, 500);
    EXPECT_EQ(listener.m_losses.size(), 1u);

    // Start through the hub: the flags stay as they were and the port's text is shown once.
    CPtyPair second;
    test::CRecordingSink sink;
    COperCore core(sink);
    core.Initialise({});
    CMSComm hubLink;
    core.SetSerialLink(&hubLink);
    const int index = core.GetCatalogue().IndexOfType(0xCA);
    core.GetCatalogue().At(index).m_bOnline = 1;
    core.SetOnlineCount(1);
    core.SetDevicePort({1, second.Path()});
    core.SelectDevice(index);
    ASSERT_TRUE(core.OpenDevicePort(second.Path()));
    second.Unplug();
    core.OnStart();
    EXPECT_EQ(core.GetFlags(), CMeasurementFlags{});
    ASSERT_EQ(sink.m_messages.size(), 1u);
    EXPECT_FALSE(sink.m_messages[0].empty());
    EXPECT_EQ(sink.m_messages[0].rfind(texts::kLinkLost, 0), std::string::npos);
    PumpUntil([] { return false; }, 200);
    EXPECT_FALSE(core.IsPortOpen());
    EXPECT_EQ(sink.m_messages.size(), 1u);
    core.SetSerialLink(nullptr);
}

}  // namespace
}  // namespace somatrix
