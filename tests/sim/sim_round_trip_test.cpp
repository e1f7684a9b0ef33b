// Whole scans and measurements through the program's receive path (COperCore) on the in-process
// ports: every value the simulator sent comes back decoded exactly, also through a faulty line.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>

#include "discovery/port_scanner.h"
#include "protocol/oper_core.h"
#include "sim_bus.h"
#include "sim_ports.h"

namespace somatrix {
namespace {

using CValues = std::array<int, 4>;

class CRecordingSink : public CMonitorSink {
public:
    void SetValues(int a, int b, int c, int d) override {
        if (a != -1 || b != -1 || c != -1 || d != -1) {
            m_values.push_back({a, b, c, d});
        }
    }
    void ShowMessage(const std::string& text) override { m_messages.push_back(text); }

    std::vector<CValues> m_values;
    std::vector<std::string> m_messages;
};

// What the panel must show for one frame of the ground truth, in order.
void ExpectedValues(const CSentFrame& f, std::vector<CValues>& out) {
    const std::vector<int>& v = f.m_values;
    const uint8_t t = f.Type();
    const uint8_t c = f.Command();
    const bool bp = IsBloodPressureType(t);
    if (bp && (c == cmd::kBpResult || c == cmd::kCdResult)) {
        out.push_back({v[0], v[1], v[2], v[3]});
    } else if (bp && (c == cmd::kBpEnd || c == cmd::kCdEnd)) {
        out.push_back({v[0], -1, -1, -1});
    } else if (c != (t == type::kBloodPressure ? cmd::kCdData : cmd::kStart)) {
        return;  // replies and acknowledgements show no values
    } else if (t == type::kEmg) {
        for (int s : v) {
            if (s <= 2048) {
                out.push_back({s, -1, -1, -1});
            }
        }
    } else if (t == type::kSkinTemperature) {
        return;  // not decoded
    } else if (t == type::kHeartSound) {
        out.push_back({v[0], -1, -1, -1});
    } else {
        out.push_back({v[0], v.size() > 1 ? v[1] : -1, v.size() > 2 ? v[2] : -1, -1});
    }
}

struct CDemo {
    CVirtualClock clock;
    CSimBus bus;
    CSimPortList ports{clock};
    CSimSerialLink link{ports, 3};
    CRecordingSink sink;
    COperCore core{sink};

