// The hub through a pulled cable: the wait for the same device, its return on whatever port it
// comes back on, and the integrity counters of a measurement.
#include <chrono>

#include "protocol/oper_core.h"
#include "protocol/oper_texts.h"

namespace somatrix {

int64_t SteadyNowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void COperCore::BeginCounting() {
    m_integrity.Begin(m_scanner.Stats(), m_ring.Dropped(), m_clock());
}

bool COperCore::BeginWaitForDevice(const std::string& /*error*/) {
    if (!m_reconnect.IsEnabled() || m_nSelected < 0 || m_bShutDown) {
        return false;
    }
    const _ZP_Device_Info& info = m_catalogue.At(m_nSelected);
    m_reconnect.BeginWait({info.m_nType, info.m_szDevNum}, m_devicePort.m_strName);
    // Told first, so a recording takes the dropping flags for a gap, not for the end.
    m_sink.LinkWaitStarted(m_reconnect.LostPort());
    SetFlags(CMeasurementFlags{});
    m_sink.SetMeasuring(false);
    // Everything received so far is on disk while the device is away.
    m_log.Flush();
    m_sink.SetStatusText(texts::kWaitingForDevice);
    m_sink.SetInfoLine(texts::kWaitingForDevice);
    RefreshControls();
    return true;
}

void COperCore::EndWaitForDevice() {
    if (!m_reconnect.IsWaiting()) {
        return;
    }
    m_reconnect.EndWait();
    m_integrity.End();
    m_sink.LinkWaitEnded();
    StopLog();
    m_sink.SetStatusText(texts::kReconnectEnded);
    m_sink.SetInfoLine(texts::kReconnectEnded);
    RefreshControls();
}

bool COperCore::OnDeviceFound(const std::string& port) {
    if (!m_reconnect.IsWaiting() || m_nSelected < 0) {
        return false;
    }
    if (!OpenDevicePort(port)) {
        return false;
    }
    m_reconnect.EndWait();
    m_devicePort.m_strName = port;
    if (!m_devicePort.IsKnown()) {
        m_devicePort.m_nPort = 1;
    }
    const uint8_t t = SelectedType();
    // A device that lost its power lost its settings too.
    for (const CFrame& request : m_reconnect.RestoreRequests(t, m_nGain)) {
        Send(request);
    }
    m_integrity.RestartArrivals();
    m_sink.SetMeasuring(true);
    m_sink.SetValues(-1, -1, -1, -1);
    if (Send(StartRequest(t))) {
        CMeasurementFlags flags = m_flags;
        flags.m_bStartRequested = 1;
        SetFlags(flags);
    }
    const std::string text = std::string(texts::kReconnected) + port;
    m_sink.SetStatusText(text);
    m_sink.SetInfoLine(text);
    RefreshControls();
    m_sink.LinkRestored(port);
    return true;
}

void COperCore::LimitWhileWaiting(CControlStates& s) const {
    if (!m_reconnect.IsWaiting()) {
        return;
    }
    // No link to send anything over; the scan and the device list stay, and end the wait.
    const CControlStates kept = s;
    s = CControlStates{};
    s.m_bScan = kept.m_bScan;
    s.m_bDeviceList = kept.m_bDeviceList;
    s.m_bSlowScan = kept.m_bSlowScan;
    s.m_bOnlineOnly = kept.m_bOnlineOnly;
    s.m_bMaxMin = kept.m_bMaxMin;
}

}  // namespace somatrix
