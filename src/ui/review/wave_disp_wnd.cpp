#include "ui/review/wave_disp_wnd.h"

#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QMainWindow>
#include <QPainter>
#include <QResizeEvent>
#include <QStatusBar>
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/program_folder.h"
#include "platform/review_file_saver.h"
#include "review/csv_export.h"
#include "review/edf_load.h"
#include "review/edf_save.h"
#include "review/review_file.h"
#include "review/ruler_labels.h"
#include "review/source_load.h"
#include "ui/review/beat_overlay.h"
#include "ui/review/file_dialog.h"
#include "ui/review/portion_wnd.h"
#include "ui/review/review_colors.h"
#include "ui/review/review_texts.h"
#include "ui/review/ruler_wnd.h"
#include "ui/review/selection_stats_panel.h"
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
    request.m_strFilter = save ? review::SaveFilter(false) : review::FileFilter();
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
    m_pStats = new CSelectionStatsPanel(m_pBar);
    connect(m_pBar, &CWaveInfoBar::SignalChosen, this, &CWaveDispWnd::ChooseSignal);
    connect(m_pBar, &CWaveInfoBar::MarkChosen, this, &CWaveDispWnd::JumpToMark);
    connect(m_pBar, &CWaveInfoBar::AddMarkClicked, this, &CWaveDispWnd::AddMark);
    connect(m_pBar, &CWaveInfoBar::RenameMarkClicked, this,
            [this](int index) { RenameMark(index); });
    connect(m_pBar, &CWaveInfoBar::RemoveMarkClicked, this, &CWaveDispWnd::RemoveMark);
    connect(m_pBar, &CWaveInfoBar::ExportCsvClicked, this, &CWaveDispWnd::ExportCsv);
    m_pBeats = new CBeatOverlay(m_pWave);
    connect(m_pBeats, &CBeatOverlay::BeatsEdited, this,
            [this] { SetBeatTimes(m_pBeats->Beats().Times()); });
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
    // A review file too short to open again is refused before a file is chosen.
    std::string error;
    if (m_source.Format() != ESourceFormat::kEdf && !IsSavable(m_source.Recording(), error)) {
        ShowMessageBox(this, QString::fromStdString(error));
        return;
    }
    CFileDialogRequest request = FileRequest(true);
    if (m_source.Format() == ESourceFormat::kEdf) {
        request.m_strFilter = review::SaveFilter(true);
        request.m_strDefaultSuffix = QStringLiteral("edf");
    }
    const QString path = AskFilePath(this, request);
    if (path.isEmpty()) {
        return;
    }
    const std::string file = QFile::encodeName(path).toStdString();
    if (IsEdfPath(file)) {
        // Corrected beats go into the file as "R" annotations.
        if (m_pBeats->Beats().Edited()) {
            m_pBeats->StoreInto(m_source);
        }
        if (!SaveEdfFile(file, m_source, 0, m_source.SampleCount(), error)) {
            ShowMessageBox(this, review::SaveFailed(QString::fromStdString(error)));
        }
        return;
    }
    const QStringList losses = ReviewFileLosses();
    if (!losses.isEmpty() &&
        AskMessageBox(this, review::ReviewLossTitle(),
                      review::ReviewLossIntro() + QStringLiteral("\n  ") +
                          losses.join(QStringLiteral("\n  ")) + QStringLiteral("\n") +
                          review::ReviewLossQuestion(),
                      QMessageBox::Warning,
                      QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    CReviewRecording converted;
    const CReviewRecording* recording = &m_source.Recording();
    if (m_source.Format() == ESourceFormat::kEdf) {
        m_source.ToReviewRecording(0, m_source.SampleCount(), converted);
        recording = &converted;
    }
    if (!IsSavable(*recording, error) || !SaveReviewFile(path, *recording, error)) {
        ShowMessageBox(this, QString::fromStdString(error));
    }
}

QStringList CWaveDispWnd::ReviewFileLosses() const {
    QStringList losses;
    if (!m_source.Annotations().empty()) {
        losses << review::LossAnnotations().arg(m_source.Annotations().size());
    }
    if (m_source.Format() != ESourceFormat::kEdf) {
        return losses;
    }
    if (m_source.SampleRate() != CReviewRecording::kSampleRate) {
        losses << review::LossRate().arg(m_source.SampleRate());
    }
    if (m_source.SignalCount() > 1) {
        losses << review::LossSignals().arg(m_source.SignalCount() - 1);
    }
    if (!m_source.Gaps().empty()) {
        losses << review::LossGaps();
    }
    const CSourceSignal& shown = m_source.Signals()[m_source.SelectedSignal()];
    if (shown.m_fScale != 1.0 || shown.m_fOffset != 0.0 || !shown.m_strUnit.empty()) {
        losses << review::LossUnits().arg(QString::fromStdString(shown.m_strUnit));
    }
    return losses;
}

void CWaveDispWnd::LoadWaveFile(const QString& path) {
    const CSourceLoadOutcome outcome =
        LoadReviewSource(QFile::encodeName(path).toStdString(), m_source);
    if (outcome.m_result == ESourceLoad::kLoaded) {
        m_strPath = path;
        m_pBeats->LoadSource(m_source);
        ShowRecording();
        m_pWave->setFocus(Qt::OtherFocusReason);
        if (outcome.m_bRepaired) {
            ShowStatus(review::Repaired().arg(path));
        }
        return;
    }
    // The old samples are gone with the load: no window may keep showing them.
    ClearWindows();
    if (outcome.m_result == ESourceLoad::kEdfRefused) {
        ShowStatus(review::EdfRefused().arg(review::EdfReason(outcome.m_nEdfError)));
    } else if (outcome.m_result == ESourceLoad::kUnreadable) {
        ShowMessageBox(this, QString::fromStdString(outcome.m_strError));
    } else if (auto* frame = qobject_cast<QMainWindow*>(window())) {
        // No box for a file of another kind, but a word where the operator looks.
        frame->statusBar()->showMessage(review::NotAReviewFile().arg(QFileInfo(path).fileName()));
    }
}

void CWaveDispWnd::ShowStatus(const QString& text) {
    m_strStatus = text;
    if (auto* frame = qobject_cast<QMainWindow*>(window())) {
        frame->statusBar()->showMessage(text);
    }
}

void CWaveDispWnd::ShowRecording() {
    // The rulers and the bar follow the file's own rate and start; the values carry its scale.
    m_pWave->SetGaps(m_source.Gaps());
    m_pPortion->SetTotal(m_source.SampleCount());
    const double offset = m_source.Physical(0);
    m_pWave->SetValueScale(m_source.SampleRate(), m_source.Physical(1) - offset, offset);
    // A file just loaded hands over the pyramid levels its load built alongside.
    m_pWave->SetData(m_source.Samples(), m_source.SampleCount(), m_source.TakePyramidSeed());
    // New samples carry no selection: the bar's selection times would name old samples.
    m_pBar->SetSelectionTimes(QString(), QString());
    QStringList labels;
    for (size_t k = 0; k < m_source.SignalCount(); ++k) {
        labels << QString::fromStdString(m_source.SignalLabel(k));
    }
    m_pBar->SetSignals(labels, static_cast<int>(m_source.SelectedSignal()));
    ShowMarks();
    SetBeatTimes(m_pBeats->Beats().Times());
}

void CWaveDispWnd::ShowMarks(int current) {
    CMarkTicks ticks;
    QStringList items;
    for (const CAnnotation& a : m_source.Annotations()) {
        const QString text = QString::fromStdString(a.m_strText);
        ticks.push_back({m_source.SampleAt(a.m_fOnset), text});
        items << QStringLiteral("%1 s  %2").arg(a.m_fOnset, 0, 'f', 3).arg(text);
    }
    m_pWave->SetMarks(ticks);
    m_pPortion->SetMarks(std::move(ticks));
    const int last = static_cast<int>(items.size()) - 1;
    m_pBar->SetMarks(items, items.isEmpty() ? -1 : std::clamp(current, 0, last));
}

void CWaveDispWnd::ChooseSignal(int index) {
    if (index < 0 || static_cast<size_t>(index) == m_source.SelectedSignal()) {
        return;
    }
    m_source.SelectSignal(static_cast<size_t>(index));
    m_pBeats->LoadSource(m_source);
    ShowRecording();
}

void CWaveDispWnd::JumpToMark(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_source.Annotations().size()) {
        return;
    }
    // The view keeps its span and centres on the annotation.
    const CWaveView& view = m_pWave->View();
    const int64_t span = view.ViewEnd() - view.ViewStart();
    const int64_t count = m_source.SampleCount();
    const int64_t at =
        m_source.SampleAt(m_source.Annotations()[static_cast<size_t>(index)].m_fOnset);
    const int64_t start = std::clamp<int64_t>(at - span / 2, 0, std::max<int64_t>(0, count - span));
    SetView(start, start + span);
    m_pPortion->SetView(start, start + span);
}

