// The review file writer, the command line of somatrix-sim and the pseudo-terminal server.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "pty_server.h"
#include "review_writer.h"
#include "sim_options.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace somatrix {
namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(ReviewWriter, LayoutSegmentsAndTheShippedExample) {
    CReviewOptions options;
    options.m_nMinutes = 2;
    options.m_nSegments = 3;
    options.m_nSeed = 7;
    options.m_nStartTime = 1700000000;
    const std::vector<uint8_t> file = ComposeReviewFile(options);
    const size_t samples = 2 * 60 * kReviewSampleRate;
    ASSERT_EQ(file.size(), 4 + 3 * 6 + 2 * samples);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 6), "EEG1TM");
    EXPECT_EQ(U32(file, 6), 1700000000u);

    // Scanning byte by byte as the loader does finds exactly the two further markers, at the
    // segment boundaries (8000 samples each), stamped 40 s + 60 s pause apart.
    std::vector<size_t> markers;
    for (size_t i = 10; i + 1 < file.size(); ++i) {
        if (file[i] == 'T' && file[i + 1] == 'M') {
            markers.push_back(i);
            i += 5;
        }
    }
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[0], 10 + 2 * 8000u);
    EXPECT_EQ(U32(file, markers[0] + 2), 1700000100u);
    EXPECT_EQ(U32(file, markers[1] + 2), 1700000200u);

    // An EEG: around 2048, tens of microvolts at 8 counts each, blinks well above.
    int lo = 4095, hi = 0;
    for (size_t i = 10; i < 10 + 2 * 8000; i += 2) {
        const int s = file[i] | file[i + 1] << 8;
        lo = std::min(lo, s);
        hi = std::max(hi, s);
    }
    EXPECT_GT(lo, 1000);
    EXPECT_LT(hi, 3800);
    EXPECT_GT(hi - lo, 1200);

    // The marker pattern is never formed by samples.
    EXPECT_EQ(AvoidMarker(0, 0x4D54), 0x4D55);
    EXPECT_EQ(AvoidMarker(0x54, 0x034D), 0x034E);
    EXPECT_EQ(AvoidMarker(0x53, 0x034D), 0x034D);

    // The example in the repository is what the documented command writes.
    options.m_nMinutes = 3;
    std::ifstream in(SOMATRIX_TEST_DATA "/sim_review_3min.dat", std::ios::binary);
    const std::vector<uint8_t> shipped{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(shipped, ComposeReviewFile(options));
}

