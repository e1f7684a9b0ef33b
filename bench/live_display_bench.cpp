// How the monitoring window copes with the fastest simulated sensors: the real main frame in demo
// mode is driven like an operator (scan, select, Start), then measured for a while. Reports the
// process's CPU time per wall second beside that of the simulated bus alone, the paints per
// second of the live plot and of the information panel, the delay from a change (a sample or a
// value arriving) to the paint that shows it, and the longest stall of the event loop during
// the scan and during the measurement.
//
//   xvfb-run -a -s '-screen 0 1400x900x24' build/bench/live_display_bench [--sensor C6]
//       [--seconds 30] [--bus-seconds 10]
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "platform/program_folder.h"
#include "protocol/frame.h"
#include "protocol/serial_link.h"
#include "sim_bus.h"
#include "sim_clock.h"
#include "sim_ports.h"
#include "ui/monitor/device_access.h"
#include "ui/monitor/dlg_oper.h"
#include "ui/monitor/draw_wave3_wnd.h"
#include "ui/monitor/info_scree_wnd.h"
#include "ui/monitor/somatrix_view.h"
#include "ui/shell/demo_driver.h"
#include "ui/shell/main_frame.h"

using namespace somatrix;

namespace {

double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

qint64 SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Runs the event loop for `ms` milliseconds.
void Spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct CLatency {
    std::vector<double> m_ms;
    void Add(double ms) { m_ms.push_back(ms); }
    double Percentile(double p) {
        if (m_ms.empty()) {
            return 0;
        }
        std::sort(m_ms.begin(), m_ms.end());
        const auto i = static_cast<size_t>(p * static_cast<double>(m_ms.size() - 1));
        return m_ms[i];
    }
    double Mean() const {
        double sum = 0;
        for (double v : m_ms) {
            sum += v;
        }
        return m_ms.empty() ? 0 : sum / static_cast<double>(m_ms.size());
    }
};

// Counts one window's paints while armed and measures how old the oldest unpainted change is
// when its paint begins.
template <class TWindow>
class CPaintProbe : public QObject {
public:
    explicit CPaintProbe(TWindow& window) : m_window(window) { window.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (m_bArmed && event->type() == QEvent::Paint) {
            ++m_nPaints;
            const qint64 oldest = m_window.Pacer().OldestUnpaintedNs();
            if (oldest >= 0) {
                m_latency.Add(static_cast<double>(SteadyNs() - oldest) / 1e6);
            }
        }
        return false;
    }
    TWindow& m_window;
    bool m_bArmed = false;
    int m_nPaints = 0;
    CLatency m_latency;
};

// The longest gap between the ticks of a 1 ms timer: how long the event loop was held up.
class CStallProbe : public QObject {
public:
    CStallProbe() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            if (m_nLast >= 0) {
                m_nLongest = std::max(m_nLongest, now - m_nLast);
            }
            m_nLast = now;
        });
    }
    void Start() {
        m_nLast = -1;
        m_nLongest = 0;
        m_clock.start();
        m_timer.start();
    }
    double StopMs() {
        m_timer.stop();
        return static_cast<double>(m_nLongest) / 1e6;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_nLast = -1;
    qint64 m_nLongest = 0;
};

class CDiscard : public CSerialLinkListener {
public:
    void OnComm(const uint8_t*, size_t n) override { m_nBytes += n; }
    void OnLinkLost(const std::string&) override {}
    uint64_t m_nBytes = 0;
};

std::unique_ptr<CSimBus> AllSensors() {
    auto bus = std::make_unique<CSimBus>(1);
    bus->AddAllSensors();
    bus->SetRecording(false);
    return bus;
}

