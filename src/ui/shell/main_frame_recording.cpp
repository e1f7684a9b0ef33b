// The main frame's waveform recording: the three File-menu items, the marker command, the
// status bar's recording state and the action that opens a finished recording in review mode.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

#include "protocol/oper_core.h"
#include "recording/edf_repair.h"
#include "ui/monitor/dlg_oper.h"
#include "ui/monitor/somatrix_view.h"
#include "ui/monitor/wave_recorder.h"
#include "ui/shell/command_ids.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/shell_texts.h"

namespace somatrix {

void CMainFrame::CreateWaveRecorder() {
    m_pWaveRecorder = new CWaveRecorder(this);
    Panel()->SetSampleTap(m_pWaveRecorder);
    m_pRecordingLabel = new QLabel(this);
    m_pRecordingLabel->setObjectName(QStringLiteral("recordingState"));
    m_pRecordingLabel->setAccessibleName(QString::fromUtf8(texts::kRecordWave));
    m_pRecordingLabel->setTextFormat(Qt::RichText);
    m_pRecordingLabel->hide();
    m_pOpenRecording = new QPushButton(QString::fromUtf8(texts::kOpenInReview), this);
    m_pOpenRecording->setObjectName(QStringLiteral("openRecording"));
    m_pOpenRecording->setAccessibleName(QString::fromUtf8(texts::kOpenInReview));
    m_pOpenRecording->setFlat(true);
    m_pOpenRecording->hide();
    statusBar()->addPermanentWidget(m_pRecordingLabel);
    statusBar()->addPermanentWidget(m_pOpenRecording);
    connect(m_pOpenRecording, &QPushButton::clicked, this, [this] {
        if (!m_strLastRecording.isEmpty()) {
            m_pView->OpenReviewFile(m_strLastRecording);
        }
    });
    connect(m_pWaveRecorder, &CWaveRecorder::StateChanged, this, [this] {
        ShowWaveState();
        UpdateWaveStates();
    });
    connect(m_pWaveRecorder, &CWaveRecorder::Stopped, this, &CMainFrame::OnWaveStopped);
    // Flags and selections change the items' states.
    connect(&m_pView->Panel(), &CDlgOper::MeasuringChanged, this, [this] { UpdateWaveStates(); });
    RepairDataFolder();
}

void CMainFrame::AddWaveItems(QMenu* menu) {
    AddCommand(menu, ids::kRecordWave, QString::fromUtf8(texts::kRecordWave),
               [this] { OnRecordWave(); });
    AddCommand(menu, ids::kPauseWave, QString::fromUtf8(texts::kPauseWave), [this] {
        m_pWaveRecorder->TogglePause();
    })->setCheckable(true);
    AddCommand(menu, ids::kStopWave, QString::fromUtf8(texts::kStopWave),
               [this] { m_pWaveRecorder->Stop(); });
    QAction* marker = AddCommand(menu, ids::kInsertMarker, QString::fromUtf8(texts::kInsertMarker),
                                 [this] { m_pWaveRecorder->AddMarker(); });
    marker->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    marker->setShortcutContext(Qt::ApplicationShortcut);
}

void CMainFrame::UpdateWaveStates() {
    if (m_pWaveRecorder == nullptr) {
        return;
    }
    const bool recording = m_pWaveRecorder->IsRecording();
    const bool measuring = Panel() && Panel()->Core().GetFlags().m_bMeasuring != 0;
    if (QAction* action = FindAction(ids::kRecordWave)) {
        action->setEnabled(measuring && !recording);
    }
    if (QAction* action = FindAction(ids::kPauseWave)) {
        action->setEnabled(recording);
        action->setChecked(recording && m_pWaveRecorder->IsPaused());
    }
    for (int id : {ids::kStopWave, ids::kInsertMarker}) {
        if (QAction* action = FindAction(id)) {
            action->setEnabled(recording);
        }
    }
}

void CMainFrame::OnRecordWave() {
    CDlgOper* panel = Panel();
    const COperCore& core = panel->Core();
    const int index = core.GetSelectedDevice();
    if (index < 0 || m_pWaveRecorder->IsRecording()) {
        return;
    }
    const _ZP_Device_Info& device = core.GetCatalogue().At(index);
    const CRecordingInfo info{device.m_nType, device.m_szShortName, device.m_szDevNum,
                              device.m_szDate};
    QString error;
    if (!m_pWaveRecorder->Start(QString::fromStdString(core.GetLogFolder()), info, error)) {
        statusBar()->showMessage(QString::fromUtf8(texts::kRecordingFailed).arg(error));
        return;
    }
    m_pOpenRecording->hide();
    ShowWaveState();
    UpdateWaveStates();
}

void CMainFrame::ShowWaveState() {
    if (!m_pWaveRecorder->IsRecording()) {
        return;
    }
    m_pRecordingLabel->setText(QStringLiteral("<span style=\"color:#e00000\">●</span> ") +
                               m_pWaveRecorder->StateText().toHtmlEscaped());
    // The name says what the pane is; screen readers read the state from the description.
    m_pRecordingLabel->setAccessibleDescription(m_pWaveRecorder->StateText());
    m_pRecordingLabel->show();
}

void CMainFrame::OnWaveStopped(const QString& path, const QString& error) {
    m_strLastRecording = path;
    const QString said = error.isEmpty() ? QString::fromUtf8(texts::kRecordingSaved).arg(path)
                                         : QString::fromUtf8(texts::kRecordingFailed).arg(error);
    m_pRecordingLabel->setText(said.toHtmlEscaped());
    m_pRecordingLabel->setAccessibleDescription(said);
    m_pRecordingLabel->show();
    m_pOpenRecording->setVisible(QFile::exists(path));
    UpdateWaveStates();
}

void CMainFrame::RepairDataFolder() {
    const std::vector<std::string> repaired = RepairRecordingsIn(Panel()->Core().GetLogFolder());
    if (!repaired.empty()) {
        statusBar()->showMessage(
            QString::fromUtf8(texts::kRecordingsRepaired).arg(repaired.size()));
    }
}

}  // namespace somatrix
