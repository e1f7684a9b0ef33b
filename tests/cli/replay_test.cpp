// somatrix-cli replay as a user runs it: traces, logs, splits and bad input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/cli_fixture.h"
#include "protocol/fake_link.h"

namespace somatrix {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using test::CRun;
using test::MakeFrame;
using test::Slurp;

class ReplayTest : public test::CCliTest {
protected:
    ReplayTest() : CCliTest("somatrix_replay") {}

    CRun Run(const std::string& args) const { return RunCli("replay " + args); }
    // Writes receive events as the raw log does and returns the file's path.
    std::string WriteRaw(const std::vector<Bytes>& events, const std::string& name = "in.txt") {
        std::string text;
        for (const Bytes& e : events) {
            for (const uint8_t b : e) {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%02X ", b);
                text += hex;
            }
            text += '\n';
        }
        std::ofstream(m_dir / name, std::ios::binary) << text;
        return (m_dir / name).string();
    }
};

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

// Every kind of frame a pulse sensor session can bring, with garbage between.
Bytes SessionStream() {
    Bytes date = MakeFrame(0xCA, 0xA3, {0x20, 0x07, 0x15, 0x20});
    date[3] = 0x11;  // production dates pass whatever their checksum
    Bytes bad = MakeFrame(0xCA, 0xA0, {0x02, 0x00});
    bad[3] ^= 1;
    return Concat({{0x00, 0x37}, MakeFrame(0xCA, 0xA2, {0x01, 0xA2, 0x00, 0x3F}), date,
                   MakeFrame(0xCA, 0xA0, {0x01, 0xF4}), bad, {0xFF, 0xCE, 65},
                   MakeFrame(0xCA, 0xA0, {0x01, 0x90}), MakeFrame(0xCA, 0x5A),
                   MakeFrame(0xC5, 0xA0, {0x01, 0x90}), MakeFrame(0xC0, 0xAC, {0x80, 0x78, 0x00, 0x50, 0x48}),
                   MakeFrame(0xCA, 0xA0, {0x02, 0x58}), MakeFrame(0xCA, 0xA1)});
}

TEST_F(ReplayTest, TraceAndParsedLogOfASessionAreExactlyWhatTheProgramShows) {
    const std::string in = WriteRaw({SessionStream()});
    const CRun run = Run(in + " --select CA --extremes --trace --parsed " + Path("out.csv"));
    ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
    EXPECT_EQ(run.m_strOut,
              "maxmin 0 -1 -1 -1 -1\namplitude 0\n"  // the selection clears the extremes
              "maxmin 1 -1 -1 -1 -1\n"
              "devnum 01A2003F\n"
              "date 2015-07-20\n"
              "flags 1 0 0\n"
              "values 500 -1 -1 -1\nsample 500 -1 -1\nmaxmin 1 500 500 -1 -1\n"
              "values 400 -1 -1 -1\nsample 400 -1 -1\nmaxmin 1 500 400 -1 -1\n"
              "values 400 -1 -1 -1\nsample 400 -1 -1\n"
              "values 120 80 72 128\nmeasuring 0\nflags 0 0 0\n"
              "flags 1 0 0\n"
              "values 600 -1 -1 -1\nsample 600 -1 -1\nmaxmin 1 600 400 -1 -1\n"
              "flags 0 0 0\n");
    EXPECT_EQ(Slurp(Path("out.csv")), "500,\n400,\n400,25.00,\n120,80,72,128,\n600,\n");
    EXPECT_FALSE(fs::exists(Path("out.csv.part")));
}

TEST_F(ReplayTest, EverySplitOfTheStreamGivesTheSameOutput) {
    const Bytes stream = SessionStream();
    const CRun whole = Run(WriteRaw({stream}) + " --select CA --trace --parsed " + Path("w.csv"));
    ASSERT_EQ(whole.m_nStatus, 0);
    const std::string wholeLog = Slurp(Path("w.csv"));
    for (size_t cut = 1; cut < stream.size(); ++cut) {
        const Bytes a(stream.begin(), stream.begin() + cut), b(stream.begin() + cut, stream.end());
        const CRun split = Run(WriteRaw({a, b}) + " --select CA --trace --parsed " + Path("s.csv"));
        ASSERT_EQ(split.m_nStatus, 0);
        ASSERT_EQ(split.m_strOut, whole.m_strOut) << "cut at " << cut;
        ASSERT_EQ(Slurp(Path("s.csv")), wholeLog) << "cut at " << cut;
    }
    // A binary capture cut into events of any size gives the same too.
    std::ofstream(m_dir / "cap.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(stream.data()), static_cast<long>(stream.size()));
    for (const int chunk : {1, 2, 5, 7, 64}) {
        const CRun binary = Run(Path("cap.bin") + " --binary --chunk " + std::to_string(chunk) +
                                " --select CA --trace");
        ASSERT_EQ(binary.m_strOut, whole.m_strOut) << "chunk " << chunk;
    }
}

TEST_F(ReplayTest, LargeReceiveEventsGiveTheSameParsedLog) {
    // 600 pulse frames (4,200 bytes) with readings 0 to 599.
    Bytes stream;
    std::string expected;
    for (int v = 0; v < 600; ++v) {
        const Bytes f =
            MakeFrame(0xCA, 0xA0, {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
        stream.insert(stream.end(), f.begin(), f.end());
        expected += std::to_string(v) + ",\n";
    }
    const CRun whole = Run(WriteRaw({stream}) + " --select CA --parsed " + Path("one.csv"));
    ASSERT_EQ(whole.m_nStatus, 0) << whole.m_strErr;
    EXPECT_EQ(Slurp(Path("one.csv")), expected);
    EXPECT_TRUE(whole.m_strErr.empty()) << whole.m_strErr;
    std::ofstream(m_dir / "big.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(stream.data()), static_cast<long>(stream.size()));
    for (const int chunk : {64, 2048, 2100, 4096, 65536}) {
        const CRun run = Run(Path("big.bin") + " --binary --chunk " + std::to_string(chunk) +
                             " --select CA --parsed " + Path("c.csv"));
        ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
        EXPECT_EQ(Slurp(Path("c.csv")), expected) << "chunk " << chunk;
        EXPECT_TRUE(run.m_strErr.empty()) << run.m_strErr;
    }
}

TEST_F(ReplayTest, RawReplayGivesBackTheSameFile) {
    const std::string sample = std::string(SOMATRIX_TEST_DATA) + "/sample_pulse_raw.txt";
    const CRun run = Run(sample + " --select CA --raw " + Path("back.txt"));
    ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
    EXPECT_TRUE(run.m_strOut.empty());
    EXPECT_EQ(Slurp(Path("back.txt")), Slurp(sample));
    // Replaying over an existing file replaces it.
    ASSERT_EQ(Run(sample + " --raw " + Path("back.txt")).m_nStatus, 0);
    EXPECT_EQ(Slurp(Path("back.txt")), Slurp(sample));
}

TEST_F(ReplayTest, BadInputIsRefusedWithStatusTwoAndNothingWritten) {
    std::ofstream(m_dir / "bad.txt") << "FF CA 05\nFF CA ZZ\n";
    std::ofstream(m_dir / "keep.csv") << "old\n";
    const struct {
        std::string m_strArgs;
        std::string m_strError;
    } cases[] = {
        {Path("bad.txt") + " --parsed " + Path("keep.csv"), "line 2"},
        {Path("missing.txt") + " --parsed " + Path("keep.csv"), "cannot read"},
        {Path("bad.txt") + " --frobnicate", "unknown option --frobnicate"},
        {WriteRaw({{0xFF}}) + " --select C1", "type code C1"},
        {WriteRaw({{0xFF}}) + " --select XYZ", "not a type code"},
        {WriteRaw({{0xFF}}) + " --select XYZ", "  CE  心电传感器VT-301\n"},  // the codes listed
        {WriteRaw({{0xFF}}) + " --select C1", "  B1  心音传感器VT-302\n"},
        {WriteRaw({{0xFF}}) + " --chunk 4", "--chunk goes with --binary"},
        {WriteRaw({{0xFF}}) + " --binary --chunk 0", "--chunk"},
        {WriteRaw({{0xFF}}) + " --parsed", "needs a value"},
        {"", "INPUT"},
    };
    for (const auto& c : cases) {
        const CRun run = Run(c.m_strArgs);
        EXPECT_EQ(run.m_nStatus, 2) << c.m_strArgs;
        EXPECT_TRUE(run.m_strOut.empty()) << c.m_strArgs;
        EXPECT_NE(run.m_strErr.find(c.m_strError), std::string::npos) << run.m_strErr;
    }
    EXPECT_EQ(Slurp(Path("keep.csv")), "old\n");
    EXPECT_EQ(Run(Path("bad.txt") + " --raw " + Path("no/such/dir/x.txt")).m_nStatus, 2);
}

}  // namespace
}  // namespace somatrix
