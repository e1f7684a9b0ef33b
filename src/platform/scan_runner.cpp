#include "platform/scan_runner.h"

#include <memory>

#include "discovery/device_search.h"
#include "discovery/port_scanner.h"
#include "platform/scan_log.h"

namespace somatrix {

// The probe's progress and status calls, posted to the runner's thread.
class CScanRunner::CForwardingSink : public CMonitorSink {
public:
    CForwardingSink(QObject* context, CMonitorSink& panel) : m_pContext(context), m_panel(panel) {}
    void SetProgressVisible(bool visible) override {
        Post([&panel = m_panel, visible] { panel.SetProgressVisible(visible); });
    }
    void SetProgress(int position) override {
        Post([&panel = m_panel, position] { panel.SetProgress(position); });
    }
    void SetStatusText(const std::string& text) override {
        Post([&panel = m_panel, text] { panel.SetStatusText(text); });
    }

private:
    template <typename F>
    void Post(F call) {
        QMetaObject::invokeMethod(m_pContext, std::move(call), Qt::QueuedConnection);
    }
    QObject* m_pContext;
    CMonitorSink& m_panel;
};

CScanRunner::CScanRunner(COperCore& core, CMonitorSink& panel, QObject* parent)
    : QObject(parent), m_core(core), m_panel(panel) {}

CScanRunner::~CScanRunner() {
    m_bCancel = true;
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

bool CScanRunner::Start(CPortList& ports, CScanClock& clock) {
    if (m_bRunning) {
        return false;
    }
    if (m_bSearching) {
        // The scan ends the wait the search serves; its answer is not wanted any more.
        m_bCancel = true;
    }
    if (m_worker.joinable()) {
        m_worker.join();
    }
    m_bCancel = false;
    m_bSearching = false;
    m_bRunning = true;
    auto job = std::make_shared<CScanJob>(m_core.BeginScan());
    m_worker = std::thread([this, job, &ports, &clock] {
        CForwardingSink progress(this, m_panel);
        CPortScanner scanner(ports, clock, progress, ScanTraceToLog(), job->m_nWaitMs);
        scanner.SetCancelFlag(&m_bCancel);
        auto result =
            std::make_shared<CScanResult>(scanner.ScanDevicePorts(std::move(job->m_catalogue)));
        // Queued behind every progress call the probe posted.
        QMetaObject::invokeMethod(
            this,
            [this, result] {
                m_core.FinishScan(*result);
                m_bRunning = false;
                if (m_onFinished) {
                    m_onFinished();
                }
            },
            Qt::QueuedConnection);
    });
    return true;
}

bool CScanRunner::StartSearch(CPortList& ports, CScanClock& clock, const CDeviceIdentity& device,
                              std::function<void(const std::string&)> done) {
    if (m_bRunning || m_bSearching) {
        return false;
    }
    if (m_worker.joinable()) {
        m_worker.join();
    }
    m_bSearching = true;
    const int waitMs = m_core.GetProbeWaitMs();
    m_worker = std::thread([this, device, waitMs, &ports, &clock, done = std::move(done)] {
        CDeviceSearch search(ports, clock, waitMs);
        search.SetCancelFlag(&m_bCancel);
        const std::string port = search.Find(device);
        QMetaObject::invokeMethod(
            this,
            [this, port, done] {
                if (!m_bSearching) {
                    return;  // a scan took over
                }
                m_bSearching = false;
                done(port);
            },
            Qt::QueuedConnection);
    });
    return true;
}

}  // namespace somatrix
