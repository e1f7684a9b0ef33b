#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "protocol/oper_texts.h"
#include "served_bus.h"

namespace somatrix {
namespace {

using namespace somatrix::testing;

CSensorConfig Device(uint32_t number, int year, int month, int day) {
    CSensorConfig config;
    config.m_nDeviceNumber = number;
    config.m_nYear = year;
    config.m_nMonth = month;
    config.m_nDay = day;
    return config;
}

// The scan's report with `online` mapping a catalogue index to its "DEVNUM DATE" text.
std::string ExpectedReport(const std::string& status, const std::string& port,
                           const std::map<int, std::string>& online) {
    static const char* kTypes[] = {"C0", "C3", "C4", "C5", "C6", "C7", "C8",
                                   "C9", "CA", "CB", "CC", "CD", "CE", "B1"};
    static const char* kNames[] = {
        "血压传感器VT-303 V2.0", "胃肠电传感器VT-313",   "皮温传感器VT-312", "皮肤电阻传感器VT-311",
        "肌电传感器VT-310",      "血氧传感器VT-309",     "心率传感器VT-308", "体温传感器VT-307",
        "脉搏传感器VT-306",      "红外脉搏传感器VT-305", "呼吸传感器VT-304", "血压传感器VT-303",
        "心电传感器VT-301",      "心音传感器VT-302"};
    std::string report = "status " + status + "\nport " + port + "\n";
    for (int i = 0; i < 14; ++i) {
        const auto it = online.find(i);
        report += "record " + std::to_string(i) + " " + kTypes[i] +
                  (it != online.end() ? " 1 " + it->second : " 0 - -") + " " + kNames[i] + "\n";
    }
    return report;
}

TEST(ScanEndToEnd, FindsExactlyTheSimulatedSensors) {
    CServedBus served;
    served.Bus().AddSensor(0xC0);
    served.Bus().AddSensor(0xCA, Device(0x12345678, 2021, 4, 5));
    served.Bus().AddSensor(0xCE, Device(0x00ABCDEF, 1999, 12, 31));
    ASSERT_TRUE(served.Start());

    QElapsedTimer timer;
    timer.start();
    const CCliRun run = RunCli("scan --port " + served.Path());
    std::printf("[ scan of one port, three sensors: %lld ms ]\n",
                static_cast<long long>(timer.elapsed()));
    EXPECT_EQ(run.m_nStatus, 0) << run.m_strErr;
    EXPECT_EQ(
        run.m_strOut,
        ExpectedReport("端口" + served.Path() + "连接3台设备", served.Path(),
                       {{0, "- -"}, {8, "12345678 2021-04-05"}, {12, "00ABCDEF 1999-12-31"}}));

    // A port that cannot be opened and one where nothing answers, both listed before the
    // sensors' port: the sensors are still found there.
    CServedBus empty;
    ASSERT_TRUE(empty.Start());
    const CCliRun three =
        RunCli("scan --port /dev/null --port " + empty.Path() + " --port " + served.Path());
    EXPECT_EQ(three.m_nStatus, 0);
    EXPECT_NE(three.m_strOut.find("\nport " + served.Path() + "\n"), std::string::npos);

    const CCliRun none = RunCli("scan --port /dev/somatrix-no-such-port");
    EXPECT_EQ(none.m_nStatus, 1);
    EXPECT_EQ(none.m_strOut, ExpectedReport(texts::kNoDeviceOnline, "0", {}));
}

TEST(ScanEndToEnd, ASlowSensorNeedsTheSlowScan) {
    CServedBus served;
    CSensorConfig slow = Device(0x0BADCAFE, 2018, 2, 28);
    slow.m_nLatencyNs = 300'000'000;  // answers after 300 ms: later than the 150 ms wait
    served.Bus().AddSensor(0xCC, slow);
    ASSERT_TRUE(served.Start());

    QElapsedTimer timer;
    timer.start();
    const CCliRun normal = RunCli("scan --port " + served.Path());
    const qint64 normalMs = timer.restart();
    const CCliRun slowScan = RunCli("scan --slow --port " + served.Path());
    std::printf(
        "[ scan of one port, no sensor in time: %lld ms; slow scan, one sensor: %lld ms ]\n",
        static_cast<long long>(normalMs), static_cast<long long>(timer.elapsed()));

    EXPECT_EQ(normal.m_nStatus, 1);
    EXPECT_EQ(normal.m_strOut, ExpectedReport(texts::kNoDeviceOnline, "0", {}));
    EXPECT_EQ(slowScan.m_nStatus, 0);
    EXPECT_EQ(slowScan.m_strOut, ExpectedReport("端口" + served.Path() + "连接1台设备",
                                                served.Path(), {{10, "0BADCAFE 2018-02-28"}}));
}

}  // namespace
}  // namespace somatrix
