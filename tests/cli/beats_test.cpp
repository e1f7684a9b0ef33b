// somatrix-cli beats on simulated ECG recordings whose true beats are known, and on an EDF+
// file whose beats were corrected and saved as "R" annotations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/source_beats.h"
#include "cli/cli_fixture.h"
#include "review/edf_save.h"
#include "review/source_load.h"
#include "review_writer.h"

namespace somatrix {
namespace {

class BeatsCliTest : public test::CCliTest {
protected:
    BeatsCliTest() : CCliTest("somatrix_beats_cli") {}

    struct COutput {
        std::vector<double> m_beats;
        std::vector<std::pair<std::string, std::string>> m_figures;  // name, text
    };
    static COutput Parse(const std::string& text) {
        COutput out;
        std::istringstream in(text);
        std::string name, value;
        while (in >> name >> value) {
            if (name == "beat") {
                out.m_beats.push_back(std::stod(value));
            } else {
                out.m_figures.emplace_back(name, value);
            }
        }
        return out;
    }
    std::string WriteEcg(const CReviewOptions& options) {
        const std::vector<uint8_t> bytes = ComposeReviewFile(options);
        const std::string path = Path("ecg.dat");
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
};

TEST_F(BeatsCliTest, ReviewFileEcgGivesTheTrueBeatsAndTheirRate) {
    CReviewOptions options;
    options.m_nMinutes = 2;
    options.m_nSeed = 4;
    options.m_bEcg = true;
    options.m_conditions.m_fNoiseMv = 0.05;
    options.m_conditions.m_fWanderMv = 0.3;
    const std::string file = WriteEcg(options);
    const std::vector<double> truth = ReviewBeatTimes(options);

    const test::CRun run = RunCli("beats " + file);
    ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
    const COutput out = Parse(run.m_strOut);
    size_t matched = 0;
    for (double t : truth) {
        matched += std::any_of(out.m_beats.begin(), out.m_beats.end(),
                               [&](double b) { return std::abs(b - t) <= 0.075; });
    }
    EXPECT_GE(matched + 1, truth.size());  // the beat at the very first sample may be missed
    EXPECT_LE(out.m_beats.size(), truth.size());
    ASSERT_EQ(out.m_figures.size(), 6u);
    EXPECT_EQ(out.m_figures[0],
              (std::pair<std::string, std::string>{"beats", std::to_string(out.m_beats.size())}));
    // Regular beats: the mean rate is the number of intervals over the time they span.
    const double mean = 60.0 * static_cast<double>(truth.size() - 1) / (truth.back() - truth[0]);
    EXPECT_EQ(out.m_figures[1].first, "hr_mean");
    EXPECT_NEAR(std::stod(out.m_figures[1].second), mean, 1.0);
    EXPECT_EQ(out.m_figures[2].first, "hr_min");
    EXPECT_EQ(out.m_figures[3].first, "hr_max");
    EXPECT_LT(std::stod(out.m_figures[2].second), mean);
    EXPECT_GT(std::stod(out.m_figures[3].second), mean);
    EXPECT_EQ(out.m_figures[4].first, "sdnn_ms");
    EXPECT_EQ(out.m_figures[5].first, "rmssd_ms");
    // Times to the millisecond.
    EXPECT_NE(run.m_strOut.find("beat "), std::string::npos);
    EXPECT_EQ(run.m_strOut.substr(run.m_strOut.find('.'), 5).size(), 5u);

    // A stretch: only its beats, still timed from the recording's start.
    const COutput part = Parse(RunCli("beats " + file + " --from 30 --to 40.5").m_strOut);
    ASSERT_FALSE(part.m_beats.empty());
    EXPECT_GE(part.m_beats.front(), 30.0);
    EXPECT_LT(part.m_beats.back(), 40.5);
    const auto inside =
        std::count_if(truth.begin(), truth.end(), [](double t) { return t >= 30.0 && t < 40.5; });
    EXPECT_NEAR(static_cast<double>(part.m_beats.size()), static_cast<double>(inside), 1.0);

    // Bad command lines: exit status 2 and a message.
    for (const std::string& bad :
         {std::string("beats"), "beats " + file + " --signal 1", "beats " + file + " --from -3",
          "beats " + file + " --to x", "beats " + file + " --from 9 --to 2", "beats " + file + " a",
          "beats " + file + " --frobnicate", "beats " + Path("none")}) {
        const test::CRun r = RunCli(bad);
        EXPECT_EQ(r.m_nStatus, 2) << bad;
        EXPECT_FALSE(r.m_strErr.empty()) << bad;
    }
}

TEST_F(BeatsCliTest, CorrectedBeatsTravelThroughEdfAsRAnnotations) {
    CReviewOptions options;
    options.m_nMinutes = 1;
    options.m_nSeed = 6;
    options.m_bEcg = true;
    options.m_nStartTime = 1700000000;
    const std::string file = WriteEcg(options);
    CReviewSource source;
    ASSERT_EQ(LoadReviewSource(file, source).m_result, ESourceLoad::kLoaded);
    bool bStored = true;
    std::vector<double> beats = SourceBeats(source, &bStored);
    EXPECT_FALSE(bStored);
    ASSERT_GT(beats.size(), 40u);
    // A student removes the tenth beat and adds one at 12.345 s.
    beats.erase(beats.begin() + 9);
    beats.push_back(12.345);
    std::sort(beats.begin(), beats.end());
    StoreBeatAnnotations(source, beats);
    source.AddAnnotation({5.0, -1.0, "rest"});
    const std::string edf = Path("corrected.edf");
    std::string error;
    ASSERT_TRUE(SaveEdfFile(edf, source, 0, source.SampleCount(), error)) << error;

    CReviewSource reloaded;
    ASSERT_EQ(LoadReviewSource(edf, reloaded).m_result, ESourceLoad::kLoaded);
    const std::vector<double> back = SourceBeats(reloaded, &bStored);
    EXPECT_TRUE(bStored);
    ASSERT_EQ(back.size(), beats.size());
    for (size_t i = 0; i < beats.size(); ++i) {
        EXPECT_NEAR(back[i], beats[i], 0.001) << i;
    }
    const COutput out = Parse(RunCli("beats " + edf).m_strOut);
    ASSERT_EQ(out.m_beats.size(), beats.size());
    EXPECT_NEAR(out.m_beats[std::find(beats.begin(), beats.end(), 12.345) - beats.begin()], 12.345,
                0.0005);
    // Storing again replaces the beats and leaves the other annotations.
    StoreBeatAnnotations(reloaded, {1.0, 2.0});
    EXPECT_EQ(BeatAnnotations(reloaded), (std::vector<double>{1.0, 2.0}));
    EXPECT_EQ(reloaded.Annotations().size(), 3u);
}

}  // namespace
}  // namespace somatrix
