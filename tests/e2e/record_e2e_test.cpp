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
    EXPECT_EQ(run.m_strOut, "wrote " + log + "\n");

    const std::string written = ReadText(log);
    const std::string expected = SentReadings(served.Bus(), 0xCA);
    EXPECT_GT(Lines(expected), 100u);  // about two seconds of pulse samples
    EXPECT_EQ(written, expected);
    // The recorder stopped the sensor: its last frame is the stop acknowledgement.
    ASSERT_FALSE(served.Bus().SentFrames().empty());
    EXPECT_EQ(served.Bus().SentFrames().back().Command(), cmd::kStop);
    std::filesystem::remove(log);

    // A sensor that is not on the line is refused before anything is recorded.
    CServedBus other;
    other.Bus().AddSensor(0xCA);
    ASSERT_TRUE(other.Start());
    const CCliRun refused =
        RunCli("record --port " + other.Path() + " --sensor C9 --seconds 1 --parsed " + log);
    EXPECT_EQ(refused.m_nStatus, 1);
    EXPECT_NE(refused.m_strErr.find("C9 is not online"), std::string::npos) << refused.m_strErr;
    EXPECT_FALSE(std::filesystem::exists(log));

    // A port that is not there is named as missing, not taken for a silent sensor.
    const CCliRun nowhere =
        RunCli("record --port /dev/somatrix-no-such-port --sensor CA --seconds 1 --parsed " + log);
    EXPECT_EQ(nowhere.m_nStatus, 1);
    EXPECT_EQ(nowhere.m_strErr,
              "somatrix-cli record: port /dev/somatrix-no-such-port does not exist\n");
    EXPECT_FALSE(std::filesystem::exists(log));
}

// Keeps every byte the link delivered, on its way to the hub.
class CReceivedBytes : public CSerialLinkListener {
public:
    explicit CReceivedBytes(COperCore& core) : m_core(core) {}
    void OnComm(const uint8_t* data, size_t n) override {
        m_bytes.insert(m_bytes.end(), data, data + n);
        m_core.OnComm(data, n);
    }
    void OnLinkLost(const std::string& error) override { m_core.OnLinkLost(error); }
    // Parsed-log lines of the whole pulse data frames received (FF CA 05 c A0 hi lo).
    std::string PulseLines() const {
        std::string lines;
        for (size_t i = 0; i + 7 <= m_bytes.size(); i += 7) {
            EXPECT_EQ(m_bytes[i], 0xFF);
            EXPECT_EQ(m_bytes[i + 4], 0xA0);
            lines += std::to_string(m_bytes[i + 5] * 256 + m_bytes[i + 6]) + ",\n";
        }
        return lines;
    }
    std::vector<uint8_t> m_bytes;

private:
    COperCore& m_core;
};

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
    CReceivedBytes received(core);
    link.SetListener(&received);
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

    // The log holds a line for every frame that was received, and stays usable until it is
    // closed. Frames still in the terminal's buffer when it hung up never arrived: at most the
    // last two the sensor sent are missing.
    served.Stop();
    core.StopLog();
    const std::string written = ReadText(log);
    EXPECT_EQ(written, received.PulseLines());
    const std::string sent = SentReadings(served.Bus(), 0xCA);
    EXPECT_GT(Lines(written), 50u);
    EXPECT_EQ(sent.rfind(written, 0), 0u);
    EXPECT_LE(Lines(sent) - Lines(written), 2u);

    // The operator presses Start again: the port is gone, and the panel says so.
    core.OnStart();
    ASSERT_EQ(panel.m_messages.size(), 2u);
    EXPECT_EQ(panel.m_messages[1], texts::kPortOpenFailed);

    // The sensor is plugged in again: the next scan finds it and a measurement runs.
    CServedBus again;
    again.Bus().AddSensor(0xCA);
    ASSERT_TRUE(again.Start());
    CSystemPortList replugged({again.Path()});
    core.Scan(replugged, clock);
    EXPECT_EQ(core.GetDevicePort().m_strName, again.Path());
    EXPECT_EQ(core.GetSelectedDevice(), core.GetCatalogue().IndexOfType(0xCA));
    core.OnStart();
    timer.restart();
    while (!core.GetFlags().m_bMeasuring && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(core.GetFlags().m_bMeasuring, 1);
    EXPECT_EQ(panel.m_messages.size(), 2u);
    core.Shutdown();
    core.SetSerialLink(nullptr);
    std::filesystem::remove(log);
}

}  // namespace
}  // namespace somatrix
