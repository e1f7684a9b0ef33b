#pragma once
// The beats of the shown signal of a review source, in seconds from its first sample: the "R"
// annotations where the recording carries them (beats a student corrected), otherwise the
// detector's over the whole signal. Pulse and infrared-pulse signals take the pulse detector;
// every other signal is read as an ECG. Framework-free; any one thread.
#include <string>
#include <vector>

#include "analysis/beat_detector.h"

namespace somatrix {

class CReviewSource;

EBeatSource BeatSourceOfLabel(const std::string& label);
std::vector<double> SourceBeatTimes(const CReviewSource& source);

}  // namespace somatrix
