#pragma once
// The review display: owns the review source (a review file or an EDF+ recording) and lays out
// the wave window, the overview, the two rulers and the review bar; carries the Open and Save
// commands, the signal choice, the annotations and the CSV export. The children report to
// it and it keeps the others in step (they never talk to each other).
#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "review/review_source.h"

namespace somatrix {

class CBeatOverlay;
class CWaveDataWnd;
class CPortionWnd;
class CRulerWnd;
class CWaveInfoBar;
class CSelectionStatsPanel;
class CCompareWnd;
class CWorksheetDialog;

class CWaveDispWnd : public QWidget {
    Q_OBJECT
public:
    explicit CWaveDispWnd(QWidget* parent = nullptr);
    ~CWaveDispWnd() override;

    // File commands of the view: the open and save dialogs, then load or save.
    void OpenWaveFile();
    void SaveWaveFile();
    // Replaces the review recording by the file's contents (also used for a file named on the
    // command line). A file that is not loaded leaves every review window empty.
    void LoadWaveFile(const QString& path);

    // Coordination, called by the children.
    void SetViewInfo(int64_t start, int64_t end, double yScale, double xScale);
    void SetView(int64_t start, int64_t end);
    void SetSelection(int64_t low, int64_t high);
    void CutSelection(int64_t start, int64_t end);
    void SetValueRange(int32_t top, int32_t bottom);
    // The time of sample s as "%04d.%02d.%02d %02d:%02d:%02d.%03d" in local time; empty when the
    // recording has no time stamp.
    QString FormatSampleTime(int64_t s) const;

    const CReviewRecording& Recording() const { return m_source.Recording(); }
    const CReviewSource& Source() const { return m_source; }
    // The status bar's last text from review (a repaired file, a file EDFlib refused).
    QString LastStatus() const { return m_strStatus; }

    // The signal shown, the annotations, the export (the review bar's commands).
    void ChooseSignal(int index);
    void JumpToMark(int index);
    // Adds "标记 N" at the selection's start (the view's start without a selection).
    void AddMark();
    // Renames annotation `index` to `text`; asks for the text when it is null.
    void RenameMark(int index, const QString& text = QString());
    void RemoveMark(int index);
    void ExportCsv();
    CWaveDataWnd* WaveWnd() const { return m_pWave; }
    CPortionWnd* PortionWnd() const { return m_pPortion; }
    CRulerWnd* TimeRuler() const { return m_pTimeRuler; }
    CRulerWnd* ValueRuler() const { return m_pValueRuler; }
    CWaveInfoBar* InfoBar() const { return m_pBar; }
    CSelectionStatsPanel* StatsPanel() const { return m_pStats; }

    // Statistics of the selection, or of the view while nothing is selected (wave_disp_stats.cpp).
    void UpdateStatistics();
    // Ctrl+C in review mode: the statistics as text on the clipboard.
    void CopyStatistics();
    // Beat times of the recording in seconds from its first sample, for the statistics.
    const std::vector<double>& BeatTimes() const { return m_beatTimes; }
    void SetBeatTimes(std::vector<double> beatTimes);

    // "对比两段记录…": the comparison window with this recording first (when one is open) and a
    // second one asked for (wave_disp_reports.cpp).
    void OpenComparison();
    CCompareWnd* CompareWnd() const { return m_pCompare; }
    // "打印实验报告…": two pages while a comparison of two recordings is shown, else this view.
    CWorksheetDialog* CreateWorksheetDialog();
    void PrintWorksheet();
    // The beats of the recording: ticks, heart-rate strip and their edits.
    CBeatOverlay* BeatOverlay() const { return m_pBeats; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Layout();
    void LayoutStats();
    // Hands the recording to the windows after a load or a cut.
    void ShowRecording();
    // Every window back to its state before any recording.
    void ClearWindows();
    // Ticks and list of the annotations after any change.
    void ShowMarks(int current = -1);
    void ShowStatus(const QString& text);
    // What a review file would lose of the source, one line each; empty when nothing.
    QStringList ReviewFileLosses() const;

    CReviewSource m_source;
    QString m_strStatus;
    CPortionWnd* m_pPortion;
    CRulerWnd* m_pValueRuler;
    CRulerWnd* m_pTimeRuler;
    CWaveDataWnd* m_pWave;
    CWaveInfoBar* m_pBar;
    CSelectionStatsPanel* m_pStats;
    std::vector<double> m_beatTimes;
    QString m_strPath;  // the file shown, for the worksheet and the comparison
    CCompareWnd* m_pCompare = nullptr;
    CBeatOverlay* m_pBeats;
};

}  // namespace somatrix
