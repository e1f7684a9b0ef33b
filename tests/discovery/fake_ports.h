#pragma once
// Scripted stand-ins for the scan's seams: sensors that answer the probe requests on a fake
// port, a port list over such ports, a virtual clock, and a sink that records what the panel
// would show, in order.
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "discovery/probe_port.h"
#include "protocol/frame.h"
#include "protocol/monitor_sink.h"

namespace somatrix::testing {

using Bytes = std::vector<uint8_t>;

struct CFakeSensor {
    uint8_t m_nType = 0;
    Bytes m_number = {0x01, 0xA2, 0x00, 0x3F};
    Bytes m_date = {0x15, 0x03, 0x20, 0x20};  // day, month, year, century (BCD)
    uint8_t m_nPresenceCommand = cmd::kPresenceReply;
};

inline Bytes Reply(uint8_t type, uint8_t command, const Bytes& payload = {}) {
    const CFrame f = CFrame::Compose(type, command, payload);
    return {f.data(), f.data() + f.size()};
}

// The bus behind one port: answers every probe request addressed to one of its sensors, with
// `m_prefix` of stray bytes in front of each reply.
struct CFakeBus {
    std::vector<CFakeSensor> m_sensors;
    Bytes m_prefix;
    std::vector<Bytes> m_requests;  // everything written, in order

    Bytes Answer(const Bytes& request) {
        m_requests.push_back(request);
        for (const CFakeSensor& s : m_sensors) {
            if (request.size() < 5 || request[kPosType] != s.m_nType) {
                continue;
            }
            Bytes reply = m_prefix;
            Bytes body;
            switch (request[kPosCommand]) {
                case cmd::kPresence:
                    body = Reply(s.m_nType, s.m_nPresenceCommand);
                    break;
                case cmd::kDeviceNumber:
                    body = Reply(s.m_nType, cmd::kDeviceNumber, s.m_number);
                    break;
                case cmd::kProductionDate:
                    body = Reply(s.m_nType, cmd::kProductionDate, s.m_date);
                    break;
                default:
                    break;
            }
            reply.insert(reply.end(), body.begin(), body.end());
            return reply;
        }
        return m_prefix;
    }
};

class CFakeProbePort : public CProbePort {
public:
    explicit CFakeProbePort(CFakeBus& bus) : m_bus(bus) {}
    void Purge() override { m_pending.clear(); }
    void Write(const uint8_t* data, size_t n) override {
        const Bytes reply = m_bus.Answer(Bytes(data, data + n));
        m_pending.insert(m_pending.end(), reply.begin(), reply.end());
    }
    void ClearErrors() override {}
    size_t Read(uint8_t* dst, size_t max) override {
        const size_t n = std::min(max, m_pending.size());
        std::copy_n(m_pending.begin(), n, dst);
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<long>(n));
        return n;
    }

private:
    CFakeBus& m_bus;
    std::deque<uint8_t> m_pending;
};

// Ports by name; a name without a bus cannot be opened.
class CFakePortList : public CPortList {
public:
    std::vector<std::string> m_names;
    std::map<std::string, CFakeBus> m_buses;
    std::vector<std::string> m_opened;
    std::set<std::string> m_busy;  // held by another program: cannot be opened
    bool m_bLastBusy = false;

    std::vector<std::string> CandidatePorts() override { return m_names; }
    bool LastOpenWasBusy() const override { return m_bLastBusy; }
    std::unique_ptr<CProbePort> OpenProbePort(const std::string& name) override {
        m_opened.push_back(name);
        m_bLastBusy = m_busy.count(name) != 0;
        const auto it = m_buses.find(name);
        if (it == m_buses.end()) {
            return nullptr;
        }
        return std::make_unique<CFakeProbePort>(it->second);
    }
};

class CVirtualClock : public CScanClock {
public:
    uint32_t m_nNow = 1000;
    std::vector<int> m_sleeps;
    uint32_t TickMs() override { return m_nNow; }
    void SleepMs(int ms) override {
        m_sleeps.push_back(ms);
        m_nNow += static_cast<uint32_t>(ms);
    }
};

// Records the panel's visible changes as lines such as "status TEXT" or "progress 3".
class CPanelRecorder : public CMonitorSink {
public:
    std::vector<std::string> m_events;
    std::vector<std::string> m_list;
    int m_nListSelected = -1;
    std::string m_strStatus;
    std::string m_strInfo;
    std::vector<std::string> m_messages;
    CControlStates m_controls;

    void SetStatusText(const std::string& text) override {
        m_strStatus = text;
        m_events.push_back("status " + text);
    }
    void SetInfoLine(const std::string& text) override {
        m_strInfo = text;
        m_events.push_back("info " + text);
    }
    void SetProgressVisible(bool visible) override {
        m_events.push_back(visible ? "progress shown" : "progress hidden");
    }
    void SetProgress(int position) override {
        m_events.push_back("progress " + std::to_string(position));
    }
    void SetDeviceList(const std::vector<std::string>& entries, int selected) override {
        m_list = entries;
        m_nListSelected = selected;
        m_events.push_back("list " + std::to_string(entries.size()) + " " +
                           std::to_string(selected));
    }
    void SetControlStates(const CControlStates& states) override { m_controls = states; }
    void ShowMessage(const std::string& text) override {
        m_messages.push_back(text);
        m_events.push_back("message " + text);
    }
};

}  // namespace somatrix::testing
