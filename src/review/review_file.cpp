#include "review/review_file.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <optional>
#include <random>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "protocol/system_error_text.h"
#include "review/pyramid_seed_builder.h"

namespace somatrix {
namespace {

namespace fs = std::filesystem;

constexpr size_t kMinFileSize = 100;
constexpr size_t kHeaderSize = 10;  // "EEG1TM" or "EEG2TM" and the first time stamp
constexpr uint64_t kMaxFileSize = uint64_t{1} << 32;
constexpr uint8_t kMarker0 = 0x54;  // 'T'
constexpr uint8_t kMarker1 = 0x4D;  // 'M'
constexpr size_t kMarkerSize = 6;
constexpr size_t kReadChunk = size_t{256} << 10;
// From about an hour and a half of samples the pyramid's levels are made beside the read.
constexpr size_t kSeedFromSamples = size_t{1} << 20;
constexpr char kWriteFailed[] = "文件打开失败!";

uint32_t ReadLe32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

struct CFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using CFilePtr = std::unique_ptr<std::FILE, CFileCloser>;

std::string CauseText(int error) {
    return SystemErrorText(error);
}

// The first position p in [pos, limit) where the bytes are "TM", or limit. Bytes up to limit
// (inclusive) must be readable. Sixteen positions a step where the processor allows it: sample
// bytes of 'T' are common, markers are not.
size_t FindMarker(const uint8_t* data, size_t pos, size_t limit) {
#ifdef __SSE2__
    const __m128i t = _mm_set1_epi8(static_cast<char>(kMarker0));
    const __m128i m = _mm_set1_epi8(static_cast<char>(kMarker1));
    // Four blocks a step with one branch; the common case is no marker in 64 bytes.
    auto pairs = [&](size_t at) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + 1));
        return _mm_and_si128(_mm_cmpeq_epi8(first, t), _mm_cmpeq_epi8(second, m));
    };
    for (; pos + 64 <= limit; pos += 64) {
        const __m128i any = _mm_or_si128(_mm_or_si128(pairs(pos), pairs(pos + 16)),
                                         _mm_or_si128(pairs(pos + 32), pairs(pos + 48)));
        if (_mm_movemask_epi8(any) != 0) {
            break;
        }
    }
    for (; pos + 16 <= limit; pos += 16) {
        const int hits = _mm_movemask_epi8(pairs(pos));
        if (hits != 0) {
            return pos + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
        }
    }
#endif
    for (; pos < limit; ++pos) {
        if (data[pos] == kMarker0 && data[pos + 1] == kMarker1) {
            return pos;
        }
    }
    return limit;
}

// Finds the markers in the file's data (after its first time stamp) exactly as the byte-wise
// scan does, every offset tested, and packs each segment's whole samples down in place over the
// markers and odd bytes. The data is read straight into the sample array and scanned chunk by
// chunk as it arrives, so that the packing touches bytes still in the cache.
class CSegmentScan {
public:
    CSegmentScan(uint8_t* data, size_t length, uint32_t firstTime, CReviewRecording& recording)
        : m_pData(data), m_nLength(length), m_nTime(firstTime), m_recording(recording) {}

    // Tests every position whose marker bytes lie in the first `available` bytes. A marker is
    // tested at position i while i + 6 < length, so one whose six bytes end at the end of the
    // file is never found and stays data.
    void ScanUpTo(size_t available) {
        const size_t limit = available > kMarkerSize ? available - kMarkerSize : 0;
        while (m_nPos < limit) {
            m_nPos = FindMarker(m_pData, m_nPos, limit);
            if (m_nPos == limit) {
                break;
            }
            TakeSegment(m_nPos);
            m_nTime = ReadLe32(m_pData + m_nPos + 2);
            m_nPos += kMarkerSize;
            m_nSegmentOffset = m_nPos;
        }
    }
    // Bytes of whole samples packed into their final place so far.
    size_t Written() const { return m_nWritten; }
    // Ends the last segment; returns the number of samples kept.
    uint32_t Finish() {
        TakeSegment(m_nLength);
        return static_cast<uint32_t>(m_nWritten / 2);
    }

private:
    void TakeSegment(size_t segmentEnd) {
        m_recording.AddSegment(static_cast<uint32_t>(m_nWritten / 2), m_nTime);
        const size_t bytes = (segmentEnd - m_nSegmentOffset) & ~size_t{1};
        if (m_nWritten != m_nSegmentOffset && bytes != 0) {
            std::memmove(m_pData + m_nWritten, m_pData + m_nSegmentOffset, bytes);
        }
        m_nWritten += bytes;
    }

