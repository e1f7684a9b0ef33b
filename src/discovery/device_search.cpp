#include "discovery/device_search.h"

#include <cstring>

#include "discovery/probe_reply.h"

namespace somatrix {

namespace {
constexpr size_t kProbeReadBytes = 32;
}  // namespace

std::string CDeviceSearch::Find(const CDeviceIdentity& device) {
    for (const std::string& name : m_ports.CandidatePorts()) {
        if (IsCancelled()) {
            break;
        }
        std::unique_ptr<CProbePort> port = m_ports.OpenProbePort(name);
        if (port && Answers(*port, device)) {
            return name;
        }
    }
    return {};
}

bool CDeviceSearch::Answers(CProbePort& port, const CDeviceIdentity& device) {
    const uint8_t t = device.m_nType;
    if (!FindPresenceReply(m_buffer, Exchange(port, PresenceRequest(t)), t)) {
        return false;
    }
    if (device.m_strNumber.empty()) {
        return true;
    }
    const auto number = FindDeviceNumberReply(m_buffer, Exchange(port, DeviceNumberRequest(t)), t);
    return number && device.Matches(t, *number);
}

size_t CDeviceSearch::Exchange(CProbePort& port, const CFrame& request) {
    if (IsCancelled()) {
        return 0;
    }
    port.Purge();
    port.Write(request.data(), request.size());
    m_clock.SleepMs(m_nWaitMs);
    port.ClearErrors();
    std::memset(m_buffer, 0, sizeof m_buffer);
    return port.Read(m_buffer, kProbeReadBytes);
}

}  // namespace somatrix
