#include "recording/edf_start_time.h"

#include <edflib.h>

#include <ctime>

namespace somatrix {

void SetEdfStartTime(int handle, int64_t seconds, int milliseconds) {
    const auto when = static_cast<std::time_t>(seconds);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    edf_set_startdatetime(handle, local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                          local.tm_hour, local.tm_min, local.tm_sec);
    // The header counts the part of a second in units of 100 ns.
    edf_set_subsecond_starttime(handle, milliseconds * 10000);
}

}  // namespace somatrix
