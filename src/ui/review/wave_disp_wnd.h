#pragma once
// The review display: owns the review recording and lays out the wave window, the overview,
// the two rulers and the review bar; carries the Open and Save commands. The children report to
// it and it keeps the others in step (they never talk to each other).
#include <QString>
#include <QWidget>
#include <cstdint>

#include "review/review_recording.h"

namespace somatrix {

class CBeatOverlay;
class CWaveDataWnd;
class CPortionWnd;
class CRulerWnd;
class CWaveInfoBar;

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

    const CReviewRecording& Recording() const { return m_recording; }
    CWaveDataWnd* WaveWnd() const { return m_pWave; }
    CPortionWnd* PortionWnd() const { return m_pPortion; }
    CRulerWnd* TimeRuler() const { return m_pTimeRuler; }
    CRulerWnd* ValueRuler() const { return m_pValueRuler; }
    CWaveInfoBar* InfoBar() const { return m_pBar; }
    // The beats of the recording: ticks, heart-rate strip and their edits.
    CBeatOverlay* BeatOverlay() const { return m_pBeats; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Layout();
    // Hands the recording to the windows after a load or a cut.
    void ShowRecording();
    // Every window back to its state before any recording.
    void ClearWindows();

    CReviewRecording m_recording;
    CPortionWnd* m_pPortion;
    CRulerWnd* m_pValueRuler;
    CRulerWnd* m_pTimeRuler;
    CWaveDataWnd* m_pWave;
    CWaveInfoBar* m_pBar;
    CBeatOverlay* m_pBeats;
};

}  // namespace somatrix
