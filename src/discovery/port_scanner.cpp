#include "discovery/port_scanner.h"

#include <cstdio>
#include <cstring>

#include "discovery/probe_reply.h"
#include "protocol/oper_texts.h"

namespace somatrix {

namespace {

constexpr size_t kProbeReadBytes = 32;

}  // namespace

CPortScanner::CPortScanner(CPortList& ports, CScanClock& clock, CMonitorSink& progress,
                           CScanTrace trace, int waitMs)
    : m_ports(ports),
      m_clock(clock),
      m_progress(progress),
      m_trace(std::move(trace)),
      m_nWaitMs(waitMs) {}

CScanResult CPortScanner::ScanDevicePorts(CCatalogue catalogue) {
    CScanResult result{CDevicePort{}, std::move(catalogue), {}};
    const std::vector<std::string> candidates = m_ports.CandidatePorts();
    if (candidates.empty()) {
        result.m_port.m_nPort = -1;
        return result;
    }
    m_progress.SetProgressVisible(true);
    for (size_t i = 0; i < candidates.size() && !IsCancelled(); ++i) {
        const std::string& name = candidates[i];
        m_progress.SetProgress(0);
        std::unique_ptr<CProbePort> port = m_ports.OpenProbePort(name);
        if (!port) {
            if (m_ports.LastOpenWasBusy()) {
                result.m_busyPorts.push_back(name);
            }
            continue;
        }
        char status[128];
        std::snprintf(status, sizeof status, texts::kScanningPort, name.c_str());
        m_progress.SetStatusText(status);
        const uint32_t start = m_clock.TickMs();
        const bool found = CheckIsZPDevice(*port, result.m_catalogue);
        if (m_trace) {
            char line[160];
            std::snprintf(line, sizeof line,
                          "========CheckIsZPDevice Port=%s, bFindZPDevice=%d, tick=%u",
                          name.c_str(), found ? 1 : 0, m_clock.TickMs() - start);
            m_trace(line);
        }
        port.reset();
        if (found) {
            result.m_port = CDevicePort{static_cast<int>(i) + 1, name};
            break;
        }
    }
    m_progress.SetProgressVisible(false);
    return result;
}

bool CPortScanner::CheckIsZPDevice(CProbePort& port, CCatalogue& catalogue) {
    bool answered = false;
    for (size_t i = 0; i < catalogue.GetCount() && !IsCancelled(); ++i) {
        _ZP_Device_Info& info = catalogue.At(static_cast<int>(i));
        const uint8_t t = info.m_nType;
        info.m_bOnline = 0;
        info.m_szDevNum[0] = '\0';
        info.m_szDate[0] = '\0';
        m_progress.SetProgress(static_cast<int>(i));

        const uint32_t start = m_clock.TickMs();
        const size_t n = Exchange(port, PresenceRequest(t));
        if (FindPresenceReply(m_buffer, n, t)) {
            info.m_bOnline = 1;
            answered = true;
        }
        if (m_trace) {
            char line[160];
            std::snprintf(line, sizeof line, "********Polling i=%zu, ReadLen=%zu, tick=%u,%u", i, n,
                          m_nWriteTick - start, m_nReadTick - m_nWriteTick);
            m_trace(line);
        }

        // The blood-pressure sensors answer presence only.
        if (IsBloodPressureType(t) || !info.m_bOnline) {
            continue;
        }
        const size_t numberBytes = Exchange(port, DeviceNumberRequest(t));
        if (auto number = FindDeviceNumberReply(m_buffer, numberBytes, t)) {
            CopyField(info.m_szDevNum, *number);
        }
        if (std::strlen(info.m_szDevNum) > 1) {
            const size_t dateBytes = Exchange(port, ProductionDateRequest(t));
            if (auto date = FindProductionDateReply(m_buffer, dateBytes, t)) {
                CopyField(info.m_szDate, *date);
            }
        }
    }
    return answered;
}

size_t CPortScanner::Exchange(CProbePort& port, const CFrame& request) {
    if (IsCancelled()) {
        return 0;
    }
    port.Purge();
    port.Write(request.data(), request.size());
    m_nWriteTick = m_clock.TickMs();
    m_clock.SleepMs(m_nWaitMs);
    port.ClearErrors();
    std::memset(m_buffer, 0, sizeof m_buffer);
    const size_t n = port.Read(m_buffer, kProbeReadBytes);
    m_nReadTick = m_clock.TickMs();
    return n;
}

}  // namespace somatrix
