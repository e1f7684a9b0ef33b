#include "discovery/combined_port_list.h"

#include <algorithm>

namespace somatrix {

std::vector<std::string> CCombinedPortList::CandidatePorts() {
    m_firstNames = m_first.CandidatePorts();
    std::vector<std::string> names = m_firstNames;
    const std::vector<std::string> second = m_second.CandidatePorts();
    names.insert(names.end(), second.begin(), second.end());
    return names;
}

std::unique_ptr<CProbePort> CCombinedPortList::OpenProbePort(const std::string& name) {
    const bool first =
        std::find(m_firstNames.begin(), m_firstNames.end(), name) != m_firstNames.end();
    m_pLastOpened = first ? &m_first : &m_second;
    return m_pLastOpened->OpenProbePort(name);
}

bool CCombinedPortList::LastOpenWasBusy() const {
    return m_pLastOpened != nullptr && m_pLastOpened->LastOpenWasBusy();
}

}  // namespace somatrix
