// Loading a 24-hour review file (17.28 M samples at 200 samples/s, a "TM" marker every second,
// 34.6 MB): the loader as the Open command runs it, and a plain read of the same bytes into a
// sample array as the floor. bench/review_load_compare.sh runs this beside numpy.fromfile.
// Beside it, in the same run, a 24-hour EDF+ recording at 250 samples/s (21.6 M samples, written
// by the recorder with a pause and markers): opened through EDFlib as the Open command does, and
// panned and zoomed as the wave window does.
//
//   review_load_bench [--file PATH] [benchmark options]
// Without --file the files are generated in the temporary folder (and kept for the next run).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "protocol/frame.h"
#include "recording/edf_recorder.h"
#include "review/edf_load.h"
#include "review/review_file.h"
#include "review/wave_view.h"

namespace {

constexpr uint32_t kSeconds = 24 * 60 * 60;
constexpr uint32_t kStart = 1700000000;

std::string g_strPath;
std::string g_strEdfPath;

class CBenchClock : public somatrix::CRecordingClock {
public:
    int64_t SteadyNs() const override { return m_nNs; }
    int64_t WallNs() const override { return int64_t{kStart} * 1'000'000'000 + m_nNs; }
    int64_t m_nNs = 0;
};

// 24 hours of an ECG-like wave at 250 samples/s, a minute's pause at noon, a marker an hour.
void GenerateEdf(const std::string& path) {
    CBenchClock clock;
    somatrix::CEdfRecorder recorder(clock);
    std::string error;
    if (!recorder.Open(path, {somatrix::type::kEcg, "ECG", "", ""}, error)) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), error.c_str());
        std::exit(1);
    }
    std::mt19937 random(25);
    std::normal_distribution<double> noise(0.0, 8.0);
    const int64_t samples = int64_t{kSeconds} * 250;
    for (int64_t i = 0; i < samples; ++i) {
        clock.m_nNs = i * 4'000'000;
        if (i % (3600 * 250) == 0) {
            recorder.AddAnnotation("标记");
        }
        if (i == 12 * 3600 * 250) {
            recorder.Pause();
        } else if (i == (12 * 3600 + 60) * 250) {
            recorder.Resume();
        }
        const double v =
            512 +
            300 *
                std::exp(-std::pow(std::fmod(static_cast<double>(i) / 250.0, 0.8) - 0.4, 2) * 800) +
            noise(random);
        recorder.AddSample(static_cast<int>(std::clamp(v, 0.0, 1023.0)), -1, -1);
    }
    if (!recorder.Close(&error)) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), error.c_str());
        std::exit(1);
    }
}

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

void BM_LoadEdfFile(benchmark::State& state) {
    somatrix::CReviewSource source;
    for (auto _ : state) {
        const somatrix::CEdfLoadOutcome outcome = somatrix::LoadEdfFile(g_strEdfPath, source);
        if (!outcome.m_bLoaded) {
            state.SkipWithError(outcome.m_strError.c_str());
            break;
        }
        benchmark::DoNotOptimize(source.Samples());
    }
    state.counters["samples"] = source.SampleCount();
    state.counters["annotations"] = static_cast<double>(source.Annotations().size());
    state.SetBytesProcessed(int64_t(state.iterations()) *
                            int64_t(std::filesystem::file_size(g_strEdfPath)));
}
BENCHMARK(BM_LoadEdfFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// One pan of a tenth of the view and one zoom step, each followed by the trace's columns, on a
// 1300-pixel window over the whole 24-hour EDF+ recording (with its no-data stretch).
void BM_EdfPanAndZoom(benchmark::State& state) {
    somatrix::CReviewSource source;
    somatrix::LoadEdfFile(g_strEdfPath, source);
    somatrix::CWaveView view;
    view.Resize(1300, 500);
    view.SetGaps(source.Gaps());
    view.SetData(source.Samples(), source.SampleCount());
    std::vector<somatrix::CColumnSpan> columns;
    bool in = true;
    for (auto _ : state) {
        const int64_t span = view.ViewEnd() - view.ViewStart();
        int64_t start = view.ViewStart() + span / 10;
        if (start + span > source.SampleCount()) {
            start = 0;
        }
        view.SetView(start, start + span);
        view.TraceColumns(columns);
        if (!(in ? view.ZoomIn() : view.ZoomOut())) {
            in = !in;
        }
        view.TraceColumns(columns);
        benchmark::DoNotOptimize(columns.data());
    }
}
BENCHMARK(BM_EdfPanAndZoom)->Unit(benchmark::kMillisecond)->UseRealTime();

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
    g_strEdfPath = (std::filesystem::temp_directory_path() / "somatrix_24h_250hz.edf").string();
    if (!std::filesystem::exists(g_strEdfPath)) {
        std::fprintf(stderr, "writing the 24-hour EDF+ file %s\n", g_strEdfPath.c_str());
        GenerateEdf(g_strEdfPath);
    }
    int count = static_cast<int>(rest.size());
    benchmark::Initialize(&count, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