    uint8_t* m_pData;
    size_t m_nLength;
    uint32_t m_nTime;
    CReviewRecording& m_recording;
    size_t m_nPos = 0;            // next position to test
    size_t m_nSegmentOffset = 0;  // first byte of the current segment's data
    size_t m_nWritten = 0;        // bytes of whole samples packed so far
};

}  // namespace

CLoadOutcome LoadWaveFile(const std::string& path, CReviewRecording& recording) {
    recording.Clear();
    CLoadOutcome outcome;
    CFilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        outcome.m_result = ELoadResult::kUnreadable;
        outcome.m_strError = "无法打开文件 " + path + "：" + CauseText(errno);
        return outcome;
    }
    std::error_code error;
    const uint64_t length = fs::file_size(path, error);
    if (error) {
        outcome.m_result = ELoadResult::kUnreadable;
        outcome.m_strError = "无法读取文件 " + path + "：" + CauseText(error.value());
        return outcome;
    }
    if (length >= kMaxFileSize) {
        outcome.m_result = ELoadResult::kTooLarge;
        outcome.m_strError =
            "文件 " + path + " 太大（4 GB 或以上），回放文件必须小于 4 GB，无法打开";
        return outcome;
    }
    if (length < kMinFileSize) {
        return outcome;  // not a review file: ignored without a message
    }
    uint8_t header[kHeaderSize];
    if (std::fread(header, 1, kHeaderSize, file.get()) != kHeaderSize) {
        outcome.m_result = ELoadResult::kUnreadable;
        outcome.m_strError = "无法读取文件 " + path;
        return outcome;
    }
    if (std::memcmp(header, "EEG1TM", 6) != 0 && std::memcmp(header, "EEG2TM", 6) != 0) {
        return outcome;
    }

    const size_t dataLength = static_cast<size_t>(length) - kHeaderSize;
    CSampleArray samples;
    try {
        samples.resize((dataLength + 1) / 2);
    } catch (const std::bad_alloc&) {
        return outcome;  // no memory for the data: stop without a message
    }
    // Recordings carry a marker every second or fewer: room for that many saves the table's
    // regrowth, which would otherwise cost a tenth of the load.
    recording.ReserveSegments(dataLength / (2 * CReviewRecording::kSampleRate) + 2);
    uint8_t* data = reinterpret_cast<uint8_t*>(samples.data());
    CSegmentScan scan(data, dataLength, ReadLe32(header + 6), recording);
    // A long recording's first view needs the extremes of every block of samples: a second
    // thread makes them from the samples already in place while the read goes on.
    std::optional<CPyramidSeedBuilder> seeder;
    if (std::endian::native == std::endian::little && samples.size() >= kSeedFromSamples) {
        seeder.emplace(samples.data(), samples.size());
    }
    for (size_t done = 0; done < dataLength;) {
        const size_t want = std::min(kReadChunk, dataLength - done);
        if (std::fread(data + done, 1, want, file.get()) != want) {
            recording.Clear();
            outcome.m_result = ELoadResult::kUnreadable;
            outcome.m_strError = "无法读取文件 " + path + "：" +
                                 (std::ferror(file.get()) ? CauseText(errno) : "文件在读取时变短");
            return outcome;
        }
        done += want;
        scan.ScanUpTo(done);
        if (seeder) {
            seeder->Publish(scan.Written() / 2);
        }
    }
    file.reset();

    const uint32_t count = scan.Finish();
    recording.TrimSegments();
    CPyramidSeed seed = seeder ? seeder->Finish(count) : CPyramidSeed{};
    samples.resize(count);
    if constexpr (std::endian::native == std::endian::big) {
        for (uint16_t& v : samples) {
            v = static_cast<uint16_t>((v >> 8) | (v << 8));
        }
    }
    recording.AdoptSamples(std::move(samples));
    recording.SetPyramidSeed(std::move(seed));
    outcome.m_result = ELoadResult::kLoaded;
    return outcome;
}

