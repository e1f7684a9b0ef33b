#pragma once
// Writes the shown signal of a review source, or a stretch of it, as CSV: a header line
// "time_s,value", then one line per sample with its time in seconds from the recording's start
// (to the millisecond) and its physical value; a sample without data has an empty value.
// Written beside the target and renamed over it when complete. Framework-free.
#include <string>

#include "review/review_source.h"

namespace somatrix {

bool WriteCsvFile(const std::string& path, const CReviewSource& source, uint32_t first,
                  uint32_t last, std::string& error);

}  // namespace somatrix
