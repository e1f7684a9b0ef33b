// somatrix-cli review as a script runs it: fingerprints, times, cuts and bad arguments.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "cli/cli_fixture.h"

namespace somatrix {
namespace {

namespace fs = std::filesystem;

const std::string kSim = SOMATRIX_TEST_DATA "/sim_review_3min.dat";

class ReviewCliTest : public test::CCliTest {
protected:
    ReviewCliTest() : CCliTest("somatrix_review_cli") {}

    // Runs `somatrix-cli review ARGS` in UTC; the exit status, stdout and stderr.
    std::tuple<int, std::string, std::string> Run(const std::string& args) const {
        const test::CRun run = RunCli("review " + args, "TZ=UTC0 ");
        return {run.m_nStatus, run.m_strOut, run.m_strErr};
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return (m_dir / name).string();
    }
};

TEST_F(ReviewCliTest, InfoAndTimeOfTheSimulatorFile) {
    // The hash is of the file's bytes without the markers, taken with Python's hashlib.
    EXPECT_EQ(Run("info " + kSim),
              std::make_tuple(0,
                              std::string("format review\nrate 200\n"
                                          "samples 36000\nsegments 3\n"
                                          "segment 0 1700000000\n"
                                          "segment 12000 1700000120\n"
                                          "segment 24000 1700000240\n"
                                          "sha256 142c9fa198d92a67155307bfa42d4d82626281afbf52dc1"
                                          "14e151810492bc90d\n"),
                              std::string()));
    EXPECT_EQ(std::get<1>(Run("time " + kSim + " 0 11999 12000 40000")),
              "2023.11.14 22:13:20.000\n2023.11.14 22:14:19.995\n2023.11.14 22:15:20.000\n"
              "2023.11.14 22:18:40.000\n");

    EXPECT_EQ(std::get<1>(Run("info " + Write("short.dat", "EEG1TM" + std::string(93, 'a')))),
              "rejected\n");
    const std::string untimed = Write("untimed.dat", "EEG1TM" + std::string(94, '\0'));
    EXPECT_EQ(Run("time " + untimed + " 0 1"),
              std::make_tuple(0, std::string("\n\n"), std::string()));
}

TEST_F(ReviewCliTest, CutSavesAsTheSaveCommandDoes) {
    const std::string out = (m_dir / "cut.dat").string();
    EXPECT_EQ(std::get<0>(Run("cut " + kSim + " 100 12100 -o " + out)), 0);
    EXPECT_EQ(std::get<1>(Run("info " + out)),
              "format review\nrate 200\n"
              "samples 24000\nsegments 3\nsegment 0 1700000000\nsegment 100 1700000120\n"
              "segment 12000 1700000240\n"
              "sha256 dbba789574babfdba718f2b4bf4ec490fe9e7579bd43547dc171b5a1d0742cee\n");
}

TEST_F(ReviewCliTest, BadArgumentsExitWithStatusTwo) {
    const std::string out = " -o " + (m_dir / "x.dat").string();
    const std::string big = Write("big.dat", "EEG1TM" + std::string(94, 'a'));
    fs::resize_file(big, (uint64_t{1} << 32) + 100);
    for (const std::string& args : std::vector<std::string>{
             std::string(), std::string("play ") + kSim, "info", "info " + kSim + " " + kSim,
             "time " + kSim, "time " + kSim + " -1", "time " + kSim + " x",
             "cut " + kSim + " 10 5" + out, "cut " + kSim + " 0 36001" + out,
             "cut " + kSim + " 0 5", "cut " + kSim + " 0" + out,
             "info " + (m_dir / "missing.dat").string(), "info " + big}) {
        const auto [status, text, error] = Run(args);
        EXPECT_EQ(status, 2) << args;
        EXPECT_NE(error.find("somatrix-cli review: "), std::string::npos) << args;
    }
    EXPECT_NE(std::get<2>(Run("info " + big)).find("4 GB"), std::string::npos);
    EXPECT_FALSE(fs::exists(m_dir / "x.dat"));
}

TEST_F(ReviewCliTest, ExportConvertsEitherFormatAndInfoReadsEdf) {
    const std::string edf = (m_dir / "minute.edf").string();
    const std::string csv = (m_dir / "minute.csv").string();
    // One minute of the first segment (which starts at 1700000000 = 2023-11-14 22:13:20 UTC).
    EXPECT_EQ(RunCli("export " + kSim + " --from 1 --to 61 --edf " + edf, "TZ=UTC0 ").m_nStatus, 0);
    EXPECT_EQ(Run("info " + edf),
              std::make_tuple(0,
                              std::string("format edf+\nrate 200\nsamples 12000\n"
                                          "start 2023-11-14 22:13:21\nsignal 0 EEG 200 12000\n"),
                              std::string()));
    // And back from EDF+ as CSV: a header and one line per sample, times from the start.
    EXPECT_EQ(RunCli("export " + edf + " --csv " + csv + " --from 0.5 --to 1.5").m_nStatus, 0);
    std::ifstream in(csv);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 201u);
    EXPECT_EQ(lines[0], "time_s,value");
    EXPECT_EQ(lines[1].substr(0, 6), "0.500,");
    EXPECT_EQ(lines[200].substr(0, 6), "1.495,");

    for (const std::string& args : std::vector<std::string>{
             "export", "export " + kSim, "export " + kSim + " --edf " + edf + " --csv " + csv,
             "export " + kSim + " --csv " + csv + " --from 5 --to 5",
             "export " + kSim + " --csv " + csv + " --from x",
             "export " + kSim + " --csv " + csv + " --to -1",
             "export " + kSim + " --csv " + csv + " --speed 2",
             "export " + (m_dir / "missing.edf").string() + " --csv " + csv}) {
        const test::CRun run = RunCli(args);
        EXPECT_EQ(run.m_nStatus, 2) << args;
        EXPECT_NE(run.m_strErr.find("somatrix-cli export: "), std::string::npos) << args;
    }
}

}  // namespace
}  // namespace somatrix
