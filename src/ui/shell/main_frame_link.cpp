// The main frame through a pulled cable: the "断开后自动重连" item of the View menu (kept in the
// settings, on by default), the demo's cable, and the integrity counters in the status bar's
// second pane, refreshed once a second while a measurement runs.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "display/integrity_text.h"
#include "ui/monitor/device_access.h"
#include "ui/monitor/dlg_oper.h"
#include "ui/monitor/wave_recorder.h"
#include "ui/shell/command_ids.h"
#include "ui/shell/link_texts.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/status_panes.h"

namespace somatrix {

namespace {

double Luminance(const QColor& c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor FaultColour(const QColor& background) {
    // Reds from dark to light: the first that reads at 4.5:1 on this look's bar.
    for (const char* name : {"#b00020", "#8b0000", "#ff8a80", "#ffb4a9", "#ffd6d0"}) {
        const QColor colour(QString::fromLatin1(name));
        if (ContrastRatio(colour, background) >= 4.5) {
            return colour;
        }
    }
    return Luminance(background) > 0.18 ? QColor(Qt::black) : QColor(Qt::white);
}

void CMainFrame::AddReconnectItem(QMenu* menu) {
    const bool on = QSettings().value(QString::fromUtf8(texts::kAutoReconnectKey), true).toBool();
    QAction* action =
        AddCommand(menu, ids::kAutoReconnect, QString::fromUtf8(texts::kAutoReconnect), {});
    action->setCheckable(true);
    action->setChecked(on);
    Panel()->SetAutoReconnect(on);
    connect(action, &QAction::toggled, this, [this](bool checked) {
        QSettings().setValue(QString::fromUtf8(texts::kAutoReconnectKey), checked);
        Panel()->SetAutoReconnect(checked);
    });
}

void CMainFrame::BuildDemoMenu(CDeviceAccess& devices) {
    auto* demo = dynamic_cast<CDemoDevices*>(&devices);
    if (!demo) {
        return;
    }
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(texts::kDemoMenu));
    AddCommand(menu, ids::kPullCable, QString::fromUtf8(texts::kPullCable),
               [demo] { demo->PullCable(); });
}

void CMainFrame::StartIntegrityPane() {
    // A waveform recording ends with the measurement's counters as an annotation.
    m_pWaveRecorder->SetStopNote(
        [this] { return IntegritySummary(Panel()->Core().GetIntegrity()); });
    auto* timer = new QTimer(this);
    timer->setInterval(1000);
    connect(timer, &QTimer::timeout, this, [this] { ShowIntegrity(); });
    timer->start();
}

void CMainFrame::ShowIntegrity() {
    QLabel* pane = m_pStatusPanes ? m_pStatusPanes->Pane(102) : nullptr;
    if (!pane || !Panel()) {
        return;
    }
    const COperCore& core = Panel()->Core();
    const bool active = core.IsCountingIntegrity() || core.IsWaitingForDevice();
    // After the end the last figures stay, once brought up to date.
    if (!active && !m_bIntegrityShown) {
        return;
    }
    m_bIntegrityShown = active;
    const CIntegrityStats stats = core.GetIntegrity();
    const QString colour = FaultColour(pane->palette().color(pane->backgroundRole())).name();
    QString html;
    for (const CIntegrityPart& part : IntegrityParts(stats)) {
        if (!html.isEmpty()) {
            html += QString::fromUtf8(kIntegritySeparator);
        }
        const QString text = QString::fromStdString(part.m_strText).toHtmlEscaped();
        html +=
            part.m_bFault ? QStringLiteral("<b style=\"color:%1\">%2</b>").arg(colour, text) : text;
    }
    pane->setTextFormat(Qt::RichText);
    pane->setText(html);
    pane->setAccessibleDescription(QString::fromStdString(IntegrityText(stats)));
}

}  // namespace somatrix
