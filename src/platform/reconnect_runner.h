#pragma once
// Looks for the awaited device once a second while the hub waits through a pulled cable, on the
// scan runner's worker thread so the window keeps painting, and hands the port where it answered
// back to the hub. GUI thread; owned by the window beside the scan runner.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "discovery/probe_port.h"
#include "platform/scan_runner.h"
#include "protocol/oper_core.h"

namespace somatrix {

class CReconnectRunner : public QObject {
public:
    static constexpr int kRetryMs = 1000;

    // `ports` and `clock` are the scan's and must outlive the runner.
    CReconnectRunner(COperCore& core, CScanRunner& runner, CPortList& ports, CScanClock& clock,
                     QObject* parent = nullptr);

    // The hub started or ended its wait.
    void OnWaitStarted();
    void OnWaitEnded();
    // Milliseconds from the loss to the reopening of the port, -1 before the first return.
    qint64 LastWaitMs() const { return m_nLastWaitMs; }

private:
    void Attempt();

    COperCore& m_core;
    CScanRunner& m_runner;
    CPortList& m_ports;
    CScanClock& m_clock;
    QTimer m_retry;
    QElapsedTimer m_waiting;
    qint64 m_nLastWaitMs = -1;
};

}  // namespace somatrix
