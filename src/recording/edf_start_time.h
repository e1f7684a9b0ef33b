#pragma once
// The start of an EDF+ file as its header keeps it: the local date and time of the first sample
// and the part of a second after it. Shared by the recorder and by saving from review.
#include <cstdint>

namespace somatrix {

// Sets the start of the file open under `handle` (EDFlib's, before the first write) to the
// local time of `seconds` since 1970 plus `milliseconds`.
void SetEdfStartTime(int handle, int64_t seconds, int milliseconds);

}  // namespace somatrix
