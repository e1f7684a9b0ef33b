#pragma once
// What review mode shows: one opened recording, either a review file (one signal of 16-bit
// samples at exactly 200 per second, time-stamped segments) or an EDF+ recording (its own start
// time, one or more signals each at its own rate, annotations, stretches without data).
//
// Contract for the windows and tools that read it (GUI thread or one command-line thread):
// - One signal is shown at a time (SelectSignal). Samples(), SampleCount() and SampleRate() are
//   that signal's; the pointer stays valid until the next load, cut or selection.
// - Samples are unsigned 16-bit display values. Physical(v) turns one into the signal's physical
//   value in Unit(); for review files and Somatrix recordings of raw counts it is v itself.
// - Gaps() lists the shown signal's sample ranges without data (paused or disconnected). Their
//   samples repeat the last value before the gap, so extremes and the trace stay sane; painters
//   leave those columns empty.
// - FormatSampleTime(s, text) is the time of sample s in whole seconds since 1970 (UTC), with
//   the local time text "%04d.%02d.%02d %02d:%02d:%02d.%03d"; SampleSeconds(s) is the time of
//   sample s in seconds from the recording's start.
// - Annotations are kept sorted by onset (seconds from the start); AddAnnotation returns the
//   index of the new entry. Review files have none and refuse none: annotations added to one
//   are kept in memory and lost only if the file is saved in the review format.
#include <cstdint>
#include <string>
#include <vector>

#include "recording/annotation.h"
#include "review/review_recording.h"

namespace somatrix {

// A range of sample indices [m_nStart, m_nEnd) that holds no data.
struct CSampleGap {
    uint32_t m_nStart = 0;
    uint32_t m_nEnd = 0;
    bool operator==(const CSampleGap&) const = default;
};

// One signal of an EDF+ recording as review holds it.
struct CSourceSignal {
    std::string m_strLabel;
    std::string m_strUnit;
    uint32_t m_nRate = 0;   // samples per second
    double m_fScale = 1.0;  // physical = m_fOffset + m_fScale * display value
    double m_fOffset = 0.0;
    CSampleArray m_samples;
    std::vector<CSampleGap> m_gaps;
    // The lowest pyramid levels the loader made beside its read (for the signal shown first).
    CPyramidSeed m_seed;
};

enum class ESourceFormat { kNone, kReview, kEdf };

class CReviewSource {
public:
    // Empties the source (no format, no samples, no annotations).
    void Clear();
    // The review file just loaded into Recording() becomes the shown signal.
    void AdoptReviewRecording();
    // An EDF+ recording: its signals, start time (seconds since 1970, UTC, and the fraction of
    // a second) and annotations. Signal 0 is shown.
    void SetEdf(std::vector<CSourceSignal> channels, int64_t startSeconds, double startFraction,
                std::vector<CAnnotation> annotations);

    ESourceFormat Format() const { return m_nFormat; }
    bool Empty() const { return SampleCount() == 0; }

    // The shown signal.
    const uint16_t* Samples() const;
    uint32_t SampleCount() const;
    uint32_t SampleRate() const;
    const std::vector<CSampleGap>& Gaps() const;
    double Physical(uint16_t value) const;
    std::string Unit() const;

    // Signals (a review file has one, "EEG").
    size_t SignalCount() const;
    std::string SignalLabel(size_t k) const;
    size_t SelectedSignal() const { return m_nSelected; }
    void SelectSignal(size_t k);
    const std::vector<CSourceSignal>& Signals() const { return m_signals; }

    // Times.
    int64_t StartSeconds() const;  // 0 when unknown
    double StartFraction() const { return m_nFormat == ESourceFormat::kEdf ? m_fStartFraction : 0; }
    uint32_t FormatSampleTime(uint32_t s, std::string* text) const;
    double SampleSeconds(uint32_t s) const;
    // The first sample of the shown signal at or after `seconds` from the start (clamped).
    uint32_t SampleAt(double seconds) const;

    // Annotations.
    const std::vector<CAnnotation>& Annotations() const { return m_annotations; }
    size_t AddAnnotation(CAnnotation annotation);
    void RenameAnnotation(size_t k, const std::string& text);
    void RemoveAnnotation(size_t k);

    // Removes the samples [start, end) of the shown signal, and the same stretch of time from
    // every other signal; annotations inside go and later ones move up. Review files keep their
    // segment times as the review recording does.
    void CutSamples(uint32_t start, uint32_t end);

    // The shown signal's samples [first, last) as a single-segment review recording that starts
    // at the time of sample `first`.
    void ToReviewRecording(uint32_t first, uint32_t last, CReviewRecording& out) const;

    // The lowest pyramid levels the load made for the shown signal's first view, if any; a cut
    // drops them. Taking them leaves none behind.
    CPyramidSeed TakePyramidSeed();

    CReviewRecording& Recording() { return m_recording; }
    const CReviewRecording& Recording() const { return m_recording; }

private:
    ESourceFormat m_nFormat = ESourceFormat::kNone;
    CReviewRecording m_recording;
    std::vector<CSourceSignal> m_signals;
    size_t m_nSelected = 0;
    int64_t m_nStartSeconds = 0;
    double m_fStartFraction = 0.0;
    std::vector<CAnnotation> m_annotations;
};

}  // namespace somatrix
