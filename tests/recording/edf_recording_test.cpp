// EDF+ recordings on a virtual clock: what is written (read back through EDFlib itself), times
// that stay true across a pause and over an hour, and the conversions between EDF+, the review
// file and CSV.
#include <edflib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "protocol/frame.h"
#include "recording/edf_recorder.h"
#include "review/csv_export.h"
#include "review/edf_load.h"
#include "review/edf_save.h"
#include "review/review_file.h"

namespace somatrix {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kStartWall = 1'797'000'000;  // seconds since 1970

class CVirtualRecordingClock : public CRecordingClock {
public:
    int64_t SteadyNs() const override { return m_nNs; }
    int64_t WallNs() const override { return kStartWall * 1'000'000'000 + m_nNs; }
    int64_t m_nNs = 0;
};

struct CEdfFile {
    edf_hdr_struct m_hdr{};
    bool m_bOpen = false;
    explicit CEdfFile(const std::string& path) {
        m_bOpen = edfopen_file_readonly(path.c_str(), &m_hdr, EDFLIB_READ_ALL_ANNOTATIONS) == 0;
    }
    ~CEdfFile() {
        if (m_bOpen) {
            edfclose_file(m_hdr.handle);
        }
    }
    std::vector<int> Digital(int signal) {
        std::vector<int> out(static_cast<size_t>(m_hdr.signalparam[signal].smp_in_file));
        out.resize(static_cast<size_t>(edfread_digital_samples(
            m_hdr.handle, signal, static_cast<int>(out.size()), out.data())));
        return out;
    }
    std::vector<std::pair<long long, std::string>> Annotations() {
        std::vector<std::pair<long long, std::string>> out;
        for (int n = 0; n < m_hdr.annotations_in_file; ++n) {
            edf_annotation_struct a{};
            edf_get_annotation(m_hdr.handle, n, &a);
            out.emplace_back(a.onset / 10000, a.annotation);  // milliseconds
        }
        return out;
    }
};

class EdfRecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("somatrix_edf_" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    // Feeds `seconds` of a sensor at `rate` samples a second, values counting from m_nNext.
    void Feed(CEdfRecorder& recorder, double rate, double seconds) {
        const auto n = static_cast<int64_t>(rate * seconds + 0.5);
        const int64_t from = m_clock.m_nNs;
        for (int64_t i = 1; i <= n; ++i) {
            m_clock.m_nNs = from + static_cast<int64_t>(static_cast<double>(i) * 1e9 / rate);
            recorder.AddSample(static_cast<int>(m_nNext++ % 1000), -1, -1);
        }
        recorder.Tick();
    }

    fs::path m_dir;
    CVirtualRecordingClock m_clock;
    int64_t m_nNext = 0;
};

TEST_F(EdfRecordingTest, PauseKeepsTimesTrueAndEveryFormatRoundTrips) {
    const std::string path = Path("ECG_20261210_143005.edf");
    {
        CEdfRecorder recorder(m_clock);
        std::string error;
        ASSERT_TRUE(recorder.Open(path, {type::kEcg, "ECG", "0000ABCD", "2024-03-05"}, error));
        EXPECT_TRUE(fs::exists(path + ".journal"));
        Feed(recorder, 250, 4.0);
        recorder.Pause();
        Feed(recorder, 250, 2.0);  // the plot goes on; the file holds "no data"
        recorder.Resume();
        Feed(recorder, 250, 1.0);
        recorder.AddAnnotation("标记 1");
        Feed(recorder, 250, 2.0);
        EXPECT_EQ(recorder.Rate(), 250u);
        ASSERT_TRUE(recorder.Close(&error)) << error;
    }
    EXPECT_FALSE(fs::exists(path + ".journal"));

    {
        CEdfFile file(path);
        ASSERT_TRUE(file.m_bOpen);
        EXPECT_EQ(file.m_hdr.filetype, EDFLIB_FILETYPE_EDFPLUS);
        ASSERT_EQ(file.m_hdr.edfsignals, 1);
        EXPECT_EQ(file.m_hdr.signalparam[0].smp_in_datarecord, 250);
        EXPECT_EQ(file.m_hdr.datarecords_in_file, 9);
        EXPECT_STREQ(file.m_hdr.signalparam[0].label, "ECG             ");
        EXPECT_NE(std::string(file.m_hdr.equipment).find("0000ABCD"), std::string::npos);
        EXPECT_NE(std::string(file.m_hdr.equipment).find("2024-03-05"), std::string::npos);
        EXPECT_STREQ(file.m_hdr.patient_name, "X");
        const std::vector<int> d = file.Digital(0);
        ASSERT_EQ(d.size(), 2250u);
        for (int i = 0; i < 2250; ++i) {
            // Fed values run on through the pause; the file has -32768 there.
            const int expected = (i >= 1000 && i < 1500) ? -32768 : i % 1000 - 32767;
            ASSERT_EQ(d[static_cast<size_t>(i)], expected) << i;
        }
        const std::vector<std::pair<long long, std::string>> expected = {
            {4000, "暂停"}, {6000, "继续"}, {7000, "标记 1"}};
        EXPECT_EQ(file.Annotations(), expected);
    }

    CReviewSource source;
    ASSERT_TRUE(LoadEdfFile(path, source).m_bLoaded);
    EXPECT_EQ(source.SampleRate(), 250u);
    EXPECT_EQ(source.SampleCount(), 2250u);
    EXPECT_EQ(source.Gaps(), (std::vector<CSampleGap>{{1000, 1500}}));
    EXPECT_EQ(source.Samples()[1500], 500);
    EXPECT_DOUBLE_EQ(source.Physical(source.Samples()[1500]), 500.0);
    // The first sample after the pause was taken 6 s after the first one (at 0.004 s).
    EXPECT_DOUBLE_EQ(source.SampleSeconds(1500), 6.0);
    std::string text;
    const time_t later = kStartWall + 6;
    std::tm local{};
    localtime_r(&later, &local);
    char want[64];
    std::snprintf(want, sizeof want, "%04d.%02d.%02d %02d:%02d:%02d.004", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    EXPECT_EQ(source.FormatSampleTime(1500, &text), static_cast<uint32_t>(kStartWall + 6));
    EXPECT_EQ(text, want);
    ASSERT_EQ(source.Annotations().size(), 3u);
    EXPECT_EQ(source.Annotations()[2].m_strText, "标记 1");

    // EDF+ to review file and back: the same samples, now at 200 per second.
    CReviewRecording review;
    source.ToReviewRecording(0, source.SampleCount(), review);
    std::string error;
    ASSERT_TRUE(SaveWaveFile(Path("r.dat"), review, error));
    CReviewSource fromReview;
    ASSERT_EQ(LoadWaveFile(Path("r.dat"), fromReview.Recording()).m_result, ELoadResult::kLoaded);
    fromReview.AdoptReviewRecording();
    ASSERT_TRUE(SaveEdfFile(Path("back.edf"), fromReview, 0, fromReview.SampleCount(), error));
    CReviewSource back;
    ASSERT_TRUE(LoadEdfFile(Path("back.edf"), back).m_bLoaded);
    EXPECT_EQ(back.SampleRate(), 200u);
    ASSERT_EQ(back.SampleCount(), 2400u);  // 12 whole records, the last ends in "no data"
    EXPECT_TRUE(std::equal(source.Samples(), source.Samples() + 2250, back.Samples()));
    EXPECT_EQ(back.Gaps(), (std::vector<CSampleGap>{{2250, 2400}}));
    EXPECT_EQ(back.StartSeconds(), kStartWall);

    // A stretch as EDF+: 5 s from 3 s on keeps the annotations inside, moved to the new start.
    source.RenameAnnotation(2, "R 峰");
    ASSERT_TRUE(SaveEdfFile(Path("part.edf"), source, 750, 2000, error));
    CReviewSource part;
    ASSERT_TRUE(LoadEdfFile(Path("part.edf"), part).m_bLoaded);
    EXPECT_EQ(part.SampleCount(), 1250u);
    EXPECT_EQ(part.StartSeconds(), kStartWall + 3);
    ASSERT_EQ(part.Annotations().size(), 3u);
    EXPECT_DOUBLE_EQ(part.Annotations()[0].m_fOnset, 1.0);
    EXPECT_EQ(part.Annotations()[2].m_strText, "R 峰");
    EXPECT_DOUBLE_EQ(part.Annotations()[2].m_fOnset, 4.0);

    // CSV: a header, one line per sample, times to the millisecond, empty values without data.
    ASSERT_TRUE(WriteCsvFile(Path("s.csv"), source, 0, source.SampleCount(), error));
    std::ifstream csv(Path("s.csv"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(csv, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 2251u);
    EXPECT_EQ(lines[0], "time_s,value");
    EXPECT_EQ(lines[1], "0.000,0");
    EXPECT_EQ(lines[2], "0.004,1");
    EXPECT_EQ(lines[1001], "4.000,");
    EXPECT_EQ(lines[1501], "6.000,500");
    EXPECT_EQ(lines[2250], "8.996,249");
}

TEST_F(EdfRecordingTest, FileClockFollowsTheWallClockOverAnHour) {
    // A sensor a little faster than the rounded rate, and later a slower one: after an hour
    // the file's time of the last sample stays within a second of the wall clock.
    for (const double rate : {200.4, 199.6}) {
        SCOPED_TRACE(rate);
        m_clock.m_nNs = 0;
        const std::string path = Path("drift.edf");
        CEdfRecorder recorder(m_clock);
        std::string error;
        ASSERT_TRUE(recorder.Open(path, {type::kPulse, "PULSE", "", ""}, error));
        Feed(recorder, rate, 3600.0);
        EXPECT_EQ(recorder.Rate(), 200u);
        const double wall = static_cast<double>(m_clock.m_nNs) / 1e9;
        recorder.AddAnnotation("end");
        ASSERT_TRUE(recorder.Close(&error)) << error;
        CEdfFile file(path);
        ASSERT_TRUE(file.m_bOpen);
        const auto annotations = file.Annotations();
        ASSERT_EQ(annotations.size(), 1u);
        EXPECT_NEAR(static_cast<double>(annotations[0].first) / 1000.0, wall, 1.0);
        EXPECT_NEAR(static_cast<double>(file.m_hdr.datarecords_in_file), wall, 1.5);
    }
}

}  // namespace
}  // namespace somatrix