void CWaveDispWnd::AddMark() {
    if (m_source.Empty()) {
        return;
    }
    const CWaveView& view = m_pWave->View();
    const int64_t at = view.SelLow() != view.SelHigh() ? view.SelLow() : view.ViewStart();
    const QString text = review::MarkerName().arg(m_source.Annotations().size() + 1);
    const size_t index = m_source.AddAnnotation(
        {m_source.SampleSeconds(static_cast<uint32_t>(at)), -1.0, text.toStdString()});
    ShowMarks(static_cast<int>(index));
}

void CWaveDispWnd::RenameMark(int index, const QString& given) {
    if (index < 0 || static_cast<size_t>(index) >= m_source.Annotations().size()) {
        return;
    }
    QString text = given;
    if (text.isNull()) {
        bool ok = false;
        text = QInputDialog::getText(
            this, review::RenameMarkTitle(), review::RenameMarkLabel(), QLineEdit::Normal,
            QString::fromStdString(m_source.Annotations()[static_cast<size_t>(index)].m_strText),
            &ok);
        if (!ok) {
            return;
        }
    }
    m_source.RenameAnnotation(static_cast<size_t>(index), text.toStdString());
    ShowMarks(index);
}

void CWaveDispWnd::RemoveMark(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_source.Annotations().size()) {
        return;
    }
    m_source.RemoveAnnotation(static_cast<size_t>(index));
    ShowMarks(index);
}

