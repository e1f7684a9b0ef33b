#include "review/edf_load.h"

#include <edflib.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <memory>
#include <new>
#include <optional>

#include "recording/edf_layout.h"
#include "review/pyramid_seed_builder.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace somatrix {

namespace {

constexpr int kChunk = 1 << 16;  // samples read per EDFlib call
// From about an hour of samples the pyramid's lowest levels are made beside the read.
constexpr size_t kSeedFromSamples = size_t{1} << 20;

int16_t LoadLe16(const uint8_t* p) {
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

// Maps `n` little-endian 16-bit values onto `out` as value - base (modulo 2^16) and returns the
// smallest value. Eight values a step where the processor allows it.
int MapRun(const uint8_t* in, int64_t n, uint16_t base, uint16_t* out) {
    int64_t j = 0;
    int smallest = std::numeric_limits<int16_t>::max();
#ifdef __SSE2__
    if (n >= 8) {
        const __m128i shift = _mm_set1_epi16(static_cast<int16_t>(base));
        __m128i low = _mm_set1_epi16(std::numeric_limits<int16_t>::max());
        for (; j + 8 <= n; j += 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 2 * j));
            low = _mm_min_epi16(low, v);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), _mm_sub_epi16(v, shift));
        }
        low = _mm_min_epi16(low, _mm_shuffle_epi32(low, 0x4E));
        low = _mm_min_epi16(low, _mm_shuffle_epi32(low, 0xB1));
        low = _mm_min_epi16(low, _mm_shufflelo_epi16(low, 0xB1));
        smallest = static_cast<int16_t>(_mm_extract_epi16(low, 0));
    }
#endif
    for (; j < n; ++j) {
        const int16_t v = LoadLe16(in + 2 * j);
        smallest = std::min<int>(smallest, v);
        out[j] = static_cast<uint16_t>(static_cast<uint16_t>(v) - base);
    }
    return smallest;
}

