// The first full view of a review file as the window makes it after Open, once, in this fresh
// process: the load (which makes the pyramid's lowest levels beside its read), the rest of the
// pyramid and the trace columns of a 1200 x 553 wave window. bench/review_load_compare.sh runs
// it beside numpy.fromfile of the same file.
//
//   review_first_view_bench --file PATH   prints "load_ms L first_view_ms F cpu_ms C samples N"
//   review_first_view_bench --write PATH --days D   writes a recording of D days (a marker a
//                                                    second), streamed to the file
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "review/review_file.h"
#include "review/wave_view.h"

using namespace somatrix;

namespace {

constexpr uint32_t kRate = CReviewRecording::kSampleRate;
constexpr uint32_t kStart = 1700000000;

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

// A 10 Hz rhythm with noise in 12-bit values (no byte pair reads as a marker).
bool Write(const std::string& path, double days) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const auto seconds = static_cast<uint32_t>(std::lround(days * 86400));
    std::mt19937 random(24);
    std::normal_distribution<double> noise(0.0, 40.0);
    std::vector<uint8_t> bytes;
    bool ok = true;
    for (uint32_t s = 0; s < seconds && ok; ++s) {
        bytes.clear();
        const char* tag = s == 0 ? "EEG1TM" : "TM";
        bytes.insert(bytes.end(), tag, tag + std::strlen(tag));
        Put32(bytes, kStart + s);
        for (uint32_t i = 0; i < kRate; ++i) {
            const double t = (double(s) * kRate + i) / kRate;
            const double v = 2048 + 600 * std::sin(2 * M_PI * 10 * t) + noise(random);
            const auto sample = static_cast<uint16_t>(std::clamp(v, 0.0, 4095.0));
            bytes.push_back(static_cast<uint8_t>(sample & 0xFF));
            bytes.push_back(static_cast<uint8_t>(sample >> 8));
        }
        ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    return std::fclose(file) == 0 && ok;
}

// Processor time of the whole process (both of the load's threads), in milliseconds.
double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--write") == 0 && std::strcmp(argv[3], "--days") == 0) {
        return Write(argv[2], std::atof(argv[4])) ? 0 : 1;
    }
    if (argc != 3 || std::strcmp(argv[1], "--file") != 0) {
        std::fprintf(stderr,
                     "usage: review_first_view_bench --file PATH\n"
                     "       review_first_view_bench --write PATH --days D\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuMs();
    CReviewRecording recording;
    if (LoadWaveFile(argv[2], recording).m_result != ELoadResult::kLoaded) {
        std::fprintf(stderr, "review_first_view_bench: %s was not loaded\n", argv[2]);
        return 1;
    }
    const double loadMs = MsSince(start);
    CWaveView view;
    view.Resize(1200, 553);
    view.SetData(recording.Samples(), recording.SampleCount(), recording.TakePyramidSeed());
    std::vector<CColumnSpan> columns;
    view.TraceColumns(columns);
    const double firstViewMs = MsSince(start);
    const double cpuMs = ProcessCpuMs() - cpuStart;
    std::printf("load_ms %.2f first_view_ms %.2f cpu_ms %.2f samples %u columns %zu\n", loadMs,
                firstViewMs, cpuMs, recording.SampleCount(), columns.size());
    return 0;
}
