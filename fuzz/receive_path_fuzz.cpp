// Arbitrary bytes, cut into arbitrary receive events, through the whole receive path: ring,
// scanner, dispatch, replies, decoding and extremes, with a device selected and the parsed log
// open. The first bytes choose the selected sensor, the extremes switch and the cut points.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "protocol/oper_core.h"

namespace {

class CNullSink : public somatrix::CMonitorSink {};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    static const std::string logPath = "/dev/null";
    CNullSink sink;
    somatrix::COperCore core(sink);
    core.Initialise({});
    core.SelectDevice(static_cast<int>(data[0] % 15) - 1);
    core.OnMaxMin((data[1] & 1) != 0);
    core.StartLogFile((data[1] & 2) ? somatrix::kLogParsed : somatrix::kLogRaw, logPath);
    size_t pos = 2;
    while (pos < size) {
        // The byte at each cut says how long the next receive event is (1 to 128 bytes).
        const size_t n = std::min<size_t>(size - pos - 1, (data[pos] & 0x7F) + 1);
        ++pos;
        core.OnComm(data + pos, n);
        pos += n;
    }
    core.StopLog();
    return 0;
}
