#include "ui/monitor/device_access.h"

#include <chrono>
#include <ctime>

namespace somatrix {

namespace {

int64_t ThreadCpuNs() {
#if defined(CLOCK_THREAD_CPUTIME_ID)
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
#else
    return 0;
#endif
}

int64_t SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

// One serial link for the panel: a port the simulator serves goes to the in-process link,
// every other name to the real serial port.
class CDemoDevices::CRoutingLink : public CSerialLink {
public:
    CRoutingLink(CDemoDevices& owner) : m_owner(owner) {}

    bool Open(const std::string& port, std::string& error) override {
        if (IsOpen()) {
            error = "port already open";
            return false;
        }
        CSerialLink& link = m_owner.m_simPorts.Find(port)
                                ? static_cast<CSerialLink&>(m_owner.m_simLink)
                                : static_cast<CSerialLink&>(m_owner.m_serial);
        if (!link.Open(port, error)) {
            return false;
        }
        m_pActive = &link;
        if (m_pActive == &m_owner.m_simLink) {
            m_owner.m_pump.start();
        }
        return true;
    }
    bool Close(std::string& error) override {
        if (!m_pActive) {
            return true;
        }
        CSerialLink* link = m_pActive;
        m_pActive = nullptr;
        m_owner.m_pump.stop();
        return link->Close(error);
    }
    bool IsOpen() const override { return m_pActive && m_pActive->IsOpen(); }
    std::string CurrentPort() const override {
        return m_pActive ? m_pActive->CurrentPort() : std::string();
    }
    bool Write(const uint8_t* data, size_t n, std::string& error) override {
        if (!m_pActive) {
            error = "port not open";
            return false;
        }
        return m_pActive->Write(data, n, error);
    }
    void SetListener(CSerialLinkListener* listener) override {
        m_owner.m_serial.SetListener(listener);
        m_owner.m_simLink.SetListener(listener);
    }

private:
    CDemoDevices& m_owner;
    CSerialLink* m_pActive = nullptr;
};

CDemoDevices::CDemoDevices(std::unique_ptr<CSimBus> bus, CSimClock* clock, QObject* parent)
    : QObject(parent),
      m_bus(std::move(bus)),
      m_ownClock(clock ? nullptr : std::make_unique<CRealClock>()),
      m_pClock(clock ? clock : m_ownClock.get()),
      m_simPorts(*m_pClock),
      m_ports(m_systemPorts, m_simPorts),
      m_simLink(m_simPorts, m_bus->Seed()),
      m_link(std::make_unique<CRoutingLink>(*this)) {
    // A demo may run for hours: the bus must not keep every frame it ever sent.
    m_bus->SetRecording(false);
    m_simPorts.AddPort(kSimPortName, *m_bus);
    m_pump.setTimerType(Qt::PreciseTimer);
    m_pump.setInterval(kPumpIntervalMs);
    connect(&m_pump, &QTimer::timeout, this, [this] { Pump(); });
}

void CDemoDevices::PullCable(int backAfterMs) {
    m_bus->AdvanceTo(m_pClock->NowNs());
    m_bus->Unplug();
    if (m_factory) {
        QTimer::singleShot(backAfterMs, this, [this] { PlugBack(); });
    }
}

void CDemoDevices::PlugBack() {
    std::unique_ptr<CSimBus> bus = m_factory();
    // A new bus starts at time zero; it joins the clock's now before its faults are planned,
    // so no garbage is due for the time it was not there.
    const CFaultPlan faults = bus->Faults();
    bus->SetFaults(CFaultPlan{});
    bus->AdvanceTo(m_pClock->NowNs());
    bus->SetFaults(faults);
    bus->SetRecording(false);
    m_pulled.push_back(std::move(m_bus));
    m_bus = std::move(bus);
    m_simPorts.AddPort(std::string(kSimPortName) + std::to_string(++m_nPlugs), *m_bus);
}

CDemoDevices::~CDemoDevices() {
    m_pump.stop();
}

CSerialLink& CDemoDevices::Link() {
    return *m_link;
}

void CDemoDevices::Pump() {
    if (m_simLink.IsOpen()) {
        // The sensors run first, on their own, so their cost can be told from the window's.
        const int64_t cpu = ThreadCpuNs();
        m_bus->AdvanceTo(m_pClock->NowNs());
        m_nBusCpuNs += ThreadCpuNs() - cpu;
        const int64_t delivered = SteadyNs();
        if (m_simLink.Pump() > 0 && m_onDelivered) {
            m_onDelivered(delivered);
        }
    }
    if (!m_simLink.IsOpen()) {
        // The line went dead under a measurement: the link has closed and reported it.
        m_pump.stop();
    }
}

}  // namespace somatrix
