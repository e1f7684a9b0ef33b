// Arbitrary bytes as a review file through the loader, then a cut and the times the rulers and
// the review bar ask for. The first four bytes choose the cut; the rest is the file. After the
// cut, the recording must still be consistent: segment starts ascending and within the samples.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "review/review_file.h"

namespace {

std::string FilePath() {
    std::error_code ec;
    const std::filesystem::path shm = "/dev/shm";
    const std::filesystem::path dir =
        std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
    return (dir / ("somatrix_review_fuzz_" + std::to_string(::getpid()) + ".dat")).string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) {
        return 0;
    }
    static const std::string path = FilePath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data + 4, 1, size - 4, file);
    std::fclose(file);

    somatrix::CReviewRecording recording;
    somatrix::LoadWaveFile(path, recording);
    const uint32_t count = recording.SampleCount();
    // Cut positions scaled to the recording, sometimes past its end or reversed, as a drag with
    // the mouse outside the window gives them.
    auto position = [count](uint8_t lo, uint8_t hi) {
        return static_cast<uint32_t>(static_cast<uint64_t>(lo | hi << 8) * (count + 8ull) >> 16);
    };
    const uint32_t a = position(data[0], data[1]);
    const uint32_t b = position(data[2], data[3]);
    recording.CutSamples(a, b);
    const uint32_t left = recording.SampleCount();
    const uint32_t lo = a < b ? a : b, hi = a < b ? b : a;
    const uint32_t removed = (hi < count ? hi : count) - (lo < count ? lo : count);
    if (left != count - removed) {
        std::abort();
    }
    const auto& starts = recording.SegmentStart();
    for (size_t k = 0; k < starts.size(); ++k) {
        if (starts[k] > left || (k > 0 && starts[k] < starts[k - 1])) {
            std::abort();
        }
    }
    std::string text;
    for (const uint32_t s : {0u, left / 2, left > 0 ? left - 1 : 0u, left, b}) {
        recording.FormatSampleTime(s, &text);
    }
    return 0;
}
