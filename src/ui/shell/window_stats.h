#pragma once
// Measures the window at work for the demo driver's --stats: the process's CPU time per second
// of wall time (and how much of it the simulated sensors took), the paints per second of the
// live plot and the information panel, the delay from a receive event (on a real port or the
// simulated one) to the end of the plot's next paint, and the longest stall of the event loop
// while a scan runs.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

namespace somatrix {

class CDemoDevices;
class CDeviceAccess;

class CWindowStats : public QObject {
public:
    // Deliveries are watched on `devices`; the simulated sensors' own CPU time is told apart
    // when they are demo devices.
    CWindowStats(QWidget& plot, QWidget& panel, CDeviceAccess& devices, QObject* parent = nullptr);
    ~CWindowStats() override;

    void BeginScanWatch();
    void EndScanWatch();
    // Starts the measuring period: counters and CPU times from here.
    void BeginMeasure();
    // The figures of the measuring period, one "name value" line each.
    std::string Report() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static int64_t ProcessCpuNs();

    QWidget& m_plot;
    QWidget& m_panel;
    CDeviceAccess& m_devices;
    CDemoDevices* m_pDemo;
    QElapsedTimer m_clock;
    bool m_bMeasuring = false;
    int64_t m_nStartWallNs = 0;
    int64_t m_nStartCpuNs = 0;
    int64_t m_nStartBusNs = 0;
    int m_nPlotPaints = 0;
    int m_nPanelPaints = 0;
    int64_t m_nPendingArrivalNs = -1;
    std::vector<double> m_latenciesMs;

    QTimer m_tick;
    int64_t m_nLastTickNs = 0;
    double m_fLongestStallMs = 0;
    bool m_bScanWatched = false;
};

}  // namespace somatrix
