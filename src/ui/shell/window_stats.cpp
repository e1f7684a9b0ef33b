#include "ui/shell/window_stats.h"

#include <QEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "ui/monitor/device_access.h"

namespace somatrix {

namespace {

double Ms(int64_t ns) {
    return static_cast<double>(ns) / 1e6;
}

double Seconds(int64_t ns) {
    return static_cast<double>(ns) / 1e9;
}

int64_t SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

CWindowStats::CWindowStats(QWidget& plot, QWidget& panel, CDeviceAccess& devices, QObject* parent)
    : QObject(parent),
      m_plot(plot),
      m_panel(panel),
      m_devices(devices),
      m_pDemo(dynamic_cast<CDemoDevices*>(&devices)) {
    m_clock.start();
    m_plot.installEventFilter(this);
    m_panel.installEventFilter(this);
    m_devices.SetDeliveryObserver([this](int64_t arrivedNs) {
        if (m_bMeasuring && m_nPendingArrivalNs < 0) {
            m_nPendingArrivalNs = arrivedNs;
        }
    });
    m_tick.setTimerType(Qt::PreciseTimer);
    m_tick.setInterval(1);
    connect(&m_tick, &QTimer::timeout, this, [this] {
        const int64_t now = SteadyNs();
        m_fLongestStallMs = std::max(m_fLongestStallMs, Ms(now - m_nLastTickNs));
        m_nLastTickNs = now;
    });
}

CWindowStats::~CWindowStats() {
    m_devices.SetDeliveryObserver({});
}

int64_t CWindowStats::ProcessCpuNs() {
#if defined(CLOCK_PROCESS_CPUTIME_ID)
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
#else
    return static_cast<int64_t>(std::clock()) * (1000000000 / CLOCKS_PER_SEC);
#endif
}

void CWindowStats::BeginScanWatch() {
    m_bScanWatched = true;
    m_fLongestStallMs = 0;
    m_nLastTickNs = SteadyNs();
    m_tick.start();
}

void CWindowStats::EndScanWatch() {
    m_tick.stop();
}

void CWindowStats::BeginMeasure() {
    m_bMeasuring = true;
    m_nStartWallNs = SteadyNs();
    m_nStartCpuNs = ProcessCpuNs();
    m_nStartBusNs = m_pDemo ? m_pDemo->BusCpuNs() : 0;
    m_nPlotPaints = 0;
    m_nPanelPaints = 0;
    m_nPendingArrivalNs = -1;
    m_latenciesMs.clear();
}

bool CWindowStats::eventFilter(QObject* watched, QEvent* event) {
    if (m_bMeasuring && event->type() == QEvent::Paint) {
        if (watched == &m_plot) {
            ++m_nPlotPaints;
            if (m_nPendingArrivalNs >= 0) {
                // The delay counts the paint itself: the plot paints here, inside its paint
                // event, and the clock is read once it has drawn.
                const int64_t arrived = m_nPendingArrivalNs;
                m_nPendingArrivalNs = -1;
                static_cast<QObject*>(&m_plot)->event(event);
                m_latenciesMs.push_back(Ms(SteadyNs() - arrived));
                return true;
            }
        } else if (watched == &m_panel) {
            ++m_nPanelPaints;
        }
    }
    return false;
}

std::string CWindowStats::Report() const {
    std::string out;
    char line[160];
    auto add = [&](const char* name, double value) {
        std::snprintf(line, sizeof line, "%s %.2f\n", name, value);
        out += line;
    };
    if (m_bScanWatched) {
        add("scan_longest_stall_ms", m_fLongestStallMs);
    }
    if (!m_bMeasuring) {
        return out;
    }
    const double wall = Seconds(SteadyNs() - m_nStartWallNs);
    const double cpu = Seconds(ProcessCpuNs() - m_nStartCpuNs);
    const double bus = m_pDemo ? Seconds(m_pDemo->BusCpuNs() - m_nStartBusNs) : 0;
    add("measured_seconds", wall);
    add("cpu_percent_process", 100 * cpu / wall);
    add("cpu_percent_simulated_sensors", 100 * bus / wall);
    add("cpu_percent_without_sensors", 100 * (cpu - bus) / wall);
    add("plot_paints_per_second", m_nPlotPaints / wall);
    add("panel_paints_per_second", m_nPanelPaints / wall);
    std::vector<double> sorted = m_latenciesMs;
    std::sort(sorted.begin(), sorted.end());
    if (!sorted.empty()) {
        double sum = 0;
        for (double v : sorted) {
            sum += v;
        }
        add("arrival_to_paint_end_ms_mean", sum / static_cast<double>(sorted.size()));
        add("arrival_to_paint_end_ms_p99", sorted[sorted.size() * 99 / 100]);
        add("arrival_to_paint_end_ms_max", sorted.back());
        add("arrival_to_paint_end_count", static_cast<double>(sorted.size()));
    }
    return out;
}

}  // namespace somatrix
