#pragma once
// In-process ports on simulated buses: the scan's port list and probe ports, and the operation
// panel's serial link, so the program and the tests run a whole scan and measurement without a
// device or a pseudo-terminal. Time comes from a CSimClock: on a CVirtualClock the scan's 150 ms
// waits advance virtual time and cost nothing.
//
// Nothing arrives by itself in-process: the owner of the link calls Pump() (a GUI timer, a test
// loop), which runs the bus up to the clock's now and hands what arrived to the listener as
// receive events of a few to a few dozen bytes, as a UART driver would.
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "discovery/probe_port.h"
#include "protocol/serial_link.h"
#include "sim_bus.h"
#include "sim_clock.h"

namespace somatrix {

// Name of the in-process port that demo mode adds to the candidate ports: the whole simulated
// sensor family on one port.
inline constexpr char kSimPortName[] = "SIM";

// The scan's direct access to one simulated port.
class CSimProbePort : public CProbePort {
public:
    CSimProbePort(CSimBus& bus, CSimClock& clock) : m_bus(bus), m_clock(clock) {}
    void Purge() override;
    void Write(const uint8_t* data, size_t n) override;
    void ClearErrors() override {}
    size_t Read(uint8_t* dst, size_t max) override;

private:
    CSimBus& m_bus;
    CSimClock& m_clock;
};

// Named simulated ports, listed in the order they were added. A port whose line has gone dead
// (planned disconnect, a pulled cable) is no longer listed or opened, like an unplugged bridge.
// Ports may be added while another thread searches the list.
class CSimPortList : public CPortList {
public:
    explicit CSimPortList(CSimClock& clock) : m_clock(clock) {}
    // The bus is not owned and must outlive the list and every port opened from it.
    void AddPort(const std::string& name, CSimBus& bus);
    CSimBus* Find(const std::string& name) const;
    CSimClock& Clock() const { return m_clock; }

    std::vector<std::string> CandidatePorts() override;
    std::unique_ptr<CProbePort> OpenProbePort(const std::string& name) override;

private:
    CSimBus* FindLocked(const std::string& name) const;

    CSimClock& m_clock;
    mutable std::mutex m_mutex;
    std::vector<std::pair<std::string, CSimBus*>> m_ports;
};

class CSimSerialLink : public CSerialLink {
public:
    // `seed` makes the receive-event chunking reproducible.
    explicit CSimSerialLink(CSimPortList& ports, uint64_t seed = 1);

    bool Open(const std::string& port, std::string& error) override;
    bool Close(std::string& error) override;
    bool IsOpen() const override { return m_pBus != nullptr; }
    std::string CurrentPort() const override { return m_strPort; }
    bool Write(const uint8_t* data, size_t n, std::string& error) override;
    void SetListener(CSerialLinkListener* listener) override { m_pListener = listener; }

    // Runs the bus to the clock's now and delivers what arrived; returns the bytes delivered.
    // A dead line closes the link and reports it to the listener.
    size_t Pump();

private:
    CSimPortList& m_ports;
    CSimRandom m_random;
    CSimBus* m_pBus = nullptr;
    std::string m_strPort;
    CSerialLinkListener* m_pListener = nullptr;
};

}  // namespace somatrix
