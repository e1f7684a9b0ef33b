#pragma once
// The device scan: every candidate port in turn, every catalogue type on it asked for presence,
// then its device number and production date, until a port answers. It works on its own copy of
// the catalogue and touches nothing of the hub, so it can run on a worker thread while the hub's
// thread keeps painting; the hub applies the result afterwards (COperCore::FinishScan).
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "discovery/probe_port.h"
#include "protocol/catalogue.h"
#include "protocol/monitor_sink.h"
#include "protocol/oper_core.h"

namespace somatrix {

inline constexpr int kProbeWaitMs = 150;
inline constexpr int kSlowProbeWaitMs = 600;

// One diagnostic line of the scan, without a line end.
using CScanTrace = std::function<void(const std::string&)>;

// What a scan leaves: the device port and the catalogue with the probed records' online flags,
// device numbers and production dates.
struct CScanResult {
    CDevicePort m_port;
    CCatalogue m_catalogue;
    std::vector<std::string> m_busyPorts;  // candidates another program holds
};

class CPortScanner {
public:
    // `progress` receives the progress bar and status line updates on the scanning thread;
    // a window passes a sink that forwards them to its own thread.
    CPortScanner(CPortList& ports, CScanClock& clock, CMonitorSink& progress, CScanTrace trace,
                 int waitMs);

    // Port -1: no candidate port; 0: none answered; n > 0: the n-th candidate answered.
    CScanResult ScanDevicePorts(CCatalogue catalogue);
    // A flag another thread may set to end the scan before its next exchange (the window is
    // closing). The result of a cancelled scan is incomplete and is not to be applied.
    void SetCancelFlag(const std::atomic<bool>* cancel) { m_pCancel = cancel; }
    bool IsCancelled() const { return m_pCancel && m_pCancel->load(); }
    // Probes every record of `catalogue` on one open port; true when any type answered.
    bool CheckIsZPDevice(CProbePort& port, CCatalogue& catalogue);

private:
    // Purge, write, wait, clear errors, read at most 32 bytes into the zeroed buffer.
    size_t Exchange(CProbePort& port, const CFrame& request);

    CPortList& m_ports;
    CScanClock& m_clock;
    CMonitorSink& m_progress;
    CScanTrace m_trace;
    int m_nWaitMs;
    const std::atomic<bool>* m_pCancel = nullptr;
    uint8_t m_buffer[64] = {};
    uint32_t m_nWriteTick = 0;  // end of the last exchange's write
    uint32_t m_nReadTick = 0;   // end of its read
};

}  // namespace somatrix
