#pragma once
// Looks for one known device on every candidate port, as the scan looks for sensors: the
// presence request for its type code, then "读设备号", on each port in turn. A port is taken only
// when the device number is the same, so another sensor of the same type that happens to sit on
// the old port (or on a renumbered one) is never taken for it. Framework-free; may run on a worker
// thread (it touches nothing of the hub).
#include <atomic>
#include <string>

#include "discovery/probe_port.h"
#include "protocol/frame.h"
#include "protocol/reconnect_controller.h"

namespace somatrix {

class CDeviceSearch {
public:
    CDeviceSearch(CPortList& ports, CScanClock& clock, int waitMs)
        : m_ports(ports), m_clock(clock), m_nWaitMs(waitMs) {}

    // The first candidate port on which `device` answers; empty when it answers nowhere.
    std::string Find(const CDeviceIdentity& device);
    // Set from another thread to end the search before its next exchange.
    void SetCancelFlag(const std::atomic<bool>* cancel) { m_pCancel = cancel; }

private:
    bool Answers(CProbePort& port, const CDeviceIdentity& device);
    size_t Exchange(CProbePort& port, const CFrame& request);
    bool IsCancelled() const { return m_pCancel && m_pCancel->load(); }

    CPortList& m_ports;
    CScanClock& m_clock;
    int m_nWaitMs;
    const std::atomic<bool>* m_pCancel = nullptr;
    uint8_t m_buffer[64] = {};
};

}  // namespace somatrix
