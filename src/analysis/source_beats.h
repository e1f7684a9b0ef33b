#pragma once
// Beats of a recording opened for review. Which detector a signal calls for: review files do not
// store their sensor, so their one signal is taken as ECG (and so is the single "EEG" signal of
// a review file saved as EDF+); an EDF+ signal says what it is by its label ("ECG", "Pulse",
// "IR pulse", "Pleth", ...). Beats a student has corrected are kept as
// annotations "R" (one at each beat); a recording that has them uses them instead of detecting
// again.
#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/beat_detector.h"
#include "review/review_source.h"

namespace somatrix {

inline constexpr char kBeatAnnotation[] = "R";

// The detector for signal `k`, or none for a signal without beats (temperature, SpO2 ...).
std::optional<EBeatSource> BeatSourceOf(const CReviewSource& source, size_t k);
// Runs the detector over the shown signal (its physical values): beat times in seconds from
// the recording's start.
std::vector<double> DetectSourceBeats(const CReviewSource& source, EBeatSource kind);
// The onsets of the "R" annotations, ascending.
std::vector<double> BeatAnnotations(const CReviewSource& source);
// The beats of the shown signal: its "R" annotations when it is an ECG that has them, else
// detected. `fromAnnotations` tells which. Empty for a signal without beats.
std::vector<double> SourceBeats(const CReviewSource& source, bool* fromAnnotations = nullptr);
// Replaces the "R" annotations by one per beat (other annotations stay).
void StoreBeatAnnotations(CReviewSource& source, const std::vector<double>& beatsSec);

}  // namespace somatrix