std::string Trimmed(const char* text) {
    std::string s(text);
    const size_t end = s.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

std::string ErrorText(int code) {
    switch (code) {
        case EDFLIB_MALLOC_ERROR:
            return "out of memory";
        case EDFLIB_NO_SUCH_FILE_OR_DIRECTORY:
            return "no such file";
        case EDFLIB_FILE_CONTAINS_FORMAT_ERRORS:
            return "the file contains format errors";
        case EDFLIB_MAXFILES_REACHED:
            return "too many files open";
        case EDFLIB_FILE_READ_ERROR:
            return "read error";
        case EDFLIB_FILE_ALREADY_OPENED:
            return "the file is already open";
        case EDFLIB_FILETYPE_ERROR:
            return "not an EDF file";
        case EDFLIB_FILE_IS_DISCONTINUOUS:
            return "discontinuous recordings (EDF+D) are not supported";
        default:
            return "EDFlib error " + std::to_string(code);
    }
}

struct CEdfCloser {
    int m_nHandle;
    ~CEdfCloser() {
        if (m_nHandle >= 0) {
            edfclose_file(m_nHandle);
        }
    }
};

// Turns one signal's digital values into display values: the digital minimum is "no data" (a
// gap, holding the value before it), the rest is shifted to start at 0 and, for 24-bit files,
// keeps its top 16 bits.
class CSampleMapper {
public:
    CSampleMapper(const edf_param_struct& p, CSourceSignal& signal) : m_signal(signal) {
        m_nDigMin = p.dig_min;
        m_nSpan = static_cast<long long>(p.dig_max) - p.dig_min;
        while ((m_nSpan >> m_nShift) > 0xFFFF) {
            ++m_nShift;
        }
        const double unit =
            m_nSpan > 0 ? (p.phys_max - p.phys_min) / static_cast<double>(m_nSpan) : 1.0;
        signal.m_fScale = unit * static_cast<double>(1 << m_nShift);
        signal.m_fOffset = p.phys_min + unit;
    }
    // `n` little-endian 16-bit values from `in`, for samples first, first + 1, ...
    void PutRun(uint32_t first, const uint8_t* in, int64_t n) {
        uint16_t* out = m_signal.m_samples.data() + first;
        const int digMin = static_cast<int>(m_nDigMin);
        // The common case, a run without "no data" values, in one branch-free pass.
        if (m_nShift == 0 && n > 0 &&
            MapRun(in, n, static_cast<uint16_t>(digMin + 1), out) > digMin) {
            m_bInGap = false;
            m_nHeld = out[n - 1];
            return;
        }
        for (int64_t j = 0; j < n; ++j) {
            Put(first + static_cast<uint32_t>(j), LoadLe16(in + 2 * j));
        }
    }
    void Put(uint32_t index, long long d) {
        if (d <= m_nDigMin) {
            if (!m_bInGap) {
                m_signal.m_gaps.push_back({index, index + 1});
                m_bInGap = true;
            } else {
                m_signal.m_gaps.back().m_nEnd = index + 1;
            }
            m_signal.m_samples[index] = m_nHeld;
            return;
        }
        m_bInGap = false;
        m_nHeld = static_cast<uint16_t>(std::min(d - m_nDigMin - 1, m_nSpan) >> m_nShift);
        m_signal.m_samples[index] = m_nHeld;
    }

private:
    CSourceSignal& m_signal;
    long long m_nDigMin = 0;
    long long m_nSpan = 0;
    int m_nShift = 0;
    uint16_t m_nHeld = 0;
    bool m_bInGap = false;
};

// The annotations of one annotation area: time-stamped lists "+onset[\x15duration]\x14text\x14
// ...\0"; the empty text of a record's time-keeping list is not an annotation. Onsets count from
// the file's start (`startFraction` is the part of a second the header's start leaves out).
void ParseTals(const uint8_t* area, size_t n, double startFraction, std::vector<CAnnotation>& out) {
    const auto* text = reinterpret_cast<const char*>(area);
    size_t i = 0;
    while (i < n && text[i] != 0) {
        const char* tal = text + i;
        const auto* nul = static_cast<const char*>(std::memchr(tal, 0, n - i));
        const size_t size = nul ? static_cast<size_t>(nul - tal) : n - i;
        i += size + 1;
        const auto* stamp = static_cast<const char*>(std::memchr(tal, '\x14', size));
        if (stamp == nullptr || (tal[0] != '+' && tal[0] != '-')) {
            continue;
        }
        const char* end = tal + size;
        // Most records hold only their time-keeping list, whose text is empty: its times are
        // read only when a text follows.
        bool timed = false;
        double onset = 0;
        double duration = -1.0;
        for (const char* from = stamp + 1; from < end;) {
            const auto* to = static_cast<const char*>(std::memchr(from, '\x14', end - from));
            if (to == nullptr) {
                to = end;
            }
            if (to > from) {
                if (!timed) {
                    timed = true;
                    // The times end at the stamp's 0x14 (or a 0x15), which no number contains.
                    onset = std::strtod(tal, nullptr);
                    const auto* mark =
                        static_cast<const char*>(std::memchr(tal, '\x15', stamp - tal));
                    if (mark != nullptr) {
                        duration = std::strtod(mark + 1, nullptr);
                    }
                }
                if (std::isfinite(onset)) {
                    out.push_back({onset - startFraction, std::isfinite(duration) ? duration : -1.0,
                                   std::string(from, to)});
                }
            }
            from = to + 1;
        }
    }
}

// Every signal through EDFlib's reader (any file EDFlib reads, 24-bit ones included).
bool ReadThroughEdflib(const edf_hdr_struct& hdr, std::vector<CSourceSignal>& signals) {
    std::unique_ptr<int[]> buffer(new (std::nothrow) int[kChunk]);
    if (!buffer) {
        return false;
    }
    for (int k = 0; k < hdr.edfsignals; ++k) {
        CSampleMapper mapper(hdr.signalparam[k], signals[static_cast<size_t>(k)]);
        const long long count = hdr.signalparam[k].smp_in_file;
        long long done = 0;
        while (done < count) {
            const int want = static_cast<int>(std::min<long long>(kChunk, count - done));
            const int got = edfread_digital_samples(hdr.handle, k, want, buffer.get());
            if (got <= 0) {
                break;
            }
            for (int i = 0; i < got; ++i) {
                mapper.Put(static_cast<uint32_t>(done + i), buffer[i]);
            }
            done += got;
        }
        signals[static_cast<size_t>(k)].m_samples.resize(static_cast<size_t>(done));
    }
    return true;
}

// 16-bit files whose layout EDFlib has checked: the data records read in large blocks and
// taken apart here, which is many times faster than a read per record and signal.
bool ReadRecords(const std::string& path, const edf_hdr_struct& hdr,
                 std::vector<CSourceSignal>& signals, std::vector<CAnnotation>& annotations) {
    const double startFraction =
        static_cast<double>(hdr.starttime_subsecond) / EDFLIB_TIME_DIMENSION;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    CEdfLayout layout;
    std::string error;
    if (!f || !ReadEdfLayout(f.get(), layout, error) ||
        layout.m_signals.size() != static_cast<size_t>(hdr.edfsignals)) {
        return false;
    }
    for (int k = 0; k < hdr.edfsignals; ++k) {
        if (layout.m_signals[static_cast<size_t>(k)].second !=
            hdr.signalparam[k].smp_in_datarecord) {
            return false;
        }
    }
    std::vector<CSampleMapper> mappers;
    for (int k = 0; k < hdr.edfsignals; ++k) {
        mappers.emplace_back(hdr.signalparam[k], signals[static_cast<size_t>(k)]);
    }
    // The first view of a long recording needs the extremes of every block of the shown signal:
    // a second thread makes them from the records already taken apart while the read goes on.
    std::optional<CPyramidSeedBuilder> seeder;
    const auto shownPerRecord =
        static_cast<size_t>(layout.m_signals.empty() ? 0 : layout.m_signals[0].second);
    if (std::endian::native == std::endian::little && !signals.empty() &&
        signals[0].m_samples.size() >= kSeedFromSamples) {
        seeder.emplace(signals[0].m_samples.data(), signals[0].m_samples.size());
    }
    const auto recordBytes = static_cast<size_t>(layout.m_nRecordBytes);
    const long long records = hdr.datarecords_in_file;
    const auto takeApart = [&](const uint8_t* record, long long r) {
        for (size_t k = 0; k < mappers.size(); ++k) {
            const auto [offset, samples] = layout.m_signals[k];
            mappers[k].PutRun(static_cast<uint32_t>(r * samples), record + offset, samples);
        }
        for (const auto& [offset, bytes] : layout.m_annotationAreas) {
            ParseTals(record + offset, static_cast<size_t>(bytes), startFraction, annotations);
        }
    };
    // A block that stays in the processor's cache between the read and the conversion, left
    // uninitialised (the read fills it).
    const size_t perBlock = std::max<size_t>(1, (size_t{1} << 20) / recordBytes);
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[perBlock * recordBytes]);
    if (!block) {
        return false;
    }
    if (std::fseek(f.get(), static_cast<long>(layout.m_nHeaderBytes), SEEK_SET) != 0) {
        return false;
    }
    for (long long r = 0; r < records;) {
        const auto want = static_cast<size_t>(std::min<long long>(perBlock, records - r));
        if (std::fread(block.get(), recordBytes, want, f.get()) != want) {
            return false;
        }
        for (size_t j = 0; j < want; ++j, ++r) {
            takeApart(block.get() + j * recordBytes, r);
        }
        if (seeder) {
            seeder->Publish(static_cast<size_t>(r) * shownPerRecord);
        }
    }
    if (seeder) {
        signals[0].m_seed = seeder->Finish(signals[0].m_samples.size());
    }
    return true;
}

}  // namespace

