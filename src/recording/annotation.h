#pragma once
// One EDF+ annotation as Somatrix keeps it: onset and duration in seconds from the recording's
// start, and UTF-8 text.
#include <string>

namespace somatrix {

struct CAnnotation {
    double m_fOnset = 0.0;      // seconds from the recording's start
    double m_fDuration = -1.0;  // seconds; negative when the annotation has none
    std::string m_strText;      // UTF-8
    bool operator==(const CAnnotation&) const = default;
};

}  // namespace somatrix