    explicit CDemo(uint64_t seed, bool bAll = true) : bus(seed) {
        if (bAll) {
            bus.AddAllSensors();
        }
        ports.AddPort(kSimPortName, bus);
        core.SetSerialLink(&link);
        core.Initialise("");
    }
    ~CDemo() { core.SetSerialLink(nullptr); }
    // A GUI timer of 10 ms pumping the link.
    void Run(uint64_t ms) {
        for (uint64_t i = 0; i < ms; i += 10) {
            clock.AdvanceMs(10);
            link.Pump();
        }
    }
    void Select(uint8_t t) { core.SelectDevice(core.GetCatalogue().IndexOfType(t)); }
};

TEST(SimRoundTrip, ScanFindsAllFourteenThenEveryTypeMeasuresExactly) {
    CDemo demo(21);
    demo.core.Scan(demo.ports, demo.clock);
    EXPECT_GE(demo.clock.NowNs(), 14 * 150 * kNsPerMs);  // virtual time only
    EXPECT_EQ(demo.core.GetDevicePort().m_strName, kSimPortName);
    EXPECT_EQ(demo.core.GetOnlineCount(), 14);
    for (uint8_t t : AllSensorTypes()) {
        const _ZP_Device_Info& record =
            demo.core.GetCatalogue().At(demo.core.GetCatalogue().IndexOfType(t));
        EXPECT_EQ(record.m_bOnline, 1);
        if (IsBloodPressureType(t)) {
            EXPECT_STREQ(record.m_szDevNum, "");
            continue;
        }
        const CSimSensor& sensor = *demo.bus.Sensor(t);
        char number[16];
        std::snprintf(number, sizeof number, "%08X", sensor.DeviceNumber());
        EXPECT_STREQ(record.m_szDevNum, number);
        const auto bcd = sensor.DateBcd();
        EXPECT_EQ(std::string(record.m_szDate), FormatProductionDate(bcd.data()));
    }

    for (uint8_t t : AllSensorTypes()) {
        SCOPED_TRACE(testing::Message() << std::hex << int{t});
        demo.Select(t);
        const size_t firstFrame = demo.bus.SentFrames().size();
        demo.sink.m_values.clear();
        demo.core.OnStart();
        const bool bp = IsBloodPressureType(t);
        demo.Run(bp ? 45000 : 3000);
        if (bp) {
            EXPECT_EQ(demo.core.GetFlags().m_bMeasuring, 0);  // ended by the result
        } else {
            EXPECT_EQ(demo.core.GetFlags().m_bMeasuring, 1);
            demo.core.OnStop();
            demo.Run(100);
            EXPECT_EQ(demo.core.GetFlags(), CMeasurementFlags{});
            EXPECT_FALSE(demo.link.IsOpen());  // the acknowledgement closes the port
        }
        std::vector<CValues> expected;
        for (size_t i = firstFrame; i < demo.bus.SentFrames().size(); ++i) {
            const CSentFrame& f = demo.bus.SentFrames()[i];
            ASSERT_EQ(f.Type(), t);
            ExpectedValues(f, expected);
        }
        if (t != type::kSkinTemperature) {
            EXPECT_GE(expected.size(), 2u);  // the heart-rate sensor sends one per beat
        }
        EXPECT_EQ(demo.sink.m_values, expected);
    }
    EXPECT_TRUE(demo.sink.m_messages.empty());
}

// Longest common subsequence of the decoded and the sent values: how many sent values came
// back, in order.
size_t MatchedInOrder(const std::vector<CValues>& sent, const std::vector<CValues>& decoded) {
    std::vector<uint16_t> prev(decoded.size() + 1, 0), cur(decoded.size() + 1, 0);
    for (size_t i = 1; i <= sent.size(); ++i) {
        for (size_t j = 1; j <= decoded.size(); ++j) {
            cur[j] = sent[i - 1] == decoded[j - 1] ? static_cast<uint16_t>(prev[j - 1] + 1)
                                                   : std::max(prev[j], cur[j - 1]);
        }
        std::swap(prev, cur);
    }
    return prev[decoded.size()];
}

TEST(SimRoundTrip, FaultyLineLosesOnlyFramesTheFaultsTouched) {
    CDemo demo(22, false);
    demo.bus.AddSensor(type::kEcg);
    demo.bus.AddSensor(type::kPulse);
    demo.core.Scan(demo.ports, demo.clock);
    ASSERT_EQ(demo.core.GetOnlineCount(), 2);
    CFaultPlan plan;
    plan.m_fStrayChance = 0.01;
    plan.m_fBitErrorChance = 0.01;
    plan.m_fDropChance = 0.01;
    plan.m_nGarbageEveryNs = 700 * kNsPerMs;
    demo.bus.SetFaults(plan);

    demo.Select(type::kEcg);
    const size_t firstFrame = demo.bus.SentFrames().size();
    demo.sink.m_values.clear();
    demo.core.OnStart();
    demo.Run(8000);

    // A frame is clean when no fault lies from 70 bytes before it (a damaged length byte can
    // make the scanner swallow up to 66 bytes) to its end.
    std::vector<CValues> sent;
    size_t clean = 0, damaged = 0;
    for (size_t i = firstFrame; i < demo.bus.SentFrames().size(); ++i) {
        const CSentFrame& f = demo.bus.SentFrames()[i];
        if (f.Command() != cmd::kStart || !f.m_bComplete) {
            continue;
        }
        ExpectedValues(f, sent);
        damaged += f.m_bDamaged;
        bool touched = f.m_bDamaged;
        for (const CLineFault& fault : demo.bus.LineFaults()) {
            touched |= fault.m_nLineOffset + fault.m_nBytes + 70 > f.m_nLineOffset &&
                       fault.m_nLineOffset < f.m_nLineOffset + f.m_nLineBytes;
        }
        clean += !touched;
    }
    const std::vector<CValues>& decoded = demo.sink.m_values;
    const size_t matched = MatchedInOrder(sent, decoded);
    EXPECT_GT(damaged, 20u);
    EXPECT_GT(clean, sent.size() / 2);
    EXPECT_GE(matched, clean);                     // every clean frame decoded, in order
    EXPECT_LE(decoded.size() - matched, damaged);  // anything else came from a damaged frame
    EXPECT_GT(demo.core.GetScanStats().m_nBadChecksums, 0u);
    std::printf("faulty line: %zu sent, %zu decoded exactly, %zu lost, %zu damaged\n", sent.size(),
                matched, sent.size() - matched, damaged);
    demo.core.OnStop();
    demo.Run(100);
}

TEST(SimRoundTrip, SlowSilentAndUnpluggedSensors) {
    CDemo demo(23, false);
    CSensorConfig slow;
    slow.m_nLatencyNs = 300 * kNsPerMs;
    CSensorConfig silent;
    silent.m_bSilent = true;
    demo.bus.AddSensor(type::kEcg, slow);
    demo.bus.AddSensor(type::kPulse, silent);
    demo.bus.AddSensor(type::kRespiration);

    demo.core.Scan(demo.ports, demo.clock);
    EXPECT_EQ(demo.core.GetOnlineCount(), 1);
    demo.core.SetSlowScan(true);
    demo.core.Scan(demo.ports, demo.clock);
    EXPECT_EQ(demo.core.GetOnlineCount(), 2);
    const auto& catalogue = demo.core.GetCatalogue();
    EXPECT_EQ(catalogue.At(catalogue.IndexOfType(type::kEcg)).m_bOnline, 1);
    EXPECT_EQ(catalogue.At(catalogue.IndexOfType(type::kPulse)).m_bOnline, 0);

    // The line dies during a measurement: the link reports it and closes; the port is gone.
    CFaultPlan plan;
    plan.m_nDisconnectAfterNs = demo.clock.NowNs() + 2 * kNsPerSecond;
    demo.bus.SetFaults(plan);
    demo.Select(type::kRespiration);
    demo.core.OnStart();
    demo.Run(3000);
    EXPECT_FALSE(demo.link.IsOpen());
    EXPECT_EQ(demo.core.GetFlags().m_bMeasuring, 0);
    EXPECT_FALSE(demo.sink.m_messages.empty());
    EXPECT_TRUE(demo.ports.CandidatePorts().empty());
    demo.core.Scan(demo.ports, demo.clock);
    EXPECT_EQ(demo.core.GetDevicePort().m_nPort, -1);
}

TEST(SimRoundTrip, TheFirstAnsweringPortWins) {
    CVirtualClock clock;
    CSimBus empty(1), first(2), second(3);
    first.AddSensor(type::kHeartSound);
    second.AddSensor(type::kEcg);
    CSimPortList ports(clock);
    ports.AddPort("SIM0", empty);
    ports.AddPort("SIM1", first);
    ports.AddPort("SIM2", second);
    CRecordingSink sink;
    CPortScanner scanner(ports, clock, sink, {}, kProbeWaitMs);
    const CScanResult result = scanner.ScanDevicePorts(CCatalogue());
    EXPECT_EQ(result.m_port.m_strName, "SIM1");
    EXPECT_EQ(result.m_port.m_nPort, 2);
    EXPECT_EQ(result.m_catalogue.At(result.m_catalogue.IndexOfType(type::kHeartSound)).m_bOnline,
              1);
    EXPECT_EQ(result.m_catalogue.At(result.m_catalogue.IndexOfType(type::kEcg)).m_bOnline, 0);
    EXPECT_EQ(second.Stats().m_nRequests, 0u);  // never opened
}

}  // namespace
}  // namespace somatrix
