#include "sim_ports.h"

namespace somatrix {

namespace {
// Error texts of the in-process ports, in the language of the program's other texts.
constexpr char kNoSuchPort[] = "端口不存在";
constexpr char kPortNotOpen[] = "端口未打开";
constexpr char kLineDead[] = "设备已断开";
constexpr size_t kMaxEventBytes = 32;
}  // namespace

void CSimProbePort::Purge() {
    m_bus.AdvanceTo(m_clock.NowNs());
    m_bus.Purge();
}

void CSimProbePort::Write(const uint8_t* data, size_t n) {
    m_bus.AdvanceTo(m_clock.NowNs());
    m_bus.Write(data, n);
}

size_t CSimProbePort::Read(uint8_t* dst, size_t max) {
    m_bus.AdvanceTo(m_clock.NowNs());
    return m_bus.Read(dst, max);
}

void CSimPortList::AddPort(const std::string& name, CSimBus& bus) {
    std::lock_guard lock(m_mutex);
    m_ports.emplace_back(name, &bus);
}

CSimBus* CSimPortList::Find(const std::string& name) const {
    std::lock_guard lock(m_mutex);
    return FindLocked(name);
}

CSimBus* CSimPortList::FindLocked(const std::string& name) const {
    for (const auto& [portName, bus] : m_ports) {
        if (portName == name) {
            bus->AdvanceTo(m_clock.NowNs());
            return bus->IsDisconnected() ? nullptr : bus;
        }
    }
    return nullptr;
}

std::vector<std::string> CSimPortList::CandidatePorts() {
    std::lock_guard lock(m_mutex);
    std::vector<std::string> names;
    for (const auto& [name, bus] : m_ports) {
        if (FindLocked(name) != nullptr) {
            names.push_back(name);
        }
    }
    return names;
}

std::unique_ptr<CProbePort> CSimPortList::OpenProbePort(const std::string& name) {
    CSimBus* bus = Find(name);
    if (bus == nullptr) {
        return nullptr;
    }
    auto port = std::make_unique<CSimProbePort>(*bus, m_clock);
    port->Purge();
    return port;
}

CSimSerialLink::CSimSerialLink(CSimPortList& ports, uint64_t seed)
    : m_ports(ports), m_random(SimMix(seed) ^ 0x11C) {}

bool CSimSerialLink::Open(const std::string& port, std::string& error) {
    if (IsOpen()) {
        return port == m_strPort;
    }
    CSimBus* bus = m_ports.Find(port);
    if (bus == nullptr) {
        error = kNoSuchPort;
        return false;
    }
    // Whatever the line carried while nobody had the port open is gone.
    bus->Purge();
    m_pBus = bus;
    m_strPort = port;
    return true;
}

bool CSimSerialLink::Close(std::string&) {
    m_pBus = nullptr;
    m_strPort.clear();
    return true;
}

bool CSimSerialLink::Write(const uint8_t* data, size_t n, std::string& error) {
    if (!IsOpen()) {
        error = kPortNotOpen;
        return false;
    }
    m_pBus->AdvanceTo(m_ports.Clock().NowNs());
    if (m_pBus->IsDisconnected()) {
        error = kLineDead;
        return false;
    }
    m_pBus->Write(data, n);
    return true;
}

size_t CSimSerialLink::Pump() {
    if (!IsOpen()) {
        return 0;
    }
    CSimBus& bus = *m_pBus;
    bus.AdvanceTo(m_ports.Clock().NowNs());
    size_t delivered = 0;
    uint8_t chunk[kMaxEventBytes];
    // Bytes that had arrived before the line died are still delivered, then the loss.
    while (m_pBus != nullptr && bus.Available() > 0) {
        const size_t want =
            static_cast<size_t>(m_random.Range(1, static_cast<int>(kMaxEventBytes)));
        const size_t n = bus.Read(chunk, want);
        delivered += n;
        if (m_pListener != nullptr) {
            m_pListener->OnComm(chunk, n);
        }
    }
    if (m_pBus != nullptr && bus.IsDisconnected()) {
        std::string error;
        Close(error);
        if (m_pListener != nullptr) {
            m_pListener->OnLinkLost(kLineDead);
        }
    }
    return delivered;
}

}  // namespace somatrix
