#pragma once
// Writes a review source, or a stretch of it, as an EDF+ file (through EDFlib): every signal
// with its rate, label, unit and physical scale, "no data" where the source has gaps, the start
// time of the stretch and the annotations inside it. Written to a temporary file beside the
// target and renamed over it only when complete, so a failure leaves an existing file as it was.
// Framework-free.
#include <string>

#include "review/review_source.h"

namespace somatrix {

// The shown signal's samples [first, last) give the stretch; the other signals are cut to the
// same times.
bool SaveEdfFile(const std::string& path, const CReviewSource& source, uint32_t first,
                 uint32_t last, std::string& error);

}  // namespace somatrix
