// Review rendering on a 24-hour recording (17.28 M samples at 200 samples/s, a "TM" marker every
// second), side by side with matplotlib plotting the same samples at the same pixel size:
// the first full view after a load (pyramid built, image rendered), a full-view render, the plain
// segment-by-segment render for reference, and each pan and zoom step as the windows run them.
//
//   review_render_bench [--file PATH] [--no-matplotlib]
// Without --file the file is generated in the temporary folder (and kept for the next run).
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "review/portion_view.h"
#include "review/review_file.h"
#include "review/wave_view.h"
#include "ui/review/wave_image.h"

using namespace somatrix;

namespace {

constexpr uint32_t kSeconds = 24 * 60 * 60;
constexpr uint32_t kRate = 200;
constexpr uint32_t kStart = 1700000000;
// The wave window of a 1244 x 700 review display.
constexpr int kWidth = 1200;
constexpr int kHeight = 553;
constexpr int kOverviewWidth = 1200;

void Put32(std::vector<char>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>(v >> (8 * i)));
    }
}

// A 10 Hz rhythm with noise in 12-bit values (no byte pair can read as a marker).
void Generate(const std::string& path) {
    std::vector<char> bytes;
    bytes.reserve(10 + size_t{kSeconds} * (2 * kRate + 6));
    bytes.insert(bytes.end(), {'E', 'E', 'G', '1', 'T', 'M'});
    Put32(bytes, kStart);
    std::mt19937 random(24);
    std::normal_distribution<double> noise(0.0, 40.0);
    for (uint32_t s = 0; s < kSeconds; ++s) {
        if (s > 0) {
            bytes.insert(bytes.end(), {'T', 'M'});
            Put32(bytes, kStart + s);
        }
        for (uint32_t i = 0; i < kRate; ++i) {
            const double t = (s * kRate + i) / double(kRate);
            const double v = 2048 + 600 * std::sin(2 * M_PI * 10 * t) + noise(random);
            const auto sample = static_cast<uint16_t>(std::clamp(v, 0.0, 4095.0));
            bytes.push_back(static_cast<char>(sample & 0xFF));
            bytes.push_back(static_cast<char>(sample >> 8));
        }
    }
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Wall time and this thread's processor time of one step: on a shared machine the wall time
// includes waiting for a core, the processor time is what the step itself costs.
struct CTiming {
    double m_fWall = 0;
    double m_fCpu = 0;
};

CTiming Ms(const std::function<void()>& step) {
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = CpuMs();
    step();
    return {
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count(),
        CpuMs() - c0};
}

struct CStats {
    double m_fMedian = 0;
    double m_fMax = 0;
    double m_fCpuMedian = 0;
    double m_fCpuMax = 0;
    size_t m_nCount = 0;
};

CStats Summarise(const std::vector<CTiming>& timings) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (const CTiming& t : timings) {
        wall.push_back(t.m_fWall);
        cpu.push_back(t.m_fCpu);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], wall.back(), cpu[cpu.size() / 2], cpu.back(), wall.size()};
}

void Row(const char* what, const CStats& s, const char* goal) {
    std::printf("%-44s %9.2f %9.2f %9.2f %9.2f %5zu   %s\n", what, s.m_fMedian, s.m_fMax,
                s.m_fCpuMedian, s.m_fCpuMax, s.m_nCount, goal);
}

}  // namespace

