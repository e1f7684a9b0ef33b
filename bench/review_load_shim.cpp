// The review loader behind a C function, so that bench/review_load_compare.sh times it and
// numpy.fromfile alternately in one Python process, under the same memory and cache conditions.
#include <chrono>
#include <cstdint>

#include "review/review_file.h"

extern "C" double SomatrixTimeLoad(const char* path, uint32_t* samples, uint32_t* segments) {
    somatrix::CReviewRecording recording;
    const auto start = std::chrono::steady_clock::now();
    const somatrix::CLoadOutcome outcome = somatrix::LoadWaveFile(path, recording);
    const auto end = std::chrono::steady_clock::now();
    *samples = recording.SampleCount();
    *segments = recording.SegmentCount();
    if (outcome.m_result != somatrix::ELoadResult::kLoaded) {
        return -1;
    }
    return std::chrono::duration<double, std::milli>(end - start).count();
}
