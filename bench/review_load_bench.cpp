// Loading a 24-hour review file (17.28 M samples at 200 samples/s, a "TM" marker every second,
// 34.6 MB): the loader as the Open command runs it, and a plain read of the same bytes into a
// sample array as the floor. bench/review_load_compare.sh runs this beside numpy.fromfile.
//
//   review_load_bench [--file PATH] [benchmark options]
// Without --file the file is generated in the temporary folder (and kept for the next run).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "review/review_file.h"

namespace {

constexpr uint32_t kSeconds = 24 * 60 * 60;
constexpr uint32_t kStart = 1700000000;

std::string g_strPath;

// A slow rhythm with noise in 12-bit values, one segment a second.
void Generate(const std::string& path) {
    const uint32_t rate = somatrix::CReviewRecording::kSampleRate;
    somatrix::CReviewRecording recording;
    recording.Reserve(size_t{kSeconds} * rate);
    std::mt19937 random(24);
    std::normal_distribution<double> noise(0.0, 40.0);
    std::vector<uint8_t> bytes(2 * rate);
    for (uint32_t s = 0; s < kSeconds; ++s) {
        recording.AddSegment(s * rate, kStart + s);
        for (uint32_t i = 0; i < rate; ++i) {
            const double t = (s * rate + i) / double(rate);
            const double v = 2048 + 600 * std::sin(2 * M_PI * 10 * t) + noise(random);
            const auto sample = static_cast<uint16_t>(std::clamp(v, 0.0, 4095.0));
            bytes[2 * i] = static_cast<uint8_t>(sample);
            bytes[2 * i + 1] = static_cast<uint8_t>(sample >> 8);
        }
        recording.AppendSamples(bytes.data(), rate);
    }
    std::string error;
    if (!somatrix::SaveWaveFile(path, recording, error)) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), error.c_str());
        std::exit(1);
    }
}

void BM_LoadWaveFile(benchmark::State& state) {
    somatrix::CReviewRecording recording;
    for (auto _ : state) {
        const somatrix::CLoadOutcome outcome = somatrix::LoadWaveFile(g_strPath, recording);
        if (outcome.m_result != somatrix::ELoadResult::kLoaded) {
            state.SkipWithError("not loaded");
            break;
        }
        benchmark::DoNotOptimize(recording.Samples());
    }
    state.counters["samples"] = recording.SampleCount();
    state.counters["segments"] = recording.SegmentCount();
    state.SetBytesProcessed(int64_t(state.iterations()) *
                            int64_t(std::filesystem::file_size(g_strPath)));
}
BENCHMARK(BM_LoadWaveFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the same bytes read into a fresh sample array, no scan.
void BM_ReadIntoArray(benchmark::State& state) {
    const size_t size = std::filesystem::file_size(g_strPath);
    for (auto _ : state) {
        somatrix::CSampleArray samples((size + 1) / 2);
        std::FILE* file = std::fopen(g_strPath.c_str(), "rb");
        const size_t got = std::fread(samples.data(), 1, size, file);
        std::fclose(file);
        benchmark::DoNotOptimize(got);
        benchmark::DoNotOptimize(samples.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}
BENCHMARK(BM_ReadIntoArray)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--file") == 0 && i + 1 < argc) {
            g_strPath = argv[++i];
        } else {
            rest.push_back(argv[i]);
        }
    }
    if (g_strPath.empty()) {
        g_strPath = (std::filesystem::temp_directory_path() / "somatrix_review_24h.dat").string();
    }
    if (!std::filesystem::exists(g_strPath)) {
        std::fprintf(stderr, "writing the 24-hour file %s\n", g_strPath.c_str());
        Generate(g_strPath);
    }
    int count = static_cast<int>(rest.size());
    benchmark::Initialize(&count, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
