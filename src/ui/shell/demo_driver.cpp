#include "ui/shell/demo_driver.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "ui/monitor/dlg_oper.h"
#include "ui/monitor/info_scree_wnd.h"
#include "ui/monitor/somatrix_view.h"
#include "ui/shell/command_ids.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/window_stats.h"

namespace somatrix {

CDemoDriver::CDemoDriver(CMainFrame& frame, const CDemoScript& script, CDeviceAccess& devices,
                         QObject* parent)
    : QObject(parent), m_frame(frame), m_script(script) {
    if (m_script.m_bStats && m_frame.View()) {
        m_pStats = std::make_unique<CWindowStats>(m_frame.View()->LivePlot(),
                                                  m_frame.Panel()->InfoPanel(), devices);
    }
}

CDemoDriver::~CDemoDriver() = default;

void CDemoDriver::Start() {
    CDlgOper* panel = m_frame.Panel();
    if (m_script.m_nMeasureType >= 0 && panel) {
        connect(panel, &CDlgOper::ScanningChanged, this, [this](bool scanning) {
            if (!scanning) {
                OnScanFinished();
            }
        });
        // As an operator would: once the window has shown and settled.
        QTimer::singleShot(kSettleMs, this, [this, panel] {
            if (auto* scan = qobject_cast<QPushButton*>(panel->Control(CDlgOper::kIdScan))) {
                if (m_pStats) {
                    m_pStats->BeginScanWatch();
                }
                scan->click();
            }
        });
    }
    if (m_script.m_nQuitAfterMs >= 0 && m_script.m_nMeasureType < 0) {
        QTimer::singleShot(m_script.m_nQuitAfterMs, this, [this] { Finish(); });
    }
}

void CDemoDriver::OnScanFinished() {
    if (m_pStats) {
        m_pStats->EndScanWatch();
    }
    CDlgOper* panel = m_frame.Panel();
    COperCore& core = panel->Core();
    const int index =
        core.GetCatalogue().IndexOfType(static_cast<uint8_t>(m_script.m_nMeasureType));
    const int position = core.ListPositionOf(index);
    auto* list = qobject_cast<QComboBox*>(panel->Control(CDlgOper::kIdDeviceList));
    auto* start = qobject_cast<QPushButton*>(panel->Control(CDlgOper::kIdStart));
    if (position < 0 || !list || !start) {
        std::fprintf(stderr, "somatrix: sensor %02X not found by the scan\n",
                     m_script.m_nMeasureType);
        if (m_script.m_nQuitAfterMs >= 0) {
            Finish();
        }
        return;
    }
    list->setCurrentIndex(position);
    start->click();
    if (m_script.m_bRecordEdf) {
        // Once the sensor has acknowledged Start, as the operator would choose the item.
        QTimer::singleShot(kSettleMs, this, [this] { m_frame.ExecuteCommand(ids::kRecordWave); });
    }
    if (m_pStats) {
        QTimer::singleShot(kWarmUpMs, this, [this] { m_pStats->BeginMeasure(); });
    }
    if (m_script.m_nUnplugAfterMs >= 0) {
        QTimer::singleShot(m_script.m_nUnplugAfterMs, this, [this] { PullCable(); });
    }
    if (m_script.m_nQuitAfterMs >= 0) {
        QTimer::singleShot(m_script.m_nQuitAfterMs, this, [this] { Finish(); });
    }
}

void CDemoDriver::PullCable() {
    if (!m_frame.ExecuteCommand(ids::kPullCable)) {
        return;
    }
    // Watches for the first data frame after the device came back.
    auto* elapsed = new QElapsedTimer;
    elapsed->start();
    auto* watch = new QTimer(this);
    watch->setInterval(5);
    connect(watch, &QTimer::timeout, this, [this, elapsed, watch] {
        const COperCore& core = m_frame.Panel()->Core();
        if (core.IsWaitingForDevice() || !core.GetFlags().m_bMeasuring) {
            return;
        }
        std::printf("somatrix: measuring again on %s %.3f s after the cable was pulled\n",
                    core.GetDevicePort().m_strName.c_str(),
                    static_cast<double>(elapsed->nsecsElapsed()) / 1e9);
        std::fflush(stdout);
        watch->stop();
        watch->deleteLater();
        delete elapsed;
    });
    watch->start();
}

void CDemoDriver::Finish() {
    if (!m_script.m_strScreenshot.isEmpty()) {
        if (m_frame.grab().save(m_script.m_strScreenshot)) {
            std::printf("%s\n", m_script.m_strScreenshot.toLocal8Bit().data());
            std::fflush(stdout);
        } else {
            std::fprintf(stderr, "somatrix: cannot write %s\n",
                         m_script.m_strScreenshot.toLocal8Bit().data());
        }
    }
    if (m_pStats) {
        std::fputs(m_pStats->Report().c_str(), stdout);
        std::fflush(stdout);
    }
    m_frame.close();
}

}  // namespace somatrix
