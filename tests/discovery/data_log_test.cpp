// Raw and parsed log lines, file names, and the single shared log file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "discovery/data_log.h"
#include "discovery/raw_log_reader.h"

namespace somatrix {
namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Line(int a, int b, int c, int d, bool rate) {
    char out[CDataLog::kParsedLineBytes];
    return std::string(out, CDataLog::FormatParsedLine(out, a, b, c, d, rate));
}

TEST(DataLog, ParsedLineFields) {
    EXPECT_EQ(Line(400, 0, 0, 0, true), "400,25.00,\n");
    EXPECT_EQ(Line(0, 0, 0, 0, true), "0,\n");
    EXPECT_EQ(Line(3, 0, 0, 0, true), "3,3333.33,\n");
    EXPECT_EQ(Line(2603, 16, 0, 0, false), "2603,16,\n");
    EXPECT_EQ(Line(2603, 0, 0, 0, false), "2603,\n");
    EXPECT_EQ(Line(60, 0, 72, -1, false), "60,72,\n");  // no placeholder for 0 or negative
    EXPECT_EQ(Line(-1, 5, 0, 128, false), "-1,5,128,\n");
    // The widest line fits the buffer.
    EXPECT_EQ(Line(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, true),
              "-2147483648,2147483647,2147483647,2147483647,\n");
    EXPECT_EQ(Line(1, INT32_MAX, INT32_MAX, INT32_MAX, true),
              "1,10000.00,2147483647,2147483647,2147483647,\n");
}

TEST(DataLog, FileNamesFollowTheLocalStartTime) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 5;
    t.tm_hour = 7;
    t.tm_min = 3;
    t.tm_sec = 9;
    const std::filesystem::path folder = "Data";
    EXPECT_EQ(CDataLog::FileName("Data", kLogRaw, t), (folder / "20260105070309.txt").string());
    EXPECT_EQ(CDataLog::FileName("Data", kLogParsed, t), (folder / "20260105070309.csv").string());
}

TEST(DataLog, OneFileSharedByBothModesAndSameSecondAppends) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("somatrix_log_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::tm t{};
    t.tm_year = 126;
    t.tm_mday = 1;
    CDataLog log;
    ASSERT_TRUE(log.Start(kLogRaw, (folder / "Data").string(), t));  // folder created
    const uint8_t bytes[] = {0xFF, 0xC8, 0x05};
    log.WriteRaw(bytes, 3);
    log.WriteParsed(1, 2, 3, 4, false);  // wrong mode: nothing
    // Lines are on disk once flushed (the hub flushes at the end of every receive event).
    log.Flush();
    EXPECT_EQ(Slurp(log.GetPath()), "FF C8 05 \n");
    const std::string rawPath = log.GetPath();

    ASSERT_TRUE(log.Start(kLogParsed, (folder / "Data").string(), t));
    log.WriteParsed(7, 0, 0, 0, false);
    log.WriteRaw(bytes, 3);
    ASSERT_TRUE(log.Start(kLogParsed, (folder / "Data").string(), t));  // same second
    log.WriteParsed(8, 0, 0, 0, false);
    log.Stop();
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(log.GetMode(), kLogNone);
    EXPECT_EQ(Slurp((folder / "Data" / "20260101000000.csv").string()), "7,\n8,\n");
    EXPECT_EQ(Slurp(rawPath), "FF C8 05 \n");

    // A file that cannot be opened keeps the mode but writes nothing.
    EXPECT_FALSE(log.StartFile(kLogRaw, (folder / "no" / "such" / "dir.txt").string()));
    EXPECT_EQ(log.GetMode(), kLogRaw);
    EXPECT_EQ(log.GetError(), "没有那个文件或目录");
    log.WriteRaw(bytes, 3);
    std::filesystem::remove_all(folder);
}

TEST(DataLog, APausedLogWritesNothingUntilResumed) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("somatrix_pause_" + std::to_string(::getpid()) + ".txt");
    std::filesystem::remove(path);
    CDataLog log;
    log.SetPaused(true);  // nothing open: nothing to pause
    EXPECT_FALSE(log.IsPaused());
    ASSERT_TRUE(log.StartFile(kLogRaw, path.string()));
    const uint8_t a[] = {0x01}, b[] = {0x02}, c[] = {0x03};
    log.WriteRaw(a, 1);
    log.SetPaused(true);
    EXPECT_TRUE(log.IsPaused());
    log.WriteRaw(b, 1);
    log.SetPaused(false);
    log.WriteRaw(c, 1);
    log.Flush();
    EXPECT_EQ(Slurp(path.string()), "01 \n03 \n");
    // A new start or a stop resumes.
    log.SetPaused(true);
    ASSERT_TRUE(log.StartFile(kLogParsed, path.string()));
    EXPECT_FALSE(log.IsPaused());
    log.SetPaused(true);
    log.WriteParsed(5, 0, 0, 0, false);
    log.Stop();
    EXPECT_FALSE(log.IsPaused());
    EXPECT_EQ(Slurp(path.string()), "01 \n03 \n");
    std::filesystem::remove(path);
}

TEST(DataLog, LongReceiveEventsRoundTripThroughTheReader) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("somatrix_raw_" + std::to_string(::getpid()) + ".txt");
    std::filesystem::remove(path);
    std::vector<CReceiveEvent> events = {{0x00}, {}, {}};
    for (int i = 0; i < 1000; ++i) {
        events[1].push_back(static_cast<uint8_t>(i * 7));
    }
    events[2] = {0xAB, 0xCD};
    {
        CDataLog log;
        ASSERT_TRUE(log.StartFile(kLogRaw, path.string()));
        for (const CReceiveEvent& e : events) {
            log.WriteRaw(e.data(), e.size());
        }
    }
    std::vector<CReceiveEvent> back;
    std::string error;
    ASSERT_TRUE(ParseRawLog(Slurp(path.string()), back, error)) << error;
    EXPECT_EQ(back, events);
    std::filesystem::remove(path);

    EXPECT_TRUE(ParseRawLog("ff 0a\r\n\n  \nA0\n", back, error));
    EXPECT_EQ(back, (std::vector<CReceiveEvent>{{0xFF, 0x0A}, {0xA0}}));
    EXPECT_FALSE(ParseRawLog("FF C8\nFF G1 00\n", back, error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
    EXPECT_TRUE(back.empty());
    EXPECT_FALSE(ParseRawLog("FFC8\n", back, error));
    EXPECT_EQ(SplitCapture("abcde", 2).size(), 3u);
    EXPECT_EQ(SplitCapture("abcde", 2).back(), CReceiveEvent{'e'});
}

}  // namespace
}  // namespace somatrix
