#pragma once
// Runs the scan command for a window: the hub's part on the GUI thread, the blocking probe on a
// worker thread, so the window keeps painting. Progress and status reach the panel on the GUI
// thread in the order the probe produced them, and the result is applied there afterwards, so
// the panel sees exactly what a scan on its own thread would show. The hub keeps its controls
// disabled until the end.
#include <QObject>
#include <atomic>
#include <functional>
#include <thread>

#include "discovery/probe_port.h"
#include "protocol/monitor_sink.h"
#include "protocol/oper_core.h"
#include "protocol/reconnect_controller.h"

namespace somatrix {

class CScanRunner : public QObject {
public:
    // `panel` is the sink the hub itself reports to; both live on this object's thread.
    CScanRunner(COperCore& core, CMonitorSink& panel, QObject* parent = nullptr);
    // Ends a scan still probing at its next exchange and waits for that: closing the window
    // costs at most one probe wait, not the rest of the scan.
    ~CScanRunner() override;

    // Starts a scan over `ports` timed by `clock`, which must outlive it. False while one runs.
    bool Start(CPortList& ports, CScanClock& clock);
    bool IsRunning() const { return m_bRunning; }

    // Looks for `device` on every candidate port on the worker thread (the hub is not touched)
    // and hands the port where it answered, empty for none, to `done` on this object's thread.
    // False while a scan or a search runs. A scan started meanwhile ends the search first.
    bool StartSearch(CPortList& ports, CScanClock& clock, const CDeviceIdentity& device,
                     std::function<void(const std::string&)> done);
    bool IsSearching() const { return m_bSearching; }
    // Called on this object's thread once the hub has applied the result.
    void SetFinishedHandler(std::function<void()> handler) { m_onFinished = std::move(handler); }

private:
    class CForwardingSink;

    COperCore& m_core;
    CMonitorSink& m_panel;
    std::thread m_worker;
    std::atomic<bool> m_bCancel{false};
    bool m_bRunning = false;
    bool m_bSearching = false;
    std::function<void()> m_onFinished;
};

}  // namespace somatrix
