#include "ui/review/wave_disp_wnd.h"

#include <QFile>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <string>

#include "platform/program_folder.h"
#include "review/review_file.h"
#include "review/ruler_labels.h"
#include "ui/review/beat_overlay.h"
#include "ui/review/file_dialog.h"
#include "ui/review/portion_wnd.h"
#include "ui/review/review_colors.h"
#include "ui/review/review_texts.h"
#include "ui/review/ruler_wnd.h"
#include "ui/review/wave_data_wnd.h"
#include "ui/review/wave_info_bar.h"
#include "ui/shell/message_box.h"

namespace somatrix {

namespace {

CFileDialogRequest FileRequest(bool save) {
    CFileDialogRequest request;
    request.m_bSave = save;
    // Opening and saving share one title.
    request.m_strTitle = review::FileDialogTitle();
    request.m_strFilter = review::FileFilter();
    request.m_strFolder = QString::fromStdString(GetProgramFolder());
    request.m_strDefaultSuffix = review::DefaultSuffix();
    return request;
}

}  // namespace

CWaveDispWnd::CWaveDispWnd(QWidget* parent) : QWidget(parent) {
    m_pPortion = new CPortionWnd(this);
    m_pPortion->setProperty("windowId", review::ids::kOverview);
    m_pValueRuler = new CRulerWnd(this);
    m_pValueRuler->setProperty("windowId", review::ids::kValueRuler);
    m_pValueRuler->SetVertical(true);
    m_pTimeRuler = new CRulerWnd(this);
    m_pTimeRuler->setProperty("windowId", review::ids::kTimeRuler);
    m_pWave = new CWaveDataWnd(this);
    m_pWave->setProperty("windowId", review::ids::kWave);
    m_pBar = new CWaveInfoBar(this);
    m_pBar->show();
    m_pBeats = new CBeatOverlay(m_pWave);
    Layout();
}

CWaveDispWnd::~CWaveDispWnd() = default;

void CWaveDispWnd::OpenWaveFile() {
    const QString path = AskFilePath(this, FileRequest(false));
    if (!path.isEmpty()) {
        LoadWaveFile(path);
    }
}

void CWaveDispWnd::SaveWaveFile() {
    const QString path = AskFilePath(this, FileRequest(true));
    if (path.isEmpty()) {
        return;
    }
    std::string error;
    if (!::somatrix::SaveWaveFile(QFile::encodeName(path).toStdString(), m_recording, error)) {
        ShowMessageBox(this, review::SaveFailed());
    }
}

void CWaveDispWnd::LoadWaveFile(const QString& path) {
    const CLoadOutcome outcome =
        ::somatrix::LoadWaveFile(QFile::encodeName(path).toStdString(), m_recording);
    if (outcome.m_result == ELoadResult::kLoaded) {
        m_pBeats->Load(m_recording.Samples(), m_recording.SampleCount(),
                       CReviewRecording::kSampleRate);
        ShowRecording();
        m_pWave->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The old samples are gone with the load: no window may keep showing them.
    ClearWindows();
    if (outcome.m_result != ELoadResult::kRejected) {
        ShowMessageBox(this, QString::fromStdString(outcome.m_strError));
    }
}

void CWaveDispWnd::ShowRecording() {
    m_pPortion->SetTotal(m_recording.SampleCount());
    m_pWave->SetData(m_recording.Samples(), m_recording.SampleCount());
}

void CWaveDispWnd::ClearWindows() {
    m_pPortion->SetTotal(0);
    m_pWave->SetData(nullptr, 0);
    m_pTimeRuler->Reset();
    m_pValueRuler->Reset();
    m_pBar->Clear();
    m_pBeats->Clear();
}

void CWaveDispWnd::SetViewInfo(int64_t start, int64_t end, double yScale, double xScale) {
    m_pPortion->SetView(start, end);
    m_pTimeRuler->SetRange(start, end);
    m_pBar->SetViewTimes(FormatSampleTime(start), FormatSampleTime(end));
    m_pBar->SetScales(QString::fromStdString(ScaleText(xScale)),
                      QString::fromStdString(ScaleText(yScale)));
    m_pBeats->Refresh();
}

void CWaveDispWnd::SetView(int64_t start, int64_t end) {
    m_pWave->SetView(start, end);
    m_pTimeRuler->SetRange(start, end);
    m_pBar->SetViewTimes(FormatSampleTime(start), FormatSampleTime(end));
    m_pBeats->Refresh();
}

void CWaveDispWnd::SetSelection(int64_t low, int64_t high) {
    m_pPortion->SetSelection(low, high);
    m_pBar->SetSelectionTimes(FormatSampleTime(low), FormatSampleTime(high));
}

void CWaveDispWnd::CutSelection(int64_t start, int64_t end) {
    const int64_t count = m_recording.SampleCount();
    start = std::clamp<int64_t>(start, 0, count);
    end = std::clamp<int64_t>(end, start, count);
    m_recording.CutSamples(static_cast<uint32_t>(start), static_cast<uint32_t>(end));
    m_pBeats->Cut(start, end, m_recording.Samples(), m_recording.SampleCount());
    ShowRecording();
}

void CWaveDispWnd::SetValueRange(int32_t top, int32_t bottom) {
    m_pValueRuler->SetValues(top, bottom);
}

QString CWaveDispWnd::FormatSampleTime(int64_t s) const {
    if (s < 0 || s > UINT32_MAX) {
        return {};
    }
    std::string text;
    m_recording.FormatSampleTime(static_cast<uint32_t>(s), &text);
    return QString::fromStdString(text);
}

void CWaveDispWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
}

void CWaveDispWnd::Layout() {
    const int l = 2;
    const int t = 2;
    const int r = width() - 2;
    const int b = height();
    const int w = std::max(r - l - 40, 0);
    const int plot = std::max(b - t - 145, 0);
    m_pPortion->setGeometry(l, t, w, 45);
    m_pWave->setGeometry(l, t + 50, w, plot);
    m_pValueRuler->SetVertical(true);
    m_pValueRuler->setGeometry(r - 40, t + 50, 40, plot);
    m_pTimeRuler->setGeometry(l, b - 95, w, 30);
    m_pBar->setGeometry(l, b - 65, w, 65);
}

void CWaveDispWnd::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), review::kDisplayBackground);
}

}  // namespace somatrix
