#include "platform/scan_runner.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "discovery/fake_ports.h"

namespace somatrix {
namespace {

using namespace somatrix::testing;

// Notes every call that arrives on another thread than the one that made the panel.
class CThreadCheckingPanel : public CPanelRecorder {
public:
    std::thread::id m_owner = std::this_thread::get_id();
    int m_nForeignCalls = 0;
    void SetStatusText(const std::string& text) override {
        Check();
        CPanelRecorder::SetStatusText(text);
    }
    void SetProgressVisible(bool visible) override {
        Check();
        CPanelRecorder::SetProgressVisible(visible);
    }
    void SetProgress(int position) override {
        Check();
        CPanelRecorder::SetProgress(position);
    }

private:
    void Check() { m_nForeignCalls += std::this_thread::get_id() != m_owner; }
};

void Sensors(CFakePortList& ports) {
    ports.m_names = {"ttyUSB0", "ttyUSB1"};
    ports.m_buses["ttyUSB0"].m_sensors = {};
    ports.m_buses["ttyUSB1"].m_sensors = {CFakeSensor{0xC8}, CFakeSensor{0xCD}};
}

TEST(ScanRunner, ShowsWhatAScanOnTheGuiThreadShows) {
    // The same scan on the GUI thread, for reference.
    CPanelRecorder reference;
    COperCore referenceCore(reference);
    referenceCore.Initialise({});
    CFakePortList referencePorts;
    Sensors(referencePorts);
    CVirtualClock referenceClock;
    reference.m_events.clear();
    referenceCore.Scan(referencePorts, referenceClock);

    CThreadCheckingPanel panel;
    COperCore core(panel);
    core.Initialise({});
    CFakePortList ports;
    Sensors(ports);
    CVirtualClock clock;
    CScanRunner runner(core, panel);
    bool finished = false;
    runner.SetFinishedHandler([&] { finished = true; });
    panel.m_events.clear();

    ASSERT_TRUE(runner.Start(ports, clock));
    EXPECT_TRUE(core.IsScanning());
    EXPECT_EQ(panel.m_controls, CControlStates{});  // disabled until the end
    EXPECT_FALSE(runner.Start(ports, clock));       // one scan at a time

    QElapsedTimer timer;
    timer.start();
    while (!finished && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ASSERT_TRUE(finished);
    EXPECT_FALSE(runner.IsRunning());
    EXPECT_FALSE(core.IsScanning());
    EXPECT_EQ(panel.m_nForeignCalls, 0);
    EXPECT_EQ(panel.m_events, reference.m_events);
    EXPECT_EQ(ports.m_buses["ttyUSB1"].m_requests, referencePorts.m_buses["ttyUSB1"].m_requests);
    EXPECT_EQ(panel.m_strStatus, "端口ttyUSB1连接2台设备");
    EXPECT_EQ(core.GetSelectedDevice(), 6);
    EXPECT_TRUE(panel.m_controls.m_bStart);

    // And again, once the first has ended.
    finished = false;
    ASSERT_TRUE(runner.Start(ports, clock));
    while (!finished && timer.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_TRUE(finished);
}

// A clock whose waits take real time, so the window can close while the scan waits.
class CSlowClock : public CVirtualClock {
public:
    std::atomic<int> m_nWaits{0};
    void SleepMs(int ms) override {
        ++m_nWaits;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        CVirtualClock::SleepMs(ms);
    }
};

TEST(ScanRunner, ClosingDuringAScanEndsItAtTheNextExchange) {
    CPanelRecorder panel;
    COperCore core(panel);
    core.Initialise({});
    CFakePortList ports;
    Sensors(ports);  // 14 exchanges on the silent port, then the sensors' port
    CSlowClock clock;
    {
        CScanRunner runner(core, panel);
        ASSERT_TRUE(runner.Start(ports, clock));
        while (clock.m_nWaits == 0) {
            std::this_thread::yield();
        }
    }  // the window closes: the runner goes while the first exchange waits
    EXPECT_EQ(ports.m_buses["ttyUSB0"].m_requests.size(), 1u);
    EXPECT_TRUE(ports.m_buses["ttyUSB1"].m_requests.empty());
    EXPECT_EQ(clock.m_nWaits, 1);
}

}  // namespace
}  // namespace somatrix
