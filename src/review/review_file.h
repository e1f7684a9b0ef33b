#pragma once
// Reading and writing review files ("EEG1TM"/"EEG2TM" header, time stamp, 16-bit samples, "TM"
// segment markers). Framework-free; the review display and somatrix-cli call these.
#include <cstddef>
#include <functional>
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

// A file under 100 bytes is not a review file: with the 10-byte header, 45 samples is the least
// a saved file may hold and still open again.
inline constexpr uint32_t kMinReviewSamples = 45;

// Receives the bytes of a file in order; false stops the writing.
using CByteWriter = std::function<bool(const void* bytes, size_t n)>;

// Whether `recording` can be saved as a file that opens again; otherwise `error` says why in
// the operator's words.
bool IsSavable(const CReviewRecording& recording, std::string& error);

// The bytes of the review file of `recording`, handed to `write`; false when `write` refused.
bool EncodeWaveFile(const CReviewRecording& recording, const CByteWriter& write);

// Writes `recording` to `path` through a temporary file beside it that is renamed over the
// target only when complete; a failure leaves an existing file untouched and returns false
// with `error` set. A recording too short to open again is refused without writing anything.
// The windows save through the platform's saver, which keeps to the same rules.
bool SaveWaveFile(const std::string& path, const CReviewRecording& recording, std::string& error);

}  // namespace somatrix
