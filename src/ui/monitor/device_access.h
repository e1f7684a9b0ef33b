#pragma once
// Where the operation panel finds its sensors: the candidate ports of a scan, the clock the scan
// waits on, and the serial link a measurement runs over. The program uses the machine's USB
// serial ports (and those in SOMATRIX_PORTS); demo mode puts the simulated sensor family on the
// in-process port "SIM" beside them. Lives on the GUI thread and outlives the panel.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

#include "discovery/combined_port_list.h"
#include "discovery/system_scan_clock.h"
#include "platform/ms_comm.h"
#include "platform/system_port_list.h"
#include "sim_bus.h"
#include "sim_clock.h"
#include "sim_ports.h"

namespace somatrix {

class CDeviceAccess {
public:
    virtual ~CDeviceAccess() = default;
    virtual CPortList& Ports() = 0;
    virtual CScanClock& Clock() = 0;
    virtual CSerialLink& Link() = 0;
    // For measuring the window at work: called with the steady-clock time (ns) at which a
    // receive event was handed to the panel, on real ports and simulated ones alike.
    virtual void SetDeliveryObserver(std::function<void(int64_t)> observer) = 0;
};

// Real sensors only.
class CSystemDevices : public CDeviceAccess {
public:
    CPortList& Ports() override { return m_ports; }
    CScanClock& Clock() override { return m_clock; }
    CSerialLink& Link() override { return m_link; }
    void SetDeliveryObserver(std::function<void(int64_t)> observer) override {
        m_link.SetArrivalObserver(std::move(observer));
    }

private:
    CSystemPortList m_ports;
    CSystemScanClock m_clock;
    CMSComm m_link;
};

// The machine's ports followed by the simulated bus on "SIM". Nothing arrives in-process by
// itself, so while the simulated port is open a precise timer pumps it every few milliseconds,
// which is about how often a UART driver hands over what has arrived.
class CDemoDevices : public QObject, public CDeviceAccess {
public:
    // `clock` null: the bus follows real time. Tests pass a virtual clock and move it themselves.
    explicit CDemoDevices(std::unique_ptr<CSimBus> bus, CSimClock* clock = nullptr,
                          QObject* parent = nullptr);

    // Makes a fresh bus of the same sensors (same device numbers) for a cable plugged back in.
    using CBusFactory = std::function<std::unique_ptr<CSimBus>()>;
    void SetBusFactory(CBusFactory factory) { m_factory = std::move(factory); }
    // Pulls the simulated cable: the sensors' line dies now, and `backAfterMs` later (when a
    // factory is set) they are plugged in again, powered up afresh, on the next port name
    // ("SIM2", "SIM3", ...), as a bridge that the system renumbers.
    void PullCable(int backAfterMs = kReplugMs);
    static constexpr int kReplugMs = 3000;
    ~CDemoDevices() override;

    CPortList& Ports() override { return m_ports; }
    CScanClock& Clock() override { return *m_pClock; }
    CSerialLink& Link() override;

    CSimBus& Bus() { return *m_bus; }
    // Delivers what has arrived on the simulated port up to the clock's now.
    void Pump();

    // Deliveries of the simulated port and of the machine's real ones.
    void SetDeliveryObserver(std::function<void(int64_t)> observer) override {
        m_serial.SetArrivalObserver(observer);
        m_onDelivered = std::move(observer);
    }
    // The thread CPU time the simulated sensors themselves have used so far (what a real device
    // would cost the machine nothing).
    int64_t BusCpuNs() const { return m_nBusCpuNs; }

    static constexpr int kPumpIntervalMs = 5;

private:
    class CRoutingLink;

    void PlugBack();

    std::unique_ptr<CSimBus> m_bus;
    std::vector<std::unique_ptr<CSimBus>> m_pulled;  // still referenced by names in the list
    CBusFactory m_factory;
    int m_nPlugs = 1;
    std::unique_ptr<CRealClock> m_ownClock;
    CSimClock* m_pClock;
    CSimPortList m_simPorts;
    CSystemPortList m_systemPorts;
    CCombinedPortList m_ports;
    CMSComm m_serial;
    CSimSerialLink m_simLink;
    std::unique_ptr<CRoutingLink> m_link;
    QTimer m_pump;
    std::function<void(int64_t)> m_onDelivered;
    int64_t m_nBusCpuNs = 0;
};

}  // namespace somatrix
