#include <gtest/gtest.h>

#include "discovery/fake_ports.h"
#include "discovery/port_scanner.h"
#include "protocol/oper_core.h"
#include "protocol/oper_texts.h"

namespace somatrix {
namespace {

using namespace somatrix::testing;

// A link that is open until closed; enough to see the scan close it.
class COpenLink : public CSerialLink {
public:
    bool m_bOpen = true;
    bool Open(const std::string&, std::string&) override { return m_bOpen = true; }
    bool Close(std::string&) override {
        m_bOpen = false;
        return true;
    }
    bool IsOpen() const override { return m_bOpen; }
    std::string CurrentPort() const override { return m_bOpen ? "ttyUSB0" : ""; }
    bool Write(const uint8_t*, size_t, std::string&) override { return m_bOpen; }
    void SetListener(CSerialLinkListener*) override {}
};

struct CHub {
    CPanelRecorder m_panel;
    COperCore m_core{m_panel};
    CFakePortList m_ports;
    CVirtualClock m_clock;

    CHub() { m_core.Initialise({}); }
    void Online(std::vector<uint8_t> types) {
        m_ports.m_names = {"ttyUSB0"};
        CFakeBus& bus = m_ports.m_buses["ttyUSB0"];
        bus.m_sensors.clear();
        for (const uint8_t t : types) {
            bus.m_sensors.push_back(CFakeSensor{t});
        }
    }
    void Scan() {
        m_panel.m_events.clear();
        m_core.Scan(m_ports, m_clock);
    }
    std::string Name(int i) const { return m_core.GetCatalogue().At(i).m_szName; }
    std::vector<std::string> AllNames() const {
        std::vector<std::string> names;
        for (int i = 0; i < 14; ++i) {
            names.push_back(Name(i));
        }
        return names;
    }
};

TEST(DeviceList, ScanWithTwoSensorsOnline) {
    CHub hub;
    EXPECT_EQ(hub.m_panel.m_list, hub.AllNames());
    EXPECT_EQ(hub.m_panel.m_strStatus, texts::kScanFirst);

    hub.Online({0xC5, 0xC0});  // catalogue indexes 3 and 0
    hub.Scan();
    EXPECT_EQ(hub.m_core.GetDevicePort().m_strName, "ttyUSB0");
    EXPECT_EQ(hub.m_core.GetOnlineCount(), 2);
    EXPECT_EQ(hub.m_core.GetSelectedDevice(), 0);
    std::vector<std::string> expected = hub.AllNames();
    expected[0] += "(在线)";
    expected[3] += "(在线)";
    EXPECT_EQ(hub.m_panel.m_list, expected);
    EXPECT_EQ(hub.m_panel.m_nListSelected, 0);
    EXPECT_EQ(hub.m_panel.m_strStatus, "端口ttyUSB0连接2台设备");
    // Blood pressure answers presence only: empty number and date.
    EXPECT_EQ(hub.m_panel.m_strInfo, "设备号; ");
    EXPECT_TRUE(hub.m_panel.m_controls.m_bStart);
    EXPECT_TRUE(hub.m_panel.m_messages.empty());

    // The visible sequence: list emptied, progress, port status, result.
    const std::vector<std::string>& e = hub.m_panel.m_events;
    ASSERT_GE(e.size(), 5u);
    EXPECT_EQ(e[0], "list 0 -1");
    EXPECT_EQ(e[1], "progress shown");
    EXPECT_EQ(e[2], "progress 0");
    EXPECT_EQ(e[3], "status 正在扫描ttyUSB0......");
    const auto hidden = std::find(e.begin(), e.end(), "progress hidden");
    ASSERT_NE(hidden, e.end());
    EXPECT_EQ(
        std::vector<std::string>(hidden + 1, e.end()),
        (std::vector<std::string>{"status 端口ttyUSB0连接2台设备", "list 14 0", "info 设备号; "}));

    // Selecting the other online entry shows its number and date.
    hub.m_core.OnDeviceListSelect(3);
    EXPECT_EQ(hub.m_core.GetSelectedDevice(), 3);
    EXPECT_EQ(hub.m_panel.m_strInfo, "设备号01A2003F; 2020-03-15");
}

TEST(DeviceList, OnlineOnlyScanAndToggling) {
    CHub hub;
    hub.m_core.SetOnlineOnly(true);
    EXPECT_TRUE(hub.m_panel.m_list.empty());  // nothing is online before a scan

    hub.Online({0xCE, 0xC9});
    hub.Scan();
    EXPECT_EQ(hub.m_panel.m_list, (std::vector<std::string>{hub.Name(7), hub.Name(12)}));
    EXPECT_EQ(hub.m_panel.m_nListSelected, 0);
    EXPECT_EQ(hub.m_core.GetSelectedDevice(), 7);
    EXPECT_EQ(hub.m_panel.m_strStatus, "端口ttyUSB0连接2台设备");

    // Off: every record, online ones marked, and no selection; the lines keep their texts.
    const std::string info = hub.m_panel.m_strInfo;
    hub.m_core.SetOnlineOnly(false);
    ASSERT_EQ(hub.m_panel.m_list.size(), 14u);
    EXPECT_EQ(hub.m_panel.m_list[7], hub.Name(7) + "(在线)");
    EXPECT_EQ(hub.m_panel.m_list[12], hub.Name(12) + "(在线)");
    EXPECT_EQ(hub.m_panel.m_list[8], hub.Name(8));
    EXPECT_EQ(hub.m_panel.m_nListSelected, -1);
    EXPECT_EQ(hub.m_core.GetSelectedDevice(), -1);
    EXPECT_EQ(hub.m_panel.m_strStatus, "端口ttyUSB0连接2台设备");
    EXPECT_EQ(hub.m_panel.m_strInfo, info);

    // While a measurement runs its device keeps its entry, so Stop can still address it.
    hub.m_core.OnDeviceListSelect(12);
    const std::vector<uint8_t> data = {0xFF, 0xCE, 0x05, 0xA6, 0xA0, 0x01, 0x00};
    hub.m_core.OnComm(data.data(), data.size());
    ASSERT_EQ(hub.m_core.GetFlags().m_bMeasuring, 1);
    hub.m_core.SetOnlineOnly(true);
    EXPECT_EQ(hub.m_panel.m_nListSelected, 1);
    EXPECT_EQ(hub.m_core.GetSelectedDevice(), 12);
    hub.m_core.SetOnlineOnly(false);
    EXPECT_EQ(hub.m_panel.m_nListSelected, 12);
    EXPECT_EQ(hub.m_core.GetSelectedDevice(), 12);
    const std::vector<uint8_t> stopped = {0xFF, 0xCE, 0x03, 0xA4, 0xA1};
    hub.m_core.OnComm(stopped.data(), stopped.size());
    ASSERT_EQ(hub.m_core.GetFlags().m_bMeasuring, 0);

    // An offline entry can be selected, but nothing can be done with it.
    hub.m_core.OnDeviceListSelect(8);
    EXPECT_EQ(hub.m_core.GetSelectedDevice(), 8);
    EXPECT_EQ(hub.m_panel.m_strInfo, texts::kDeviceOffline);
    EXPECT_FALSE(hub.m_panel.m_controls.m_bStart);
    EXPECT_FALSE(hub.m_panel.m_controls.m_bReadDeviceNumber);
    EXPECT_TRUE(hub.m_panel.m_controls.m_bDeviceList);

    // On again: the offline selection is not listed, so nothing stays selected.
    hub.m_core.SetOnlineOnly(true);
    EXPECT_EQ(hub.m_panel.m_list.size(), 2u);
    EXPECT_EQ(hub.m_panel.m_nListSelected, -1);
    EXPECT_EQ(hub.m_core.GetSelectedDevice(), -1);
    EXPECT_EQ(hub.m_panel.m_strInfo, texts::kDeviceOffline);  // the info line keeps its text
}

TEST(DeviceList, ScansThatFindNothing) {
    CHub hub;
    hub.Online({0xCA});
    hub.Scan();
    ASSERT_EQ(hub.m_core.GetSelectedDevice(), 8);

    // The sensor is gone: none answered.
    hub.Online({});
    hub.Scan();
    EXPECT_EQ(hub.m_core.GetDevicePort().m_nPort, 0);
    EXPECT_EQ(hub.m_panel.m_strStatus, texts::kNoDeviceOnline);
    EXPECT_EQ(hub.m_panel.m_list, hub.AllNames());
    EXPECT_EQ(hub.m_panel.m_nListSelected, -1);
    EXPECT_EQ(hub.m_core.GetSelectedDevice(), -1);
    EXPECT_EQ(hub.m_core.GetOnlineCount(), 0);
    EXPECT_FALSE(hub.m_panel.m_controls.m_bStart);
    EXPECT_TRUE(hub.m_panel.m_messages.empty());

    // Found again, then no port at all: the message, and no record claims to be online although
    // no port could be probed this time.
    hub.Online({0xCA});
    hub.Scan();
    hub.m_ports.m_names.clear();
    hub.Scan();
    EXPECT_EQ(hub.m_core.GetDevicePort().m_nPort, -1);
    EXPECT_EQ(hub.m_panel.m_messages, std::vector<std::string>{texts::kNoPortFound});
    EXPECT_EQ(hub.m_panel.m_events[1], std::string("message ") + texts::kNoPortFound);
    EXPECT_EQ(hub.m_panel.m_strStatus, texts::kNoDeviceOnline);
    EXPECT_EQ(hub.m_panel.m_list, hub.AllNames());
    hub.m_core.SetOnlineOnly(true);
    EXPECT_TRUE(hub.m_panel.m_list.empty());

    // A candidate that cannot be opened leaves the same picture, without the message.
    hub.m_core.SetOnlineOnly(false);
    hub.m_ports.m_names = {"busy"};
    hub.Scan();
    EXPECT_EQ(hub.m_core.GetDevicePort().m_nPort, 0);
    EXPECT_EQ(hub.m_panel.m_messages.size(), 1u);
    EXPECT_EQ(hub.m_panel.m_list, hub.AllNames());
    EXPECT_EQ(hub.m_panel.m_strStatus, texts::kNoDeviceOnline);
    // One that another program holds is named, so the operator knows what to close.
    hub.m_ports.m_names = {"ttyUSB0", "ttyUSB1"};
    hub.m_ports.m_buses.clear();
    hub.m_ports.m_busy = {"ttyUSB1"};
    hub.Scan();
    EXPECT_EQ(hub.m_core.GetDevicePort().m_nPort, 0);
    EXPECT_EQ(hub.m_panel.m_strStatus, "端口ttyUSB1已被其他程序占用");
}

TEST(DeviceList, ThreadedScanKeepsControlsDisabledAndClosesTheLink) {
    CHub hub;
    COpenLink link;
    hub.m_core.SetSerialLink(&link);
    hub.m_core.SetSlowScan(true);
    EXPECT_EQ(hub.m_core.GetProbeWaitMs(), 600);
    hub.Online({0xCC});

    CScanJob job = hub.m_core.BeginScan();
    EXPECT_FALSE(link.IsOpen());
    EXPECT_TRUE(hub.m_core.IsScanning());
    EXPECT_EQ(hub.m_panel.m_controls, CControlStates{});
    EXPECT_EQ(job.m_nWaitMs, 600);
    // Whatever reaches the hub meanwhile cannot enable anything.
    hub.m_core.RefreshControls();
    EXPECT_EQ(hub.m_panel.m_controls, CControlStates{});

    CPortScanner scanner(hub.m_ports, hub.m_clock, hub.m_panel, {}, job.m_nWaitMs);
    const CScanResult result = scanner.ScanDevicePorts(std::move(job.m_catalogue));
    EXPECT_EQ(hub.m_core.GetCatalogue().At(10).m_bOnline, 0);  // applied only at the end
    hub.m_core.FinishScan(result);
    EXPECT_FALSE(hub.m_core.IsScanning());
    EXPECT_EQ(hub.m_core.GetCatalogue().At(10).m_bOnline, 1);
    EXPECT_STREQ(hub.m_core.GetCatalogue().At(10).m_szDate, "2020-03-15");
    EXPECT_EQ(hub.m_core.GetSelectedDevice(), 10);
    EXPECT_TRUE(hub.m_panel.m_controls.m_bStart);
    EXPECT_TRUE(hub.m_panel.m_controls.m_bScan);
    EXPECT_EQ(hub.m_clock.m_sleeps.front(), 600);
    EXPECT_TRUE(hub.m_panel.m_controls.m_bOnlineOnly);
    EXPECT_TRUE(hub.m_panel.m_controls.m_bSlowScan);

    // The switches wait for the scan too: the online-only flag takes effect on its result, not
    // on the previous scan's.
    job = hub.m_core.BeginScan();
    hub.m_core.SetOnlineOnly(true);
    EXPECT_TRUE(hub.m_panel.m_list.empty());
    EXPECT_EQ(hub.m_panel.m_controls, CControlStates{});
    hub.Online({0xC8});
    CPortScanner again(hub.m_ports, hub.m_clock, hub.m_panel, {}, job.m_nWaitMs);
    hub.m_core.FinishScan(again.ScanDevicePorts(std::move(job.m_catalogue)));
    EXPECT_EQ(hub.m_panel.m_list, std::vector<std::string>{hub.Name(6)});
    EXPECT_EQ(hub.m_core.GetSelectedDevice(), 6);
    hub.m_core.SetSerialLink(nullptr);
}

TEST(DeviceList, SelectionMatchesTheFirstContainedName) {
    CHub hub;
    CopyField(hub.m_core.GetCatalogue().At(2).m_szName, "Pulse");
    CopyField(hub.m_core.GetCatalogue().At(5).m_szName, "Pulse Pro");
    hub.Online({0xC7});  // index 5
    hub.Scan();
    // The entry "Pulse Pro(在线)" contains "Pulse" first in catalogue order.
    EXPECT_EQ(hub.m_panel.m_list[5], "Pulse Pro(在线)");
    EXPECT_EQ(hub.m_core.GetSelectedDevice(), 2);
    EXPECT_EQ(hub.m_panel.m_strInfo, texts::kDeviceOffline);
    EXPECT_FALSE(hub.m_panel.m_controls.m_bStart);
}

}  // namespace
}  // namespace somatrix
