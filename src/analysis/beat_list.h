#pragma once
// The beats of a recording under review, as sample indices, kept through the student's edits:
// detected once when the recording is opened, then added to or removed with the mouse, moved
// with a cut, and handed to the strip, the statistics and the saved annotations.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "analysis/beat_detector.h"

namespace somatrix {

class CBeatList {
public:
    // Detects the beats of `samples` (their pointer is kept for snapping edits to the wave).
    void Detect(const uint16_t* samples, uint32_t count, double rate, EBeatSource source);
    // Takes beats from elsewhere (stored annotations); sorted and de-duplicated.
    void Set(std::vector<int64_t> beats, const uint16_t* samples, uint32_t count, double rate,
             EBeatSource source);
    // New pointer to the same samples (after a cut moved them), beats unchanged.
    void SetSamples(const uint16_t* samples, uint32_t count) {
        m_pSamples = samples;
        m_nCount = count;
    }
    void Clear();

    // The mouse: removes the beat nearest `sample` when one lies within `tolerance` samples;
    // otherwise adds one at the R peak (ECG) or the steepest upstroke (pulse) within 60 ms of
    // `sample`. Returns +1 for an added beat, -1 for a removed one.
    int Toggle(int64_t sample, int64_t tolerance);
    // The samples [start, end) were cut out: their beats go, later ones move up.
    void Cut(int64_t start, int64_t end);

    const std::vector<int64_t>& Samples() const { return m_beats; }
    size_t Count() const { return m_beats.size(); }
    double Rate() const { return m_fRate; }
    EBeatSource Source() const { return m_eSource; }
    bool Edited() const { return m_bEdited; }
    // Index range [first, last) of the beats within the samples [from, to).
    std::pair<size_t, size_t> Within(int64_t from, int64_t to) const;
    // Beat times in seconds from the first sample.
    std::vector<double> Times() const;

private:
    int64_t Snap(int64_t sample) const;

    std::vector<int64_t> m_beats;
    const uint16_t* m_pSamples = nullptr;
    uint32_t m_nCount = 0;
    double m_fRate = 200;
    EBeatSource m_eSource = EBeatSource::Ecg;
    bool m_bEdited = false;
};

}  // namespace somatrix
