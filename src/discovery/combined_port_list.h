#pragma once
// Two port lists seen as one: the candidates of the first, then those of the second, each port
// opened by the list that named it. Lets demo mode put the simulator's in-process port beside
// the machine's real ones.
#include "discovery/probe_port.h"

namespace somatrix {

class CCombinedPortList : public CPortList {
public:
    CCombinedPortList(CPortList& first, CPortList& second) : m_first(first), m_second(second) {}

    std::vector<std::string> CandidatePorts() override;
    std::unique_ptr<CProbePort> OpenProbePort(const std::string& name) override;
    bool LastOpenWasBusy() const override;

private:
    CPortList& m_first;
    CPortList& m_second;
    std::vector<std::string> m_firstNames;  // of the last CandidatePorts call
    CPortList* m_pLastOpened = nullptr;
};

}  // namespace somatrix
