#include "platform/reconnect_runner.h"

namespace somatrix {

CReconnectRunner::CReconnectRunner(COperCore& core, CScanRunner& runner, CPortList& ports,
                                   CScanClock& clock, QObject* parent)
    : QObject(parent), m_core(core), m_runner(runner), m_ports(ports), m_clock(clock) {
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] { Attempt(); });
}

void CReconnectRunner::OnWaitStarted() {
    m_waiting.start();
    m_retry.start();
}

void CReconnectRunner::OnWaitEnded() {
    m_retry.stop();
}

void CReconnectRunner::Attempt() {
    if (!m_core.IsWaitingForDevice()) {
        m_retry.stop();
        return;
    }
    // A search still running from the last second simply goes on.
    m_runner.StartSearch(
        m_ports, m_clock, m_core.GetAwaitedDevice(), [this](const std::string& port) {
            if (!port.empty() && m_core.IsWaitingForDevice() && m_core.OnDeviceFound(port)) {
                m_nLastWaitMs = m_waiting.elapsed();
            }
        });
}

}  // namespace somatrix
