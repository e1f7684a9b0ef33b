// Decoding of data, result and end frames as the hub hands them to the display and the logs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "protocol/fake_link.h"
#include "protocol/oper_core.h"
#include "protocol/recording_sink.h"

namespace somatrix {
namespace {

using test::MakeFrame;
using Lines = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;

class DecodingTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_core.Initialise({});
        // Measuring already, so each data frame yields only its decoding lines.
        Feed(MakeFrame(0xCA, 0xA0, {0, 0}));
        m_sink.Take();
    }
    void Feed(const Bytes& bytes) { m_core.OnComm(bytes.data(), bytes.size()); }
    // A frame whose length byte claims `n` bytes in all, zero-padded payload.
    static Bytes Sized(uint8_t type, size_t n, Bytes payload) {
        payload.resize(n - 5);
        return MakeFrame(type, 0xA0, payload);
    }
    std::string ParsedLog() {
        m_core.StopLog();
        std::ifstream in(m_strLog);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void StartParsed() {
        m_strLog = (std::filesystem::temp_directory_path() /
                    ("somatrix_decode_" + std::to_string(::getpid()) + ".csv"))
                       .string();
        std::filesystem::remove(m_strLog);
        ASSERT_TRUE(m_core.StartLogFile(kLogParsed, m_strLog));
    }
    void TearDown() override { std::filesystem::remove(m_strLog); }

    test::CRecordingSink m_sink;
    COperCore m_core{m_sink};
    std::string m_strLog;
};

TEST_F(DecodingTest, EachTypeGivesItsReadingsAndLogLine) {
    StartParsed();
    Feed(MakeFrame(0xC0, 0xA0, {0x1A, 0x2B}));          // cuff 2603, status bit 16
    Feed(MakeFrame(0xCD, 0x54, {0x0F, 0xFF}));          // 0xCD's data command: 4095, bit clear
    Feed(MakeFrame(0xC3, 0xA0, {0x01, 0x00, 0x00, 0x80}));
    Feed(MakeFrame(0xC5, 0xA0, {0x01, 0x90}));          // 400: rate field 25.00
    Feed(MakeFrame(0xC5, 0xA0, {0x00, 0x00}));          // 0: no rate field
    Feed(MakeFrame(0xC7, 0xA0, {60, 98, 72}));
    Feed(MakeFrame(0xCE, 0xA0, {0x08, 0x00}));
    Feed(MakeFrame(0xC4, 0xA0, {0x01, 0x6D}));          // skin temperature: nothing decoded
    Feed(MakeFrame(0xC2, 0xA0, {0x01, 0x6D}));          // accepted code without a sensor
    Feed(MakeFrame(0xC8, 0xA0, {0x00}));                // one byte short of its minimum
    Bytes hs(50);
    for (size_t i = 0; i < hs.size(); ++i) {
        hs[i] = static_cast<uint8_t>(10 + i);
    }
    Feed(MakeFrame(0xB1, 0xA0, hs));
    Feed(Sized(0xB1, 54, hs));                          // heart sound one byte short
    EXPECT_EQ(m_sink.Take(), (Lines{
        "values 2603 16 -1 -1", "sample 2603 16 -1",
        "values 4095 0 -1 -1", "sample 4095 0 -1",
        "values 256 128 -1 -1", "sample 256 128 -1",
        "values 400 -1 -1 -1", "sample 400 -1 -1",
        "values 0 -1 -1 -1", "sample 0 -1 -1",
        "values 60 98 72 -1", "sample 60 98 72",
        "values 2048 -1 -1 -1", "sample 2048 -1 -1",
        "values -1 -1 -1 -1", "sample -1 -1 -1",
        "values -1 -1 -1 -1", "sample -1 -1 -1",
        "values -1 -1 -1 -1", "sample -1 -1 -1",
        "values 10 -1 -1 -1", "sample 10 -1 -1",
        "values -1 -1 -1 -1", "sample -1 -1 -1"}));
    EXPECT_EQ(ParsedLog(),
              "2603,16,\n4095,\n256,128,\n400,25.00,\n0,\n60,98,72,\n2048,\n10,\n");
}

TEST_F(DecodingTest, ElectromyographyKeepsSamplesUpTo2048OneByOne) {
    StartParsed();
    Bytes payload;
    for (int k = 0; k < 24; ++k) {
        const int s = k == 5 ? 0x0801 : k == 6 ? 2048 : 100 + k;
        payload.push_back(static_cast<uint8_t>(s >> 8));
        payload.push_back(static_cast<uint8_t>(s & 0xFF));
    }
    Feed(MakeFrame(0xC6, 0xA0, payload));
    // The 23 lines of one receive event reach the file with one flush at its end.
    EXPECT_EQ(m_core.GetLog().GetFlushCount(), 1u);
    std::ifstream written(m_strLog);
    EXPECT_EQ(std::count(std::istreambuf_iterator<char>(written), {}, '\n'), 23);
    const Lines lines = m_sink.Take();
    ASSERT_EQ(lines.size(), 46u);  // 23 samples, values and sample each
    EXPECT_EQ(lines[10], "values 2048 -1 -1 -1");
    EXPECT_EQ(lines[11], "sample 2048 -1 -1");
    EXPECT_EQ(lines[45], "sample 123 -1 -1");
    const std::string log = ParsedLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 23);
    EXPECT_EQ(log.find("2049"), std::string::npos);

    // A short frame is not checked: bytes past it read as zero samples.
    Feed(MakeFrame(0xC6, 0xA0, {0x00, 0x07}));
    const Lines shortLines = m_sink.Take();
    ASSERT_EQ(shortLines.size(), 48u);
    EXPECT_EQ(shortLines[0], "values 7 -1 -1 -1");
    EXPECT_EQ(shortLines[2], "values 0 -1 -1 -1");
}

