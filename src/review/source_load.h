#pragma once
// Opens either kind of review source by its name: ".edf" files as EDF+ (repairing a recording
// cut short first), anything else as a review file. Framework-free; the review display and
// somatrix-cli call it.
#include <string>

#include "review/review_source.h"

namespace somatrix {

enum class ESourceLoad {
    kLoaded,
    kRejected,    // a review file the loader ignores (under 100 bytes, wrong header)
    kUnreadable,  // a review file that cannot be read, or is too large: `error` says why
    kEdfRefused,  // EDFlib refused the file: `edfError` holds its code
};

struct CSourceLoadOutcome {
    ESourceLoad m_result = ESourceLoad::kRejected;
    std::string m_strError;
    int m_nEdfError = 0;
    bool m_bRepaired = false;  // the recording had been cut short and was repaired first
};

// Replaces `source` by the file's contents; the source is emptied first, whatever the outcome.
CSourceLoadOutcome LoadReviewSource(const std::string& path, CReviewSource& source);

}  // namespace somatrix
