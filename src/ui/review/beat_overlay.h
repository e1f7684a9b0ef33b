#pragma once
// The beats of an ECG or pulse recording in the review wave window: small ticks above the trace
// at every beat, and a heart-rate strip along the window's bottom edge that follows the view.
// Both lie over the wave window without taking its place or its mouse; Ctrl+click in the wave
// window adds a beat at the nearest R peak or removes the beat under the pointer. The beats are
// detected when a recording is opened and kept, with the edits, until the next one.
#include <QObject>
#include <QWidget>
#include <utility>
#include <vector>

#include "analysis/beat_list.h"
#include "review/review_source.h"

namespace somatrix {

class CWaveDataWnd;

class CBeatOverlay : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickBand = 9;
    static constexpr int kStripHeight = 56;

    explicit CBeatOverlay(CWaveDataWnd* wave);

    // A recording was opened: its beats are detected (ECG detector; review files hold no type).
    void Load(const uint16_t* samples, uint32_t count, double rate);
    // An opened source (review file or EDF+): its "R" annotations where it has them, else the
    // beats detected with the detector its shown signal's label calls for; none for a signal
    // without beats.
    void LoadSource(const CReviewSource& source);
    // Before saving as EDF+: the beats, with the edits, become the source's "R" annotations.
    void StoreInto(CReviewSource& source) const;
    // The samples moved after a cut of [start, end).
    void Cut(int64_t start, int64_t end, const uint16_t* samples, uint32_t count);
    void Clear();
    // The view changed: both layers paint again.
    void Refresh();

    CBeatList& Beats() { return m_beats; }
    const CBeatList& Beats() const { return m_beats; }
    // (time s, bpm) of every normal interval.
    const std::vector<std::pair<double, double>>& RateSeries() const { return m_series; }
    QWidget* Ticks() const { return m_pTicks; }
    QWidget* Strip() const { return m_pStrip; }
    CWaveDataWnd* Wave() const { return m_pWave; }

signals:
    void BeatsEdited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BeatsChanged();
    void Place();

    CWaveDataWnd* m_pWave;
    QWidget* m_pTicks;
    QWidget* m_pStrip;
    CBeatList m_beats;
    std::vector<std::pair<double, double>> m_series;
};

}  // namespace somatrix