TEST(SimOptions, CommandLineBuildsTheBus) {
    const char* argv[] = {
        "somatrix-sim", "--sensors", "CE,c0,B1",    "--seed", "9",
        "--latency",    "5",         "--slow",      "B1:400", "--silent",
        "C0",           "--device",  "CE=01A2003F", "--date", "CE=2020-03-15",
        "--stray",      "0.1",       "--garbage",   "500:8",  "--disconnect-after",
        "60000",        "--link",    "/tmp/x"};
    CSimOptions options;
    std::string error;
    ASSERT_TRUE(ParseSimOptions(std::size(argv), argv, options, error)) << error;
    EXPECT_EQ(options.m_types, (std::vector<uint8_t>{0xCE, 0xC0, 0xB1}));
    EXPECT_EQ(options.m_strLink, "/tmp/x");
    auto bus = BuildSimBus(options);
    EXPECT_EQ(bus->Seed(), 9u);
    EXPECT_EQ(bus->SensorCount(), 3u);
    EXPECT_EQ(bus->Sensor(0xCE)->DeviceNumber(), 0x01A2003Fu);
    EXPECT_EQ(bus->Sensor(0xCE)->DateBcd(), (std::array<uint8_t, 4>{0x15, 0x03, 0x20, 0x20}));
    EXPECT_EQ(bus->Sensor(0xCE)->Config().m_nLatencyNs, 5 * kNsPerMs);
    EXPECT_EQ(bus->Sensor(0xB1)->Config().m_nLatencyNs, 400 * kNsPerMs);
    EXPECT_TRUE(bus->Sensor(0xC0)->Config().m_bSilent);
    EXPECT_EQ(options.m_faults.m_nGarbageEveryNs, 500 * kNsPerMs);
    EXPECT_EQ(options.m_faults.m_nGarbageBytes, 8);

    // The subject's disturbances reach every sensor and the review file.
    const char* subject[] = {"s",      "--noise",        "0.1",   "--wander",  "0.5",  "--hum",
                             "0.2",    "--motion",       "0.3",   "--ectopic", "0.05", "--exercise",
                             "30:140", "--write-review", "r.dat", "--minutes", "1",    "--signal",
                             "ecg",    "--write-beats",  "b.txt"};
    CSimOptions withSubject;
    ASSERT_TRUE(ParseSimOptions(std::size(subject), subject, withSubject, error)) << error;
    const CSimConditions& c = BuildSimBus(withSubject)->Sensor(0xCE)->Config().m_conditions;
    EXPECT_DOUBLE_EQ(c.m_fNoiseMv, 0.1);
    EXPECT_DOUBLE_EQ(c.m_fWanderMv, 0.5);
    EXPECT_DOUBLE_EQ(c.m_fHumMv, 0.2);
    EXPECT_DOUBLE_EQ(c.m_fMotionMv, 0.3);
    EXPECT_DOUBLE_EQ(c.m_fEctopicChance, 0.05);
    EXPECT_DOUBLE_EQ(c.m_fStepAtSec, 30);
    EXPECT_DOUBLE_EQ(c.m_fStepBpm, 140);
    EXPECT_TRUE(withSubject.m_review.m_bEcg);
    EXPECT_DOUBLE_EQ(withSubject.m_review.m_conditions.m_fStepBpm, 140);
    // An ECG review file: a minute at 200/s whose true beats step to 140 a minute at 30 s.
    const std::vector<double> beats = ReviewBeatTimes(withSubject.m_review);
    ASSERT_GT(beats.size(), 60u);
    auto it = std::lower_bound(beats.begin(), beats.end(), 40.0);
    EXPECT_NEAR(60.0 / (*it - *(it - 1)), 140, 0.2 * 140);

    for (std::vector<const char*> bad : {std::vector<const char*>{"s", "--sensors", "C1"},
                                         {"s", "--exercise", "30"},
                                         {"s", "--ectopic", "0.9"},
                                         {"s", "--signal", "emg"},
                                         {"s", "--write-beats", "b.txt"},
                                         {"s", "--stray", "2"},
                                         {"s", "--device", "CE=123"},
                                         {"s", "--date", "CE=2020-13-01"},
                                         {"s", "--write-review", "f"},
                                         {"s", "--frobnicate", "1"},
                                         {"s", "--seed"}}) {
        CSimOptions o;
        EXPECT_FALSE(ParseSimOptions(static_cast<int>(bad.size()), bad.data(), o, error)) << bad[1];
    }
    // An unknown sensor code is answered with the codes there are, as the help lists them.
    const char* unknown[] = {"s", "--sensors", "CE,C1"};
    EXPECT_FALSE(ParseSimOptions(3, unknown, options, error));
    for (const std::string& text : {error, SimUsage()}) {
        EXPECT_NE(text.find("  C0  血压传感器VT-303 V2.0\n"), std::string::npos) << text;
        EXPECT_NE(text.find("  B1  心音传感器VT-302\n"), std::string::npos) << text;
    }
}

#if !defined(_WIN32)
TEST(ReviewWriter, TheProgramSaysWhereItWrote) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("somatrix_written_" + std::to_string(getpid()));
    const std::string command =
        std::string(SOMATRIX_SIM) + " --write-review " + file.string() + " --minutes 1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    char line[512] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_TRUE(read);
    EXPECT_EQ(std::string(line), "wrote " + file.string() + "\n");
    EXPECT_TRUE(std::filesystem::exists(file));
    std::filesystem::remove(file);
}
#endif

#if !defined(_WIN32)
TEST(PtyServer, AnySerialProgramCanOpenIt) {
    CSimBus bus(4);
    bus.AddSensor(0xCA);
    bus.SetRecording(false);
    CPtyServer server;
    std::string error;
    ASSERT_TRUE(server.Open(error)) << error;
    const std::string link = testing::TempDir() + "somatrix_sim_pty";
    ASSERT_TRUE(server.MakeLink(link, error)) << error;
    CRealClock clock;
    std::atomic<bool> stop{false};
    std::thread serving([&] { server.Serve(bus, clock, stop); });

    const int fd = open(link.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    const CFrame request = PresenceRequest(0xCA);
    ASSERT_EQ(write(fd, request.data(), request.size()), static_cast<ssize_t>(request.size()));
    // Wait for the reply (no timing is asserted; the deadline only keeps a broken build from
    // hanging the suite).
    std::vector<uint8_t> reply;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    while (reply.size() < 5 && std::chrono::steady_clock::now() < deadline) {
        uint8_t b[16];
        const ssize_t n = read(fd, b, sizeof b);
        if (n > 0) {
            reply.insert(reply.end(), b, b + n);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    close(fd);
    stop = true;
    serving.join();
    server.Close();
    EXPECT_EQ(reply, (std::vector<uint8_t>{0xFF, 0xCA, 0x03, 0x5D, 0x5A}));
    EXPECT_EQ(access(link.c_str(), F_OK), -1);  // the link goes with the server
}
#endif

}  // namespace
}  // namespace somatrix
