#include "platform/system_port_list.h"

#include <algorithm>
#include <cstdlib>

#include "platform/port_names.h"
#include "platform/serial_probe_port.h"

namespace somatrix {

CSystemPortList::CSystemPortList(std::vector<std::string> ports)
    : m_explicitPorts(std::move(ports)) {}

std::vector<std::string> CSystemPortList::CandidatePorts() {
    if (!m_explicitPorts.empty()) {
        return m_explicitPorts;
    }
#ifdef _WIN32
    std::vector<std::string> ports = ListRegistryPorts();
#else
    std::vector<std::string> ports = ListUsbSerialPorts("/sys/class/tty");
#endif
    std::vector<std::string> more;
    if (const char* env = std::getenv("SOMATRIX_PORTS")) {
        more = SplitPortList(env, kPortListSeparator);
    }
    more.insert(more.end(), m_extraPorts.begin(), m_extraPorts.end());
    for (const std::string& name : more) {
        if (std::find(ports.begin(), ports.end(), name) == ports.end()) {
            ports.push_back(name);
        }
    }
    return ports;
}

std::unique_ptr<CProbePort> CSystemPortList::OpenProbePort(const std::string& name) {
    return OpenSerialProbePort(name, &m_bLastBusy);
}

}  // namespace somatrix
