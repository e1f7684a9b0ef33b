// somatrix-sim: the simulated sensors on a pseudo-terminal, or a review file written to disk.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "pty_server.h"
#include "sim_options.h"

namespace {
std::atomic<bool> g_bStop{false};
void OnSignal(int) {
    g_bStop = true;
}
}  // namespace

int main(int argc, char** argv) {
    using namespace somatrix;
    CSimOptions options;
    std::string error;
    if (!ParseSimOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "somatrix-sim: %s\n\n%s", error.c_str(), SimUsage().c_str());
        return 2;
    }
    if (options.m_bHelp) {
        std::fputs(SimUsage().c_str(), stdout);
        return 0;
    }
    if (!options.m_strReviewFile.empty()) {
        if (options.m_review.m_nStartTime == 0) {
            options.m_review.m_nStartTime = static_cast<uint32_t>(std::time(nullptr));
        }
        if (!WriteReviewFile(options.m_strReviewFile, options.m_review, error)) {
            std::fprintf(stderr, "somatrix-sim: %s\n", error.c_str());
            return 1;
        }
        if (!options.m_strBeatsFile.empty() &&
            !WriteBeatTimes(options.m_strBeatsFile, ReviewBeatTimes(options.m_review), error)) {
            std::fprintf(stderr, "somatrix-sim: %s\n", error.c_str());
            return 1;
        }
        std::error_code ignored;
        const std::string where =
            std::filesystem::absolute(options.m_strReviewFile, ignored).string();
        std::printf("wrote %s\n", where.empty() ? options.m_strReviewFile.c_str() : where.c_str());
        return 0;
    }

    auto bus = BuildSimBus(options);
    // A server runs for hours; the ground truth is for tests.
    bus->SetRecording(false);
    CPtyServer server;
    if (!server.Open(error)) {
        std::fprintf(stderr, "somatrix-sim: %s\n", error.c_str());
        return 1;
    }
    if (!options.m_strLink.empty() && !server.MakeLink(options.m_strLink, error)) {
        std::fprintf(stderr, "somatrix-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", server.Path().c_str());
    std::fflush(stdout);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    CRealClock clock;
    server.Serve(*bus, clock, g_bStop);
    const bool bDied = bus->IsDisconnected();
    server.Close();
    const CPtyStats& stats = server.Stats();
    std::fprintf(stderr, "somatrix-sim: %s; %llu bytes in, %llu out, %llu dropped\n",
                 bDied ? "line disconnected" : "stopped",
                 static_cast<unsigned long long>(stats.m_nBytesIn),
                 static_cast<unsigned long long>(stats.m_nBytesOut),
                 static_cast<unsigned long long>(stats.m_nDropped));
    // What the data-frame faults injected: the figures a receiver's counters must show.
    const CInjectedFaults injected = bus->Injected();
    std::fprintf(stderr,
                 "somatrix-sim: injected %llu corrupted, %llu junk bytes, %llu lost, "
                 "%llu stalls\n",
                 static_cast<unsigned long long>(injected.m_nCorrupted),
                 static_cast<unsigned long long>(injected.m_nJunkBytes),
                 static_cast<unsigned long long>(injected.m_nLost),
                 static_cast<unsigned long long>(injected.m_nStalls));
    return 0;
}
