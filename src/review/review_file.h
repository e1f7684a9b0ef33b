#pragma once
// Reading and writing review files ("EEG1TM"/"EEG2TM" header, time stamp, 16-bit samples, "TM"
// segment markers). Framework-free; the review display and somatrix-cli call these.
#include <string>

#include "review/review_recording.h"

namespace somatrix {

enum class ELoadResult {
    kLoaded,      // the recording holds the file's samples and segments
    kRejected,    // not a review file (under 100 bytes, wrong header): ignored without a message
    kUnreadable,  // could not be opened or read: `error` names the file and the cause
    kTooLarge,    // 4 GiB or more: refused with a message, never read as a 32-bit length
};

struct CLoadOutcome {
    ELoadResult m_result = ELoadResult::kRejected;
    std::string m_strError;
};

// Replaces `recording` by the file's contents. The recording is emptied first, whatever the
// outcome.
CLoadOutcome LoadWaveFile(const std::string& path, CReviewRecording& recording);

// Writes `recording` to `path` through a temporary file beside it that is renamed over the
// target only when complete; a failure leaves an existing file untouched and returns false
// with `error` set.
bool SaveWaveFile(const std::string& path, const CReviewRecording& recording, std::string& error);

}  // namespace somatrix
