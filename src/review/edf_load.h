#pragma once
// Opens an EDF or EDF+ file (through EDFlib) as a review source: every signal's digital samples
// mapped onto 16-bit display values with their physical scale, the digital minimum taken as
// "no data", the start time and the annotations. Framework-free; the review display and
// somatrix-cli call it.
#include <string>

#include "review/review_source.h"

namespace somatrix {

struct CEdfLoadOutcome {
    bool m_bLoaded = false;
    int m_nEdfError = 0;     // EDFlib's error code when it refused the file (negative), else 0
    std::string m_strError;  // English, for logs and the command line
};

// Replaces `source` by the file's contents; the source is emptied first, whatever the outcome.
CEdfLoadOutcome LoadEdfFile(const std::string& path, CReviewSource& source);

// Whether `path` names an EDF file by its extension (".edf", any case).
bool IsEdfPath(const std::string& path);

}  // namespace somatrix