bool IsEdfPath(const std::string& path) {
    if (path.size() < 4) {
        return false;
    }
    std::string ext = path.substr(path.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".edf";
}

CEdfLoadOutcome LoadEdfFile(const std::string& path, CReviewSource& source) {
    source.Clear();
    CEdfLoadOutcome outcome;
    auto hdr = std::make_unique<edf_hdr_struct>();
    // EDFlib checks the header; the data records (and the annotations in them) are read here in
    // one pass, which a 24-hour file needs to open quickly.
    const int result =
        edfopen_file_readonly(path.c_str(), hdr.get(), EDFLIB_DO_NOT_READ_ANNOTATIONS);
    if (result < 0) {
        outcome.m_nEdfError = hdr->filetype < 0 ? hdr->filetype : result;
        outcome.m_strError = ErrorText(outcome.m_nEdfError);
        return outcome;
    }
    CEdfCloser closer{hdr->handle};
    const double recordSeconds =
        static_cast<double>(hdr->datarecord_duration) / EDFLIB_TIME_DIMENSION;
    std::vector<CSourceSignal> signals(static_cast<size_t>(hdr->edfsignals));
    for (int k = 0; k < hdr->edfsignals; ++k) {
        const edf_param_struct& p = hdr->signalparam[k];
        if (p.smp_in_file > 0xFFFFFFFFLL || p.dig_max <= p.dig_min) {
            outcome.m_strError = "signal " + std::to_string(k) + " cannot be shown";
            return outcome;
        }
        CSourceSignal& signal = signals[static_cast<size_t>(k)];
        signal.m_strLabel = Trimmed(p.label);
        signal.m_strUnit = Trimmed(p.physdimension);
        const double rate = recordSeconds > 0 ? p.smp_in_datarecord / recordSeconds : 0;
        signal.m_nRate = static_cast<uint32_t>(std::max(1.0, rate + 0.5));
        try {
            signal.m_samples.resize(static_cast<size_t>(p.smp_in_file));
        } catch (const std::bad_alloc&) {
            outcome.m_nEdfError = EDFLIB_MALLOC_ERROR;
            outcome.m_strError = ErrorText(EDFLIB_MALLOC_ERROR);
            return outcome;
        }
    }
    const bool sixteenBit =
        hdr->filetype == EDFLIB_FILETYPE_EDF || hdr->filetype == EDFLIB_FILETYPE_EDFPLUS;
    std::vector<CAnnotation> annotations;
    if (!(sixteenBit && ReadRecords(path, *hdr, signals, annotations))) {
        // Any other file EDFlib reads: its reader and its annotations.
        annotations.clear();
        edfclose_file(hdr->handle);
        closer.m_nHandle = -1;
        if (edfopen_file_readonly(path.c_str(), hdr.get(), EDFLIB_READ_ALL_ANNOTATIONS) < 0) {
            outcome.m_nEdfError = hdr->filetype < 0 ? hdr->filetype : EDFLIB_FILE_READ_ERROR;
            outcome.m_strError = ErrorText(outcome.m_nEdfError);
            return outcome;
        }
        closer.m_nHandle = hdr->handle;
        for (CSourceSignal& signal : signals) {
            signal.m_gaps.clear();
        }
        if (!ReadThroughEdflib(*hdr, signals)) {
            outcome.m_nEdfError = EDFLIB_MALLOC_ERROR;
            outcome.m_strError = ErrorText(EDFLIB_MALLOC_ERROR);
            return outcome;
        }
        for (long long n = 0; n < hdr->annotations_in_file; ++n) {
            edf_annotation_struct a{};
            if (edf_get_annotation(hdr->handle, static_cast<int>(n), &a) != 0) {
                break;
            }
            a.annotation[EDFLIB_MAX_ANNOTATION_LEN] = '\0';
            annotations.push_back({static_cast<double>(a.onset) / EDFLIB_TIME_DIMENSION,
                                   a.duration_l < 0
                                       ? -1.0
                                       : static_cast<double>(a.duration_l) / EDFLIB_TIME_DIMENSION,
                                   a.annotation});
        }
    }
    std::tm start{};
    start.tm_year = hdr->startdate_year - 1900;
    start.tm_mon = hdr->startdate_month - 1;
    start.tm_mday = hdr->startdate_day;
    start.tm_hour = hdr->starttime_hour;
    start.tm_min = hdr->starttime_minute;
    start.tm_sec = hdr->starttime_second;
    start.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&start);
    source.SetEdf(std::move(signals), seconds < 0 ? 0 : static_cast<int64_t>(seconds),
                  static_cast<double>(hdr->starttime_subsecond) / EDFLIB_TIME_DIMENSION,
                  std::move(annotations));
    outcome.m_bLoaded = true;
    return outcome;
}

}  // namespace somatrix
