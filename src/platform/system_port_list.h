#pragma once
// The scan's candidate ports on this machine: the USB-to-UART bridges the system knows (sysfs
// on Linux, the serial-port map on Windows), then the ports named in SOMATRIX_PORTS, then any
// extra names the program adds; or, when given, exactly the ports the caller names. Every port
// is probed through OpenSerialProbePort.
#include "discovery/probe_port.h"

namespace somatrix {

class CSystemPortList : public CPortList {
public:
    // Non-empty `ports`: the candidates are exactly these, in this order.
    explicit CSystemPortList(std::vector<std::string> ports = {});

    // Further names after the system's and the environment's (for example a port an operator
    // configured). Ports served in-process go through CCombinedPortList instead.
    void SetExtraPorts(std::vector<std::string> ports) { m_extraPorts = std::move(ports); }

    std::vector<std::string> CandidatePorts() override;
    std::unique_ptr<CProbePort> OpenProbePort(const std::string& name) override;
    bool LastOpenWasBusy() const override { return m_bLastBusy; }

private:
    std::vector<std::string> m_explicitPorts;
    std::vector<std::string> m_extraPorts;
    bool m_bLastBusy = false;
};

}  // namespace somatrix
