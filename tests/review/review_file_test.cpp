// Review files as they come: crafted and random bytes through the loader, and saves that keep
// every segment's time and never destroy the file they replace.
#include "review/review_file.h"

#include "file_size_limit.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace somatrix {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kT = 1700000000;  // 0x6553F100

void Put32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}
Bytes Marker(uint32_t time) {
    Bytes b = {'T', 'M'};
    Put32(b, time);
    return b;
}
Bytes Header(uint32_t time, const char* magic = "EEG1") {
    Bytes b(magic, magic + 4);
    const Bytes m = Marker(time);
    b.insert(b.end(), m.begin(), m.end());
    return b;
}
Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Bytes Fill(size_t n, uint8_t v) {
    return Bytes(n, v);
}

// The byte-wise scan written out plainly, to check the loader against on random files.
struct CReference {
    std::vector<uint16_t> m_samples;
    std::vector<uint32_t> m_starts, m_times;
};
CReference ReferenceScan(const Bytes& file) {
    CReference r;
    const uint8_t* data = file.data() + 10;
    const size_t length = file.size() - 10;
    uint32_t time = file[6] | file[7] << 8 | file[8] << 16 | uint32_t(file[9]) << 24;
    size_t offset = 0;
    auto take = [&](size_t end) {
        if (time != 0) {
            r.m_starts.push_back(static_cast<uint32_t>(r.m_samples.size()));
            r.m_times.push_back(time);
        }
        for (size_t j = offset; j + 1 < end; j += 2) {
            r.m_samples.push_back(static_cast<uint16_t>(data[j] | data[j + 1] << 8));
        }
    };
    for (size_t i = 0; i + 6 < length; ++i) {
        if (data[i] == 0x54 && data[i + 1] == 0x4D) {
            take(i);
            time = data[i + 2] | data[i + 3] << 8 | data[i + 4] << 16 | uint32_t(data[i + 5]) << 24;
            offset = i + 6;
            i += 5;
        }
    }
    take(length);
    return r;
}

class ReviewFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("somatrix_review_" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Write(const Bytes& bytes, const std::string& name = "f.dat") {
        std::ofstream(m_dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return (m_dir / name).string();
    }
    ELoadResult Load(const Bytes& bytes) { return LoadWaveFile(Write(bytes), m_rec).m_result; }
    std::vector<uint16_t> Samples() const {
        return {m_rec.Samples(), m_rec.Samples() + m_rec.SampleCount()};
    }
    Bytes Read(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    fs::path m_dir;
    CReviewRecording m_rec;
};

TEST_F(ReviewFileTest, LengthAndHeaderDecideWhatIsAReviewFile) {
    EXPECT_EQ(Load(Header(kT) + Fill(90, 1)), ELoadResult::kLoaded);  // 100 bytes
    EXPECT_EQ(m_rec.SampleCount(), 45u);
    EXPECT_EQ(m_rec.Samples()[44], 0x0101);
    EXPECT_EQ(m_rec.SegmentStart(), (std::vector<uint32_t>{0}));
    EXPECT_EQ(m_rec.SegmentTime(), (std::vector<uint32_t>{kT}));

    EXPECT_EQ(Load(Header(kT) + Fill(89, 1)), ELoadResult::kRejected);  // 99 bytes
    EXPECT_EQ(m_rec.SampleCount(), 0u);  // the previous recording is gone
    EXPECT_EQ(m_rec.SegmentCount(), 0u);
    EXPECT_EQ(Load(Header(kT, "EEG3") + Fill(90, 1)), ELoadResult::kRejected);
    EXPECT_EQ(Load(Header(kT, "eeg1") + Fill(90, 1)), ELoadResult::kRejected);
    EXPECT_EQ(Load(Header(kT, "EEG2") + Fill(91, 2)), ELoadResult::kLoaded);
    EXPECT_EQ(m_rec.SampleCount(), 45u);  // cut short inside a sample: the odd byte is dropped
    EXPECT_EQ(m_rec.Samples()[0], 0x0202);

    const CLoadOutcome missing = LoadWaveFile((m_dir / "none.dat").string(), m_rec);
    EXPECT_EQ(missing.m_result, ELoadResult::kUnreadable);
    EXPECT_EQ(missing.m_strError,
              "无法打开文件 " + (m_dir / "none.dat").string() + "：没有那个文件或目录");
}

TEST_F(ReviewFileTest, MarkersAreFoundAtEveryOffset) {
    // At an odd offset: the segment before keeps 11 / 2 = 5 samples, its odd byte is lost.
    ASSERT_EQ(Load(Header(kT) + Fill(11, 1) + Marker(kT + 60) + Fill(100, 2)),
              ELoadResult::kLoaded);
    EXPECT_EQ(m_rec.SampleCount(), 55u);
    EXPECT_EQ(m_rec.Samples()[4], 0x0101);
    EXPECT_EQ(m_rec.Samples()[5], 0x0202);
    EXPECT_EQ(m_rec.SegmentStart(), (std::vector<uint32_t>{0, 5}));
    EXPECT_EQ(m_rec.SegmentTime(), (std::vector<uint32_t>{kT, kT + 60}));

    // Ending exactly at the end of the file, a marker is data: 0x4D54, 0xF13D, 0x6553.
    ASSERT_EQ(Load(Header(kT) + Fill(100, 1) + Marker(kT + 61)), ELoadResult::kLoaded);
    EXPECT_EQ(m_rec.SampleCount(), 53u);
    EXPECT_EQ(m_rec.Samples()[50], 0x4D54);
    EXPECT_EQ(m_rec.Samples()[51], 0xF13D);
    EXPECT_EQ(m_rec.SegmentCount(), 1u);

    // Seven bytes before the end it is found; the one byte after it is no sample.
    ASSERT_EQ(Load(Header(kT) + Fill(100, 1) + Marker(kT + 61) + Fill(1, 7)), ELoadResult::kLoaded);
    EXPECT_EQ(m_rec.SampleCount(), 50u);
    EXPECT_EQ(m_rec.SegmentStart(), (std::vector<uint32_t>{0, 50}));
    EXPECT_EQ(m_rec.SegmentTime(), (std::vector<uint32_t>{kT, kT + 61}));

    // Samples 0x5400 0x004D hold "TM" across their boundary and are read as a marker.
    ASSERT_EQ(
        Load(Header(kT) + Fill(100, 1) + Bytes{0x00, 0x54, 0x4D, 0x00, 0, 0, 0} + Fill(20, 3)),
        ELoadResult::kLoaded);
    EXPECT_EQ(m_rec.SampleCount(), 60u);  // 50, the lone 0x00, then 20 bytes
    EXPECT_EQ(m_rec.SegmentTime(), (std::vector<uint32_t>{kT}));  // its time was 0
}

TEST_F(ReviewFileTest, TimeStampZeroLeavesSamplesWithoutASegment) {
    ASSERT_EQ(Load(Header(0) + Fill(100, 1)), ELoadResult::kLoaded);
    EXPECT_EQ(m_rec.SampleCount(), 50u);
    EXPECT_EQ(m_rec.SegmentCount(), 0u);
    std::string text = "old";
    EXPECT_EQ(m_rec.FormatSampleTime(3, &text), 0u);
    EXPECT_EQ(text, "");

    ASSERT_EQ(Load(Header(0) + Fill(100, 1) + Marker(kT) + Fill(20, 2)), ELoadResult::kLoaded);
    EXPECT_EQ(m_rec.SegmentStart(), (std::vector<uint32_t>{50}));
    EXPECT_EQ(m_rec.SegmentTime(), (std::vector<uint32_t>{kT}));
}

TEST_F(ReviewFileTest, RandomFilesLoadAsTheByteScanReadsThem) {
    std::mt19937 rng(11);
    for (int n = 0; n < 200; ++n) {
        Bytes file = Header(n % 5 == 0 ? 0 : kT);
        const size_t length = 90 + rng() % 3000;
        for (size_t i = 0; i < length; ++i) {
            // Plenty of 'T', 'M' and zero bytes, so markers, time-0 markers and near misses abound.
            const uint32_t pick = rng() % 8;
            file.push_back(pick < 2 ? 0x54 : pick < 4 ? 0x4D : pick < 5 ? 0 : uint8_t(rng()));
        }
        ASSERT_EQ(Load(file), ELoadResult::kLoaded);
        const CReference ref = ReferenceScan(file);
        ASSERT_EQ(Samples(), ref.m_samples) << "file " << n;
        ASSERT_EQ(m_rec.SegmentStart(), ref.m_starts) << "file " << n;
        ASSERT_EQ(m_rec.SegmentTime(), ref.m_times) << "file " << n;
    }
    // Long enough to be read in several pieces, with markers across the pieces' edges (the
    // loader reads 256 KiB at a time) and plain sample bytes between them.
    Bytes file = Header(kT);
    for (size_t i = 0; i < 700000; ++i) {
        file.push_back(rng() % 64 == 0 ? 0x54 : rng() % 64 == 0 ? 0x4D : uint8_t(rng()));
    }
    for (const size_t at : {262144 - 3, 262144 - 6, 524288 - 1, 524288 + 20}) {
        const Bytes m = Marker(kT + static_cast<uint32_t>(at));
        std::copy(m.begin(), m.end(), file.begin() + 10 + static_cast<std::ptrdiff_t>(at));
    }
    ASSERT_EQ(Load(file), ELoadResult::kLoaded);
    const CReference ref = ReferenceScan(file);
    EXPECT_EQ(Samples(), ref.m_samples);
    EXPECT_EQ(m_rec.SegmentStart(), ref.m_starts);
    EXPECT_EQ(m_rec.SegmentTime(), ref.m_times);
}

TEST_F(ReviewFileTest, LongFilesComeWithTheExtremesOfEveryBlock) {
    // Over a million samples, markers at random offsets: the loader hands over the extremes of
    // every 16 and every 256 samples of the packed recording, as a plain walk finds them.
    std::mt19937 rng(5);
    Bytes file = Header(kT);
    for (size_t i = 0; i < 2400000; ++i) {
        file.push_back(rng() % 128 == 0 ? 0x54 : rng() % 128 == 0 ? 0x4D : uint8_t(rng()));
    }
    ASSERT_EQ(Load(file), ELoadResult::kLoaded);
    const std::vector<uint16_t> samples = ReferenceScan(file).m_samples;
    ASSERT_EQ(Samples(), samples);
    ASSERT_GT(samples.size(), size_t{1} << 20);
    ASSERT_NE(samples.size() % 256, 0u);  // a partial last block at both levels
    CPyramidSeed seed = m_rec.TakePyramidSeed();
    for (const auto& [level, width] :
         {std::pair<const CRangeArray*, size_t>{&seed.m_blocks, 16}, {&seed.m_superBlocks, 256}}) {
        ASSERT_EQ(level->size(), (samples.size() + width - 1) / width);
        for (size_t b = 0; b < level->size(); ++b) {
            const auto first = samples.begin() + static_cast<std::ptrdiff_t>(b * width);
            const auto last = samples.begin() + static_cast<std::ptrdiff_t>(
                                                    std::min(samples.size(), (b + 1) * width));
            const auto [lo, hi] = std::minmax_element(first, last);
            ASSERT_EQ((*level)[b].m_nMin, *lo) << width << " block " << b;
            ASSERT_EQ((*level)[b].m_nMax, *hi) << width << " block " << b;
        }
    }
    // A pyramid on these levels answers every range as the samples do.
    CMinMaxPyramid pyramid;
    pyramid.Build(m_rec.Samples(), m_rec.SampleCount(), std::move(seed));
    for (int q = 0; q < 300; ++q) {
        uint32_t a = static_cast<uint32_t>(rng() % samples.size());
        uint32_t b = q % 3 == 0 ? a + static_cast<uint32_t>(rng() % 40)
                                : static_cast<uint32_t>(rng() % samples.size());
        b = std::min<uint32_t>(b, static_cast<uint32_t>(samples.size() - 1));
        if (a > b) {
            std::swap(a, b);
        }
        const auto [lo, hi] = std::minmax_element(samples.begin() + a, samples.begin() + b + 1);
        const CValueRange r = pyramid.Range(a, b);
        ASSERT_EQ(r.m_nMin, *lo) << a << ".." << b;
        ASSERT_EQ(r.m_nMax, *hi) << a << ".." << b;
    }
    // Taken once; a changed recording has none.
    EXPECT_TRUE(m_rec.TakePyramidSeed().m_blocks.empty());
    ASSERT_EQ(Load(file), ELoadResult::kLoaded);
    m_rec.CutSamples(0, 10);
    EXPECT_TRUE(m_rec.TakePyramidSeed().m_blocks.empty());
}

TEST_F(ReviewFileTest, FilesOfFourGibibytesAreRefused) {
    for (const uint64_t size : {uint64_t{1} << 32, (uint64_t{1} << 32) + 200}) {
        const std::string path = Write(Header(kT) + Fill(100, 1), "big.dat");
        fs::resize_file(path, size);  // sparse: its low 32 bits read as 0 or as 200 bytes
        const CLoadOutcome outcome = LoadWaveFile(path, m_rec);
        EXPECT_EQ(outcome.m_result, ELoadResult::kTooLarge);
        EXPECT_NE(outcome.m_strError.find("big.dat"), std::string::npos);
        EXPECT_NE(outcome.m_strError.find("4 GB"), std::string::npos);
        EXPECT_EQ(m_rec.SampleCount(), 0u);
        fs::remove(path);
    }
}

TEST_F(ReviewFileTest, SimulatorFileLoadsInThreeSegments) {
    ASSERT_EQ(LoadWaveFile(SOMATRIX_TEST_DATA "/sim_review_3min.dat", m_rec).m_result,
              ELoadResult::kLoaded);
    EXPECT_EQ(m_rec.SampleCount(), 36000u);
    EXPECT_EQ(m_rec.SegmentStart(), (std::vector<uint32_t>{0, 12000, 24000}));
    EXPECT_EQ(m_rec.SegmentTime(), (std::vector<uint32_t>{kT, kT + 120, kT + 240}));
}

// Numbered samples in segments at the given starts, one second apart from kT.
CReviewRecording Numbered(uint32_t count, const std::vector<uint32_t>& starts) {
    CReviewRecording r;
    Bytes bytes;
    for (uint32_t i = 0; i < count; ++i) {
        bytes.push_back(static_cast<uint8_t>(i));
        bytes.push_back(static_cast<uint8_t>(i >> 8));
    }
    for (size_t k = 0; k < starts.size(); ++k) {
        r.AddSegment(starts[k], kT + static_cast<uint32_t>(k));
    }
    r.AppendSamples(bytes.data(), count);
    return r;
}

Bytes Encoded(const CReviewRecording& r) {
    Bytes out;
    EXPECT_TRUE(EncodeWaveFile(r, [&out](const void* bytes, size_t n) {
        const auto* b = static_cast<const uint8_t*>(bytes);
        out.insert(out.end(), b, b + n);
        return true;
    }));
    return out;
}

TEST_F(ReviewFileTest, SaveWritesAMarkerBeforeEverySegmentAfterTheFirst) {
    // The empty segment at the end is left out: its marker would be read back as samples.
    EXPECT_EQ(Encoded(Numbered(5, {0, 3, 5})),
              (Bytes{'E', 'E', 'G', '1', 'T', 'M',  0x00, 0xF1, 0x53, 0x65, 0, 0, 1,
                     0,   2,   0,   'T', 'M', 0x01, 0xF1, 0x53, 0x65, 3,    0, 4, 0}));
    EXPECT_EQ(Encoded(Numbered(2, {1})),  // sample 0 has no time
              (Bytes{'E', 'E', 'G', '1', 'T',  'M',  0,    0,    0, 0,
                     0,   0,   'T', 'M', 0x00, 0xF1, 0x53, 0x65, 1, 0}));
    EXPECT_EQ(Encoded(CReviewRecording()), (Bytes{'E', 'E', 'G', '1', 'T', 'M', 0, 0, 0, 0}));

    // Fewer than 45 samples make a file under 100 bytes that never opens again: refused, and
    // nothing is written. 45 samples save and open.
    std::string error;
    const std::string path = (m_dir / "small.dat").string();
    EXPECT_FALSE(SaveWaveFile(path, Numbered(44, {0}), error));
    EXPECT_NE(error.find("45"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(path));
    ASSERT_TRUE(SaveWaveFile(path, Numbered(45, {0}), error)) << error;
    EXPECT_EQ(LoadWaveFile(path, m_rec).m_result, ELoadResult::kLoaded);
    EXPECT_EQ(m_rec.SampleCount(), 45u);
}

TEST_F(ReviewFileTest, SaveThenLoadKeepsEverySegmentTimeAndTheCut) {
    std::vector<uint32_t> everySecond;
    for (uint32_t k = 0; k < 10; ++k) {
        everySecond.push_back(k * 200);
    }
    // The second one begins with 50 samples without a time, as a file whose stamp was 0.
    for (const std::vector<uint32_t>& starts : {everySecond, std::vector<uint32_t>{50, 200, 400}}) {
        CReviewRecording r = Numbered(2000, starts);
        r.CutSamples(450, 1030);
        std::string error;
        const std::string path = (m_dir / "trip.dat").string();
        ASSERT_TRUE(SaveWaveFile(path, r, error)) << error;
        ASSERT_EQ(LoadWaveFile(path, m_rec).m_result, ELoadResult::kLoaded);
        EXPECT_EQ(Samples(), std::vector<uint16_t>(r.Samples(), r.Samples() + r.SampleCount()));
        EXPECT_EQ(m_rec.SegmentStart(), r.SegmentStart());
        EXPECT_EQ(m_rec.SegmentTime(), r.SegmentTime());
    }
    EXPECT_EQ(m_rec.FormatSampleTime(49, nullptr), 0u);
    EXPECT_EQ(m_rec.FormatSampleTime(50, nullptr), kT);
    // The third segment restarts at the cut 3 whole seconds later (630 samples = 3.15 s); from
    // sample 1200, recorded at kT + 6 s, a marker keeps the recorded time through save and load.
    EXPECT_EQ(m_rec.Samples()[620], 1200);
    EXPECT_EQ(m_rec.FormatSampleTime(450, nullptr), kT + 5);
    EXPECT_EQ(m_rec.FormatSampleTime(620, nullptr), kT + 6);
    EXPECT_EQ(m_rec.FormatSampleTime(650, nullptr), kT + 6);
}

TEST_F(ReviewFileTest, AFailedSaveLeavesTheOldFileIntact) {
    const Bytes old = Header(kT) + Fill(90, 1);
    const std::string path = Write(old, "keep.dat");
    std::string error;
    // Files may grow to 4 KiB only: the 20000-byte save fails part-way.
    bool ok = true;
    {
        const CFileSizeLimit limit(4096);
        ok = SaveWaveFile(path, Numbered(10000, {0}), error);
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(error, "文件打开失败!");
    EXPECT_EQ(Read(path), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);

    EXPECT_FALSE(SaveWaveFile((m_dir / "no" / "such.dat").string(), Numbered(100, {0}), error));
    EXPECT_EQ(error, "文件打开失败!");
}

}  // namespace
}  // namespace somatrix