int main(int argc, char** argv) {
    std::string path =
        (std::filesystem::temp_directory_path() / "somatrix_review_24h.dat").string();
    bool matplotlib = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--file") == 0 && i + 1 < argc) {
            path = argv[++i];
        } else if (std::strcmp(argv[i], "--no-matplotlib") == 0) {
            matplotlib = false;
        }
    }
    const uintmax_t expected = 10 + uintmax_t{kSeconds} * 2 * kRate + (kSeconds - 1) * 6;
    std::error_code ec;
    if (std::filesystem::file_size(path, ec) != expected) {
        std::printf("generating %s\n", path.c_str());
        Generate(path);
    }

    CReviewRecording recording;
    const double loadMs = Ms([&] { LoadWaveFile(path, recording); }).m_fWall;
    const uint32_t count = recording.SampleCount();
    std::printf("%s: %u samples, %u segments, loaded in %.1f ms\n\n", path.c_str(), count,
                recording.SegmentCount(), loadMs);
    std::printf("%-44s %9s %9s %9s %9s %5s   %s\n", "step (wave window 1200 x 553), ms", "median",
                "max", "cpu med", "cpu max", "runs", "goal");

    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    std::vector<CColumnSpan> columns;
    CWaveView view;
    view.Resize(kWidth, kHeight);

    // First full view: what SetData and the first render cost after a load.
    std::vector<CTiming> first;
    for (int i = 0; i < 7; ++i) {
        CWaveView fresh;
        fresh.Resize(kWidth, kHeight);
        first.push_back(Ms([&] {
            fresh.SetData(recording.Samples(), count);
            RenderWaveImage(image, fresh, ETracePath::kColumns, columns);
        }));
    }
    const CStats firstStats = Summarise(first);
    Row("first full view (pyramid + render)", firstStats, "< 50 ms");

    view.SetData(recording.Samples(), count);
    std::vector<CTiming> full;
    for (int i = 0; i < 30; ++i) {
        full.push_back(Ms([&] { RenderWaveImage(image, view, ETracePath::kColumns, columns); }));
    }
    Row("full view render", Summarise(full), "");
    std::vector<CTiming> plain;
    for (int i = 0; i < 3; ++i) {
        plain.push_back(
            Ms([&] { RenderWaveImage(image, view, ETracePath::kEverySegment, columns); }));
    }
    const CStats plainStats = Summarise(plain);
    Row("full view, every segment drawn (reference)", plainStats, "");

    // Zoom steps as the context menu and the wheel run them: step and render.
    std::vector<CTiming> zoom;
    for (int i = 0; i < 40; ++i) {
        zoom.push_back(Ms([&] {
            view.ZoomIn();
            RenderWaveImage(image, view, ETracePath::kColumns, columns);
        }));
    }
    for (int i = 0; i < 60; ++i) {
        zoom.push_back(Ms([&] {
            view.ZoomOut();
            RenderWaveImage(image, view, ETracePath::kColumns, columns);
        }));
    }
    for (int i = 0; i < 30; ++i) {
        zoom.push_back(Ms([&] {
            view.Wheel(kWidth * (i % 7) / 7, i < 20 ? 120 : -120);
            RenderWaveImage(image, view, ETracePath::kColumns, columns);
        }));
    }
    const CStats zoomStats = Summarise(zoom);
    Row("zoom step (in, out, wheel)", zoomStats, "< 16 ms");

    // Pans through the overview: one hour in view, dragged across the whole day.
    std::vector<CTiming> pan;
    for (int64_t span : {int64_t{720000}, int64_t{8640000}, int64_t{2000}}) {
        CPortionView overview;
        overview.SetWidth(kOverviewWidth);
        overview.SetTotal(count);
        overview.SetView(0, span);
        view.SetView(0, span);
        view.Resize(kWidth, kHeight);
        overview.ButtonDown(0, 10);
        for (int x = 7; x < kOverviewWidth; x += 7) {
            pan.push_back(Ms([&] {
                overview.Drag(x, 10);
                view.SetView(overview.ViewStart(), overview.ViewEnd());
                RenderWaveImage(image, view, ETracePath::kColumns, columns);
            }));
        }
    }
    const CStats panStats = Summarise(pan);
    Row("pan step (overview drag)", panStats, "< 16 ms");

    if (!matplotlib) {
        return 0;
    }
    // The same samples for numpy.fromfile.
    const std::string raw = path + ".u16";
    std::ofstream(raw, std::ios::binary)
        .write(reinterpret_cast<const char*>(recording.Samples()), std::streamsize(count) * 2);
    const std::string command =
        "/usr/bin/python3 " SOMATRIX_BENCH_DIR "/review_render_matplotlib.py " + raw + " " +
        std::to_string(kWidth) + " " + std::to_string(kHeight) + " 2";
    FILE* pipe = popen(command.c_str(), "r");
    double seconds = 0;
    double cpuSeconds = 0;
    if (pipe == nullptr || std::fscanf(pipe, "%lf %lf", &seconds, &cpuSeconds) != 2) {
        std::printf("\nmatplotlib: not available\n");
    } else {
        const double mplMs = seconds * 1000;
        const double cpuMs = cpuSeconds * 1000;
        std::printf("%-44s %9.2f %9s %9.2f %9s %5d\n", "matplotlib (Agg) plot of the same samples",
                    mplMs, "", cpuMs, "", 2);
        std::printf(
            "\nfirst full view vs matplotlib: %.0fx faster in wall time, %.0fx in processor "
            "time (goal >= 100x)\n",
            mplMs / firstStats.m_fMedian, cpuMs / firstStats.m_fCpuMedian);
        std::printf("every-segment reference vs matplotlib: %.1fx faster\n",
                    mplMs / plainStats.m_fMedian);
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    std::filesystem::remove(raw, ec);
    return 0;
}