TEST_F(DecodingTest, BloodPressureResultAndEndFinishTheMeasurement) {
    StartParsed();
    Feed(MakeFrame(0xC0, 0xAC, {0x80, 0x78, 0x00, 0x50, 0x48}));
    EXPECT_EQ(m_sink.Take(), (Lines{"result 120 80 72 128", "measuring 0", "flags 0 0 0"}));
    Feed(MakeFrame(0xCD, 0x56, {0x03}));
    EXPECT_EQ(m_sink.Take(), (Lines{"result 3 -1 -1 -1", "measuring 0"}));
    // The commands are tied to their own type: 0xAC from 0xCD and 0x55 from 0xC0 do nothing.
    Feed(MakeFrame(0xCD, 0xAC, {0x80, 0x78, 0x00, 0x50, 0x48}));
    Feed(MakeFrame(0xC0, 0x55, {0x80, 0x78, 0x00, 0x50, 0x48}));
    Feed(MakeFrame(0xC0, 0xAD, {}));  // an end frame without its code byte is too short
    EXPECT_TRUE(m_sink.Take().empty());
    EXPECT_EQ(ParsedLog(), "120,80,72,128,\n3,\n");

    // A cuff-pressure frame still on its way after Stop is a reading, never a result.
    m_core.OnStop();
    m_sink.Take();
    Feed(MakeFrame(0xC0, 0xA0, {0x00, 0x8F}));
    EXPECT_EQ(m_sink.Take(), (Lines{"flags 1 0 0", "values 143 0 -1 -1", "sample 143 0 -1"}));
}

TEST_F(DecodingTest, ASelectionClearsTheExtremesAndTheAmplitude) {
    m_core.OnMaxMin(true);
    for (const int v : {900, 100}) {
        Feed(MakeFrame(0xCE, 0xA0, {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)}));
    }
    Feed(MakeFrame(0xB1, 0xA0, Bytes(50, 77)));  // the heart-sound window has begun
    EXPECT_EQ(m_core.GetExtremes().m_nMax1, 900);
    m_sink.Take();
    m_core.SelectDevice(m_core.GetCatalogue().IndexOfType(0xC9));
    EXPECT_EQ(m_sink.Take(), (Lines{"maxmin 1 -1 -1 -1 -1", "amplitude 0"}));
    EXPECT_EQ(m_core.GetExtremes().m_nWindowCount, 0);
    EXPECT_EQ(m_core.GetExtremes().m_nWindowMax, 0);
    EXPECT_EQ(m_core.GetExtremes().m_nWindowMin, 255);
    Feed(MakeFrame(0xC9, 0xA0, {0x01, 0x6D}));
    EXPECT_EQ(m_sink.Take().back(), "maxmin 1 365 365 -1 -1");
}

TEST_F(DecodingTest, ExtremesFollowTheSwitch) {
    m_core.OnMaxMin(true);
    for (const int v : {500, 400, 600, 450}) {
        Feed(MakeFrame(0xCA, 0xA0, {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)}));
    }
    Lines lines = m_sink.Take();
    EXPECT_EQ(lines.front(), "maxmin 1 -1 -1 -1 -1");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "maxmin 1 600 400 -1 -1"), 1);
    EXPECT_EQ(lines.back(), "sample 450 -1 -1");  // no change, no new maxmin line
    EXPECT_EQ(m_core.GetExtremes().m_nMax1, 600);
    m_core.OnMaxMin(false);
    EXPECT_EQ(m_sink.Take(), (Lines{"maxmin 0 600 400 -1 -1"}));
    m_core.OnMaxMin(true);
    EXPECT_EQ(m_sink.Take(), (Lines{"maxmin 1 -1 -1 -1 -1"}));
    // Two channels track separately.
    Feed(MakeFrame(0xC3, 0xA0, {0x00, 0x10, 0x00, 0x20}));
    EXPECT_EQ(m_sink.Take().back(), "maxmin 1 16 16 32 32");
}

TEST_F(DecodingTest, HeartSoundWindowSpans12000SamplesAndSkipsTheReportingOne) {
    m_core.OnMaxMin(true);
    m_sink.Take();
    Bytes payload(50);
    for (int frame = 0; frame < 240; ++frame) {
        for (size_t i = 0; i < 50; ++i) {
            payload[i] = static_cast<uint8_t>(frame == 17 && i == 3 ? 200 : 40 + i % 3);
        }
        Feed(MakeFrame(0xB1, 0xA0, payload));
    }
    for (const std::string& line : m_sink.Take()) {
        ASSERT_NE(line.rfind("maxmin", 0), 0u) << "window reported before it was full";
    }
    // The 12001st sample reports the window; it is not counted in the next one.
    payload.assign(50, 90);
    payload[0] = 5;
    Feed(MakeFrame(0xB1, 0xA0, payload));
    const Lines lines = m_sink.Take();
    EXPECT_EQ(lines, (Lines{"values 5 -1 -1 -1", "sample 5 -1 -1", "maxmin 1 200 40 -1 -1",
                            "amplitude 160"}));
    EXPECT_EQ(m_core.GetExtremes().m_nWindowCount, 49);
    EXPECT_EQ(m_core.GetExtremes().m_nWindowMin, 90);

    // A 54-byte heart-sound frame still feeds 50 samples, the last a zero from the buffer.
    Feed(Sized(0xB1, 54, Bytes(50, 90)));
    EXPECT_EQ(m_core.GetExtremes().m_nWindowMin, 0);
    EXPECT_EQ(m_core.GetExtremes().m_nWindowCount, 99);
}

}  // namespace
}  // namespace somatrix