// Writes the file's bytes: the header with the first segment's time, then every segment, each
// after the first behind a "TM" marker with its time. Samples before the first segment (a file
// whose first time stamp was 0) keep a header time of 0, so they stay without a time.
bool EncodeWaveFile(const CReviewRecording& recording, const CByteWriter& write) {
    const uint16_t* samples = recording.Samples();
    const uint32_t count = recording.SampleCount();
    const std::vector<uint32_t>& starts = recording.SegmentStart();
    const std::vector<uint32_t>& times = recording.SegmentTime();
    const bool headerTimed = !starts.empty() && starts.front() == 0;

    auto writeStamped = [&](const char* tag, uint32_t time) {
        const uint8_t bytes[6] = {
            static_cast<uint8_t>(tag[0]),     static_cast<uint8_t>(tag[1]),
            static_cast<uint8_t>(time),       static_cast<uint8_t>(time >> 8),
            static_cast<uint8_t>(time >> 16), static_cast<uint8_t>(time >> 24)};
        return write(bytes, 6);
    };
    auto writeSamples = [&](uint32_t from, uint32_t to) {
        if constexpr (std::endian::native == std::endian::little) {
            return from == to || write(samples + from, size_t{2} * (to - from));
        } else {
            uint8_t chunk[8192];
            while (from < to) {
                const uint32_t n = std::min<uint32_t>(to - from, sizeof chunk / 2);
                for (uint32_t j = 0; j < n; ++j) {
                    chunk[2 * j] = static_cast<uint8_t>(samples[from + j]);
                    chunk[2 * j + 1] = static_cast<uint8_t>(samples[from + j] >> 8);
                }
                if (!write(chunk, size_t{2} * n)) {
                    return false;
                }
                from += n;
            }
            return true;
        }
    };

    if (!write("EEG1", 4) || !writeStamped("TM", headerTimed ? times[0] : 0)) {
        return false;
    }
    uint32_t written = 0;
    for (size_t k = 0; k < starts.size(); ++k) {
        const uint32_t from = std::min(starts[k], count);
        if (!writeSamples(written, std::max(from, written))) {
            return false;
        }
        written = std::max(from, written);
        // A marker at the very end of the file would be read back as samples: a trailing
        // segment without samples is left out.
        if (from >= count) {
            break;
        }
        if ((k > 0 || !headerTimed) && !writeStamped("TM", times[k])) {
            return false;
        }
    }
    return writeSamples(written, count);
}

bool IsSavable(const CReviewRecording& recording, std::string& error) {
    if (recording.SampleCount() >= kMinReviewSamples) {
        return true;
    }
    error = "波形只剩 " + std::to_string(recording.SampleCount()) + " 个采样点，少于 " +
            std::to_string(kMinReviewSamples) + " 个的文件以后无法打开，所以没有保存";
    return false;
}

bool SaveWaveFile(const std::string& path, const CReviewRecording& recording, std::string& error) {
    error.clear();
    if (!IsSavable(recording, error)) {
        return false;
    }
    // Replace the file a link points to, not the link.
    std::error_code ec;
    fs::path target = fs::path(path);
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) {
            target = resolved;
        }
    }
    std::random_device seed;
    std::string temp;
    CFilePtr file;
    for (int attempt = 0; attempt < 16 && !file; ++attempt) {
        temp = target.string() + ".tmp" + std::to_string(seed() % 1000000);
        file.reset(std::fopen(temp.c_str(), "wbx"));
        if (!file && errno != EEXIST) {
            break;
        }
    }
    if (!file) {
        error = kWriteFailed;
        return false;
    }
    std::FILE* out = file.get();
    const auto write = [out](const void* bytes, size_t n) {
        return std::fwrite(bytes, 1, n, out) == n;
    };
    bool ok = EncodeWaveFile(recording, write) && std::fflush(out) == 0;
#ifndef _WIN32
    ok = ok && ::fsync(fileno(file.get())) == 0;
#endif
    ok = std::fclose(file.release()) == 0 && ok;
    if (ok) {
        // The new file keeps the permissions of the one it replaces.
        const fs::file_status old = fs::status(target, ec);
        if (!ec && fs::exists(old)) {
            fs::permissions(temp, old.permissions(), ec);
        }
        fs::rename(temp, target, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(temp, ec);
        error = kWriteFailed;
    }
    return ok;
}

}  // namespace somatrix
