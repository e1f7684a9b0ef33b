// Review rendering on a recording, by default a generated 24-hour one (17.28 M samples at
// 200 samples/s, a "TM" marker every second), side by side with matplotlib plotting the same
// samples at the same pixel size: the first full view after a load (pyramid built, image
// rendered), a full-view render, the plain segment-by-segment render for reference, and each pan
// and zoom step as the windows run them.
//
//   review_render_bench [--file PATH | --hours H] [--no-matplotlib]
// --file measures a review file of any length and only reads it. Otherwise a recording of H hours
// (default 24) is generated into a temporary folder of this run's own, removed at the end, where
// the samples for matplotlib go too.
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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
void Generate(const std::string& path, uint32_t seconds) {
    std::vector<char> bytes;
    bytes.reserve(10 + size_t{seconds} * (2 * kRate + 6));
    bytes.insert(bytes.end(), {'E', 'E', 'G', '1', 'T', 'M'});
    Put32(bytes, kStart);
    std::mt19937 random(24);
    std::normal_distribution<double> noise(0.0, 40.0);
    for (uint32_t s = 0; s < seconds; ++s) {
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

// A folder of this run's own in the temporary folder, removed with everything in it at the end.
class CScratchFolder {
public:
    CScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "somatrix-render-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~CScratchFolder() {
        std::error_code ignored;
        if (!m_path.empty()) {
            std::filesystem::remove_all(m_path, ignored);
        }
    }
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;
    bool IsValid() const { return !m_path.empty(); }
    std::string File(const char* name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

}  // namespace

int main(int argc, char** argv) {
    std::string path;
    double hours = 24;
    bool matplotlib = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--file") == 0 && i + 1 < argc) {
            path = argv[++i];
        } else if (std::strcmp(argv[i], "--hours") == 0 && i + 1 < argc) {
            hours = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--no-matplotlib") == 0) {
            matplotlib = false;
        } else {
            std::fprintf(stderr,
                         "usage: review_render_bench [--file PATH | --hours H] "
                         "[--no-matplotlib]\n");
            return 2;
        }
    }
    const CScratchFolder scratch;
    if (!scratch.IsValid()) {
        std::fprintf(stderr, "review_render_bench: cannot make a temporary folder\n");
        return 1;
    }
    if (path.empty()) {
        if (!(hours > 0 && hours <= 24 * 60)) {
            std::fprintf(stderr, "review_render_bench: --hours takes 0 < H <= 1440\n");
            return 2;
        }
        path = scratch.File("generated.dat");
        const auto seconds = static_cast<uint32_t>(std::lround(hours * 3600));
        std::printf("generating %.4g hours into %s\n", hours, path.c_str());
        Generate(path, std::max<uint32_t>(seconds, 1));
    }

    CReviewRecording recording;
    const double loadMs = Ms([&] { LoadWaveFile(path, recording); }).m_fWall;
    const uint32_t count = recording.SampleCount();
    if (count == 0) {
        std::fprintf(stderr, "review_render_bench: %s is not a review file with samples\n",
                     path.c_str());
        return 1;
    }
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
    // An hour, half the recording and ten seconds in view (an hour and ten seconds at most the
    // whole of a short one).
    for (int64_t span : {std::min<int64_t>(720000, count), std::max<int64_t>(1, count / 2),
                         std::min<int64_t>(2000, count)}) {
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
    const std::string raw = scratch.File("samples.u16");
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
    return 0;
}
