#include "review/edf_load.h"

#include <edflib.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <memory>
#include <new>

namespace somatrix {

namespace {

constexpr int kChunk = 1 << 16;  // samples read per EDFlib call

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

// Reads signal `k` into display values. False when the memory runs out.
bool ReadSignal(int handle, int k, const edf_param_struct& p, CSourceSignal& signal) {
    const long long count = p.smp_in_file;
    const long long digMin = p.dig_min;
    const long long span = static_cast<long long>(p.dig_max) - p.dig_min;  // values above "no data"
    int shift = 0;
    while ((span >> shift) > 0xFFFF) {
        ++shift;  // 24-bit files keep their top 16 bits
    }
    const double unit = span > 0 ? (p.phys_max - p.phys_min) / static_cast<double>(span) : 1.0;
    signal.m_fScale = unit * static_cast<double>(1 << shift);
    signal.m_fOffset = p.phys_min + unit;
    try {
        signal.m_samples.resize(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::unique_ptr<int[]> buffer(new (std::nothrow) int[kChunk]);
    if (!buffer) {
        return false;
    }
    uint16_t* out = signal.m_samples.data();
    uint16_t held = 0;
    bool inGap = false;
    long long done = 0;
    while (done < count) {
        const int want = static_cast<int>(std::min<long long>(kChunk, count - done));
        const int got = edfread_digital_samples(handle, k, want, buffer.get());
        if (got <= 0) {
            break;
        }
        for (int i = 0; i < got; ++i) {
            const long long d = buffer[i];
            const auto index = static_cast<uint32_t>(done + i);
            if (d <= digMin) {
                if (!inGap) {
                    signal.m_gaps.push_back({index, index + 1});
                    inGap = true;
                } else {
                    signal.m_gaps.back().m_nEnd = index + 1;
                }
                out[index] = held;
                continue;
            }
            inGap = false;
            held = static_cast<uint16_t>(std::min<long long>(d - digMin - 1, span) >> shift);
            out[index] = held;
        }
        done += got;
    }
    signal.m_samples.resize(static_cast<size_t>(done));
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
    const int result = edfopen_file_readonly(path.c_str(), hdr.get(), EDFLIB_READ_ALL_ANNOTATIONS);
    if (result < 0) {
        outcome.m_nEdfError = hdr->filetype < 0 ? hdr->filetype : result;
        outcome.m_strError = ErrorText(outcome.m_nEdfError);
        return outcome;
    }
    const CEdfCloser closer{hdr->handle};
    const double recordSeconds =
        static_cast<double>(hdr->datarecord_duration) / EDFLIB_TIME_DIMENSION;
    std::vector<CSourceSignal> signals;
    for (int k = 0; k < hdr->edfsignals; ++k) {
        const edf_param_struct& p = hdr->signalparam[k];
        if (p.smp_in_file > 0xFFFFFFFFLL || p.dig_max <= p.dig_min) {
            outcome.m_strError = "signal " + std::to_string(k) + " cannot be shown";
            return outcome;
        }
        CSourceSignal signal;
        signal.m_strLabel = Trimmed(p.label);
        signal.m_strUnit = Trimmed(p.physdimension);
        const double rate = recordSeconds > 0 ? p.smp_in_datarecord / recordSeconds : 0;
        signal.m_nRate = static_cast<uint32_t>(std::max(1.0, rate + 0.5));
        if (!ReadSignal(hdr->handle, k, p, signal)) {
            outcome.m_nEdfError = EDFLIB_MALLOC_ERROR;
            outcome.m_strError = ErrorText(EDFLIB_MALLOC_ERROR);
            return outcome;
        }
        signals.push_back(std::move(signal));
    }
    std::vector<CAnnotation> annotations;
    for (long long n = 0; n < hdr->annotations_in_file; ++n) {
        edf_annotation_struct a{};
        if (edf_get_annotation(hdr->handle, static_cast<int>(n), &a) != 0) {
            break;
        }
        CAnnotation annotation;
        annotation.m_fOnset = static_cast<double>(a.onset) / EDFLIB_TIME_DIMENSION;
        annotation.m_fDuration =
            a.duration_l < 0 ? -1.0 : static_cast<double>(a.duration_l) / EDFLIB_TIME_DIMENSION;
        a.annotation[EDFLIB_MAX_ANNOTATION_LEN] = '\0';
        annotation.m_strText = a.annotation;
        annotations.push_back(std::move(annotation));
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
