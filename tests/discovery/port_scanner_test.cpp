#include "discovery/port_scanner.h"

#include <gtest/gtest.h>

#include "discovery/fake_ports.h"

namespace somatrix {
namespace {

using namespace somatrix::testing;

struct CScanFixture {
    CFakePortList m_ports;
    CVirtualClock m_clock;
    CPanelRecorder m_panel;
    std::vector<std::string> m_traces;

    CScanResult Run(int waitMs = kProbeWaitMs) {
        CPortScanner scanner(
            m_ports, m_clock, m_panel,
            [this](const std::string& line) { m_traces.push_back(line); }, waitMs);
        return scanner.ScanDevicePorts(CCatalogue());
    }
};

TEST(PortScanner, ProbesEveryTypeAndReadsNumbersOfThoseOnline) {
    CScanFixture f;
    f.m_ports.m_names = {"ttyUSB0"};
    CFakeBus& bus = f.m_ports.m_buses["ttyUSB0"];
    bus.m_sensors = {CFakeSensor{0xCA}, CFakeSensor{0xC0}, CFakeSensor{0xCE}};
    bus.m_sensors[2].m_nPresenceCommand = cmd::kPresence;  // 0xAA counts like 0x5A
    bus.m_sensors[2].m_number = {0xDE, 0xAD, 0xBE, 0xEF};
    bus.m_sensors[2].m_date = {0x05, 0x12, 0x99, 0x19};
    bus.m_prefix = {0x00, 0xFF, 0x13};  // stray bytes in front of every reply

    const CScanResult r = f.Run();
    EXPECT_EQ(r.m_port.m_nPort, 1);
    EXPECT_EQ(r.m_port.m_strName, "ttyUSB0");

    const CCatalogue& c = r.m_catalogue;
    const auto& pulse = c.At(c.IndexOfType(0xCA));
    EXPECT_EQ(pulse.m_bOnline, 1);
    EXPECT_STREQ(pulse.m_szDevNum, "01A2003F");
    EXPECT_STREQ(pulse.m_szDate, "2020-03-15");
    const auto& ecg = c.At(c.IndexOfType(0xCE));
    EXPECT_EQ(ecg.m_bOnline, 1);
    EXPECT_STREQ(ecg.m_szDevNum, "DEADBEEF");
    EXPECT_STREQ(ecg.m_szDate, "1999-12-05");
    // A blood-pressure sensor is only asked for presence.
    const auto& bp = c.At(c.IndexOfType(0xC0));
    EXPECT_EQ(bp.m_bOnline, 1);
    EXPECT_STREQ(bp.m_szDevNum, "");
    EXPECT_STREQ(bp.m_szDate, "");
    int online = 0;
    for (int i = 0; i < static_cast<int>(c.GetCount()); ++i) {
        online += c.At(i).m_bOnline;
    }
    EXPECT_EQ(online, 3);

    // Requests in order: presence for all 14 types, plus number and date for 0xCA and 0xCE.
    std::vector<Bytes> expected;
    for (int i = 0; i < static_cast<int>(c.GetCount()); ++i) {
        const uint8_t t = c.At(i).m_nType;
        const CFrame p = PresenceRequest(t);
        expected.emplace_back(p.data(), p.data() + p.size());
        if (t == 0xCA || t == 0xCE) {
            const CFrame n = DeviceNumberRequest(t);
            const CFrame d = ProductionDateRequest(t);
            expected.emplace_back(n.data(), n.data() + n.size());
            expected.emplace_back(d.data(), d.data() + d.size());
        }
    }
    EXPECT_EQ(bus.m_requests, expected);
    EXPECT_EQ(f.m_clock.m_sleeps, std::vector<int>(18, kProbeWaitMs));

    // Progress: shown, reset for the port, one step per record, hidden.
    std::vector<std::string> progress;
    for (const std::string& e : f.m_panel.m_events) {
        if (e.rfind("progress", 0) == 0) {
            progress.push_back(e);
        }
    }
    ASSERT_EQ(progress.size(), 2u + 1u + c.GetCount());
    EXPECT_EQ(progress.front(), "progress shown");
    EXPECT_EQ(progress[1], "progress 0");
    EXPECT_EQ(progress[2], "progress 0");
    EXPECT_EQ(progress[15], "progress 13");
    EXPECT_EQ(progress.back(), "progress hidden");
    EXPECT_EQ(f.m_panel.m_strStatus, "正在扫描ttyUSB0......");

    // One polling trace per record, then the port's trace with the virtual times.
    ASSERT_EQ(f.m_traces.size(), c.GetCount() + 1);
    EXPECT_EQ(f.m_traces[0], "********Polling i=0, ReadLen=8, tick=0,150");
    EXPECT_EQ(f.m_traces[1], "********Polling i=1, ReadLen=3, tick=0,150");
    EXPECT_EQ(f.m_traces.back(),
              "========CheckIsZPDevice Port=ttyUSB0, bFindZPDevice=1, tick=2700");
}

TEST(PortScanner, FirstAnsweringPortWinsAndLaterOnesAreNeverOpened) {
    {
        CScanFixture f;  // only the second answers; the first cannot even be opened
        f.m_ports.m_names = {"ttyUSB0", "ttyUSB1", "ttyUSB2"};
        f.m_ports.m_buses["ttyUSB1"].m_sensors = {};
        f.m_ports.m_buses["ttyUSB2"].m_sensors = {CFakeSensor{0xC9}};
        const CScanResult r = f.Run(kSlowProbeWaitMs);
        EXPECT_EQ(r.m_port.m_nPort, 3);
        EXPECT_EQ(r.m_port.m_strName, "ttyUSB2");
        EXPECT_EQ(f.m_ports.m_opened, (std::vector<std::string>{"ttyUSB0", "ttyUSB1", "ttyUSB2"}));
        EXPECT_EQ(f.m_ports.m_buses["ttyUSB1"].m_requests.size(), 14u);
        EXPECT_EQ(f.m_clock.m_sleeps, std::vector<int>(14 + 16, kSlowProbeWaitMs));
        EXPECT_EQ(r.m_catalogue.At(r.m_catalogue.IndexOfType(0xC9)).m_bOnline, 1);
        // Statuses only for ports that opened.
        std::vector<std::string> statuses;
        for (const std::string& e : f.m_panel.m_events) {
            if (e.rfind("status", 0) == 0) {
                statuses.push_back(e);
            }
        }
        EXPECT_EQ(statuses, (std::vector<std::string>{"status 正在扫描ttyUSB1......",
                                                      "status 正在扫描ttyUSB2......"}));
    }
    {
        CScanFixture f;  // both answer: the first is taken
        f.m_ports.m_names = {"a", "b"};
        f.m_ports.m_buses["a"].m_sensors = {CFakeSensor{0xCC}};
        f.m_ports.m_buses["b"].m_sensors = {CFakeSensor{0xCB}};
        const CScanResult r = f.Run();
        EXPECT_EQ(r.m_port.m_strName, "a");
        EXPECT_EQ(f.m_ports.m_opened, std::vector<std::string>{"a"});
        EXPECT_EQ(r.m_catalogue.At(r.m_catalogue.IndexOfType(0xCB)).m_bOnline, 0);
    }
}

TEST(PortScanner, NoCandidateAndNoAnswer) {
    {
        CScanFixture f;
        const CScanResult r = f.Run();
        EXPECT_EQ(r.m_port.m_nPort, -1);
        EXPECT_TRUE(f.m_panel.m_events.empty());  // the progress bar never appears
    }
    {
        CScanFixture f;
        f.m_ports.m_names = {"x"};
        f.m_ports.m_buses["x"].m_prefix = {0xFF, 0xCA, 0x03, 0x5D};  // a cut-off reply only
        const CScanResult r = f.Run();
        EXPECT_EQ(r.m_port.m_nPort, 0);
        EXPECT_TRUE(r.m_port.m_strName.empty());
        EXPECT_EQ(f.m_panel.m_events.back(), "progress hidden");
        EXPECT_EQ(f.m_traces.back(), "========CheckIsZPDevice Port=x, bFindZPDevice=0, tick=2100");
    }
}

TEST(PortScanner, RecordsAreClearedBeforeTheirProbe) {
    CFakePortList ports;
    ports.m_names = {"p"};
    ports.m_buses["p"].m_sensors = {CFakeSensor{0xC5}};
    // The device-number reply of 0xC5 is corrupt, so no production date is asked for.
    ports.m_buses["p"].m_sensors[0].m_number = {};
    CVirtualClock clock;
    CPanelRecorder panel;
    CCatalogue stale;
    stale.At(0).m_bOnline = 1;
    CopyField(stale.At(0).m_szDevNum, "11111111");
    CopyField(stale.At(3).m_szDevNum, "22222222");
    CopyField(stale.At(3).m_szDate, "2001-01-01");
    CPortScanner scanner(ports, clock, panel, {}, kProbeWaitMs);
    const CScanResult r = scanner.ScanDevicePorts(stale);
    EXPECT_EQ(r.m_catalogue.At(0).m_bOnline, 0);
    EXPECT_STREQ(r.m_catalogue.At(0).m_szDevNum, "");
    EXPECT_EQ(r.m_catalogue.At(3).m_bOnline, 1);
    EXPECT_STREQ(r.m_catalogue.At(3).m_szDevNum, "");
    EXPECT_STREQ(r.m_catalogue.At(3).m_szDate, "");
    EXPECT_EQ(ports.m_buses["p"].m_requests.size(), 15u);
}

}  // namespace
}  // namespace somatrix