// The simulated bus streaming `type` on its own, pumped as demo mode pumps it.
void MeasureBusAlone(uint8_t type, int seconds) {
    auto bus = AllSensors();
    CRealClock clock;
    CSimPortList ports(clock);
    ports.AddPort(kSimPortName, *bus);
    CSimSerialLink link(ports, 1);
    CDiscard discard;
    link.SetListener(&discard);
    std::string error;
    link.Open(kSimPortName, error);
    const CFrame start = StartRequest(type);
    link.Write(start.data(), start.size(), error);
    QTimer pump;
    pump.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pump, &QTimer::timeout, [&] { link.Pump(); });
    pump.start(CDemoDevices::kPumpIntervalMs);
    Spin(500);
    const double cpu0 = CpuSeconds();
    const uint64_t bytes0 = discard.m_nBytes;
    QElapsedTimer wall;
    wall.start();
    Spin(seconds * 1000);
    const double wallS = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    const double cpu = CpuSeconds() - cpu0;
    std::printf("simulated bus alone:   %.2f%% of a core (%.1f ms CPU per s), %.0f bytes/s\n",
                100.0 * cpu / wallS, 1000.0 * cpu / wallS,
                static_cast<double>(discard.m_nBytes - bytes0) / wallS);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int type = 0xC6;
    int seconds = 30;
    int busSeconds = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--sensor")) {
            type = static_cast<int>(std::strtol(argv[i + 1], nullptr, 16));
        } else if (!std::strcmp(argv[i], "--seconds")) {
            seconds = std::atoi(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "--bus-seconds")) {
            busSeconds = std::atoi(argv[i + 1]);
        }
    }
    std::printf("sensor %02X, %d s measured, platform %s\n", type, seconds,
                qPrintable(QGuiApplication::platformName()));
    MeasureBusAlone(static_cast<uint8_t>(type), busSeconds);

    CDemoDevices devices(AllSensors());
    CMainFrame frame(devices, QString::fromStdString(GetProgramFolder()));
    frame.resize(1400, 860);
    frame.show();
    CDlgOper& panel = *frame.Panel();
    CPaintProbe<CDrawWave3Wnd> plotProbe(frame.View()->LivePlot());
    CPaintProbe<CInfoScreeWnd> infoProbe(panel.InfoPanel());
    CStallProbe stall;
    double scanStallMs = 0;
    bool scanned = false;
    QObject::connect(&panel, &CDlgOper::ScanningChanged, [&](bool scanning) {
        if (scanning) {
            stall.Start();
        } else {
            scanStallMs = stall.StopMs();
            scanned = true;
        }
    });
    CDemoScript script;
    script.m_nMeasureType = type;
    CDemoDriver driver(frame, script, &devices);
    QElapsedTimer scanTime;
    scanTime.start();
    driver.Start();
    while (!scanned && scanTime.elapsed() < 60000) {
        Spin(50);
    }
    const double scanS = static_cast<double>(scanTime.elapsed()) / 1000.0;
    Spin(1500);  // the first frames arrive, the measuring state settles

    plotProbe.m_bArmed = infoProbe.m_bArmed = true;
    const double cpu0 = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    Spin(seconds * 1000);
    const double wallS = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    const double cpu = CpuSeconds() - cpu0;
    plotProbe.m_bArmed = infoProbe.m_bArmed = false;
    // The stall probe wakes a thousand times a second: it runs apart from the CPU measurement.
    stall.Start();
    Spin(5000);
    const double measureStallMs = stall.StopMs();

    std::printf("scan:                  %.1f s, longest event-loop stall %.1f ms\n", scanS,
                scanStallMs);
    std::printf("whole window process:  %.2f%% of a core (%.1f ms CPU per s)\n",
                100.0 * cpu / wallS, 1000.0 * cpu / wallS);
    std::printf(
        "live plot:             %.1f paints/s, change to paint %.1f ms mean, %.1f ms p99, "
        "%.1f ms max\n",
        plotProbe.m_nPaints / wallS, plotProbe.m_latency.Mean(),
        plotProbe.m_latency.Percentile(0.99), plotProbe.m_latency.Percentile(1.0));
    std::printf(
        "information panel:     %.1f paints/s, change to paint %.1f ms mean, %.1f ms p99, "
        "%.1f ms max\n",
        infoProbe.m_nPaints / wallS, infoProbe.m_latency.Mean(),
        infoProbe.m_latency.Percentile(0.99), infoProbe.m_latency.Percentile(1.0));
    std::printf("measuring:             longest event-loop stall %.1f ms (5 s)\n", measureStallMs);
    std::fflush(stdout);
    frame.close();
    return 0;
}
