#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <filesystem>

#include "discovery/system_scan_clock.h"
#include "platform/ms_comm.h"
#include "platform/system_port_list.h"
#include "protocol/oper_texts.h"
#include "served_bus.h"

namespace somatrix {
namespace {

using namespace somatrix::testing;

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

size_t Lines(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(RecordEndToEnd, WritesTheParsedLogOfExactlyTheFramesSent) {
    CServedBus served;
    served.Bus().AddSensor(0xCA);
    served.Bus().AddSensor(0xCE);
    ASSERT_TRUE(served.Start());
    const std::string log = TempPath("somatrix_e2e_record.csv");
    const CCliRun run = RunCli("record --port " + served.Path() +
                               " --sensor CA --seconds 2 --gain 5 --parsed " + log);
    served.Stop();
    EXPECT_EQ(run.m_nStatus, 0) << run.m_strErr;
    EXPECT_TRUE(run.m_strErr.empty()) << run.m_strErr;

    const std::string written = ReadText(log);
    const std::string expected = ExpectedParsedLog(served.Bus(), 0xCA, TempPath("expected.csv"));
    EXPECT_GT(Lines(expected), 100u);  // about two seconds of pulse samples
    EXPECT_EQ(written, expected);
    // The recorder stopped the sensor: its last frame is the stop acknowledgement.
    ASSERT_FALSE(served.Bus().SentFrames().empty());
    EXPECT_EQ(served.Bus().SentFrames().back().Command(), cmd::kStop);
    std::filesystem::remove(log);
    std::filesystem::remove(TempPath("expected.csv"));

    // A sensor that is not on the line is refused before anything is recorded.
    CServedBus other;
    other.Bus().AddSensor(0xCA);
    ASSERT_TRUE(other.Start());
    const CCliRun refused =
        RunCli("record --port " + other.Path() + " --sensor C9 --seconds 1 --parsed " + log);
    EXPECT_EQ(refused.m_nStatus, 1);
    EXPECT_NE(refused.m_strErr.find("C9 is not online"), std::string::npos) << refused.m_strErr;
    EXPECT_FALSE(std::filesystem::exists(log));
}

// Counts what the hub shows after the line is gone.
class CIdleWatch : public CMonitorSink {
public:
    int m_nValues = 0;
    std::vector<std::string> m_messages;
    CMeasurementFlags m_flags;
    void SetValues(int, int, int, int) override { ++m_nValues; }
    void FlagsChanged(const CMeasurementFlags& flags) override { m_flags = flags; }
    void ShowMessage(const std::string& text) override { m_messages.push_back(text); }
};

TEST(RecordEndToEnd, UnplugMidMeasurementLeavesTheProgramIdleAndTheLogIntact) {
    CServedBus served;
    served.Bus().AddSensor(0xCA);
    CFaultPlan plan;
    plan.m_nDisconnectAfterNs = 4'000'000'000;  // the scan takes about 2.4 s of it
    served.Bus().SetFaults(plan);
    ASSERT_TRUE(served.Start());

    CIdleWatch panel;
    COperCore core(panel);
    core.Initialise({});
    CMSComm link;
    core.SetSerialLink(&link);
    CSystemPortList ports({served.Path()});
    CSystemScanClock clock;
    core.Scan(ports, clock);
    ASSERT_EQ(core.GetSelectedDevice(), core.GetCatalogue().IndexOfType(0xCA));
    const std::string log = TempPath("somatrix_e2e_unplug.csv");
    std::filesystem::remove(log);
    ASSERT_TRUE(core.StartLogFile(kLogParsed, log));
    core.OnStart();

    QElapsedTimer timer;
    timer.start();
    while (panel.m_messages.empty() && timer.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ASSERT_EQ(panel.m_messages.size(), 1u);
    EXPECT_EQ(panel.m_messages[0].rfind(texts::kLinkLost, 0), 0u) << panel.m_messages[0];
    EXPECT_EQ(core.GetFlags(), CMeasurementFlags{});
    EXPECT_FALSE(core.IsPortOpen());
    EXPECT_TRUE(core.GetLog().IsOpen());
    EXPECT_TRUE(core.ComputeControlStates().m_bScan);

    // Idle: further turns of the event loop bring nothing.
    const int values = panel.m_nValues;
    timer.restart();
    while (timer.elapsed() < 300) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    EXPECT_EQ(panel.m_nValues, values);
    EXPECT_EQ(panel.m_messages.size(), 1u);

    // The log holds every frame that arrived whole, and stays usable until it is closed.
    served.Stop();
    core.StopLog();
    const std::string expected = ExpectedParsedLog(served.Bus(), 0xCA, TempPath("expected2.csv"));
    EXPECT_GT(Lines(expected), 50u);
    EXPECT_EQ(ReadText(log), expected);

    // The operator presses Start again: the port is gone, and the panel says so.
    core.OnStart();
    ASSERT_EQ(panel.m_messages.size(), 2u);
    EXPECT_EQ(panel.m_messages[1], texts::kPortOpenFailed);
    core.SetSerialLink(nullptr);
    std::filesystem::remove(log);
    std::filesystem::remove(TempPath("expected2.csv"));
}

}  // namespace
}  // namespace somatrix