void CWaveDispWnd::ExportCsv() {
    if (m_source.Empty()) {
        return;
    }
    CFileDialogRequest request = FileRequest(true);
    request.m_strTitle = review::ExportCsvTitle();
    request.m_strFilter = review::CsvFilter();
    request.m_strDefaultSuffix = QStringLiteral("csv");
    const QString path = AskFilePath(this, request);
    if (path.isEmpty()) {
        return;
    }
    // The selection when there is one, else the whole shown signal.
    const CWaveView& view = m_pWave->View();
    const bool selected = view.SelLow() != view.SelHigh();
    const auto first = static_cast<uint32_t>(selected ? view.SelLow() : 0);
    const auto last = static_cast<uint32_t>(selected ? view.SelHigh() : m_source.SampleCount());
    std::string error;
    if (!WriteCsvFile(QFile::encodeName(path).toStdString(), m_source, first, last, error)) {
        ShowMessageBox(this, review::ExportFailed().arg(QString::fromStdString(error)));
    }
}

void CWaveDispWnd::ClearWindows() {
    m_pPortion->SetTotal(0);
    m_pWave->SetGaps({});
    m_pWave->SetData(nullptr, 0);
    m_pWave->SetMarks({});
    m_pPortion->SetMarks({});
    m_pBar->SetSignals({}, -1);
    m_pBar->SetMarks({}, -1);
    m_pTimeRuler->Reset();
    m_pValueRuler->Reset();
    m_pBar->Clear();
    m_beatTimes.clear();
    m_strPath.clear();
    m_pStats->Clear();
    m_pBeats->Clear();
}

void CWaveDispWnd::SetViewInfo(int64_t start, int64_t end, double yScale, double xScale) {
    m_pPortion->SetView(start, end);
    m_pTimeRuler->SetRange(start, end);
    m_pBar->SetViewTimes(FormatSampleTime(start), FormatSampleTime(end));
    m_pBar->SetScales(QString::fromStdString(ScaleText(xScale)),
                      QString::fromStdString(ScaleText(yScale)));
    UpdateStatistics();
    m_pBeats->Refresh();
}

void CWaveDispWnd::SetView(int64_t start, int64_t end) {
    m_pWave->SetView(start, end);
    m_pTimeRuler->SetRange(start, end);
    m_pBar->SetViewTimes(FormatSampleTime(start), FormatSampleTime(end));
    UpdateStatistics();
    m_pBeats->Refresh();
}

void CWaveDispWnd::SetSelection(int64_t low, int64_t high) {
    m_pPortion->SetSelection(low, high);
    m_pBar->SetSelectionTimes(FormatSampleTime(low), FormatSampleTime(high));
    UpdateStatistics();
}

void CWaveDispWnd::CutSelection(int64_t start, int64_t end) {
    const int64_t count = m_source.SampleCount();
    start = std::clamp<int64_t>(start, 0, count);
    end = std::clamp<int64_t>(end, start, count);
    m_source.CutSamples(static_cast<uint32_t>(start), static_cast<uint32_t>(end));
    m_pBeats->Cut(start, end, m_source.Samples(), m_source.SampleCount());
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
    m_source.FormatSampleTime(static_cast<uint32_t>(s), &text);
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
    LayoutStats();
}

void CWaveDispWnd::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), review::kDisplayBackground);
}

}  // namespace somatrix
