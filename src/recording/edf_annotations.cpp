#include "recording/edf_annotations.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "recording/edf_layout.h"

namespace somatrix {

namespace {

struct CFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Seconds with up to four decimals (EDF+ keeps 100-microsecond onsets), no trailing zeros.
std::string FormatSeconds(double seconds) {
    const long long ticks = std::llround(std::fabs(seconds) * 10000.0);
    std::string text = std::to_string(ticks / 10000);
    if (ticks % 10000 != 0) {
        char fraction[8];
        std::snprintf(fraction, sizeof fraction, ".%04lld", ticks % 10000);
        std::string f = fraction;
        while (f.back() == '0') {
            f.pop_back();
        }
        text += f;
    }
    return (seconds < 0 && ticks != 0 ? "-" : "+") + text;
}

// The text with the bytes that delimit annotation lists replaced by spaces.
std::string CleanText(const std::string& text) {
    std::string clean = text;
    for (char& c : clean) {
        if (c == '\x14' || c == '\x15' || c == '\0') {
            c = ' ';
        }
    }
    return clean;
}

// Shortens UTF-8 text to at most `bytes` bytes without splitting a character.
std::string ShortenUtf8(const std::string& text, size_t bytes) {
    if (text.size() <= bytes) {
        return text;
    }
    size_t n = bytes;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) {
        --n;
    }
    return text.substr(0, n);
}

// Bytes in use at the start of an annotation area: up to and including the zero that ends its
// last annotation list.
size_t UsedBytes(const std::string& area) {
    const size_t last = area.find_last_not_of('\0');
    return last == std::string::npos ? 0 : std::min(area.size(), last + 2);
}

}  // namespace

std::string FormatTal(const CAnnotation& a) {
    std::string tal = FormatSeconds(a.m_fOnset);
    if (a.m_fDuration >= 0) {
        tal += '\x15' + FormatSeconds(a.m_fDuration).substr(1);
    }
    tal += '\x14' + CleanText(a.m_strText) + '\x14';
    tal.push_back('\0');
    return tal;
}

int AnnotationSignalsFor(size_t annotations, long long records) {
    if (records <= 0) {
        return 1;
    }
    // One annotation signal holds about one annotation a record, and annotations that share a
    // record move on to the next ones with room. A second signal only when they outnumber the
    // records (some readers, biosig's among them, fail on files with two).
    const long long needed = static_cast<long long>(annotations) < records
                                 ? 1
                                 : 1 + static_cast<long long>(annotations) / records;
    return static_cast<int>(std::clamp<long long>(needed, 1, 64));
}

bool PlaceAnnotations(const std::string& path, const std::vector<CAnnotation>& annotations,
                      std::string& error) {
    if (annotations.empty()) {
        return true;
    }
    std::unique_ptr<std::FILE, CFileCloser> f(std::fopen(path.c_str(), "r+b"));
    if (!f) {
        error = "cannot open " + path;
        return false;
    }
    CEdfLayout layout;
    if (!ReadEdfLayout(f.get(), layout, error)) {
        return false;
    }
    if (layout.m_annotationAreas.empty()) {
        error = "the file has no annotation signal";
        return false;
    }
    std::fseek(f.get(), 0, SEEK_END);
    const long long size = std::ftell(f.get());
    const long long records = (size - layout.m_nHeaderBytes) / layout.m_nRecordBytes;
    if (records <= 0) {
        error = "the file has no data record";
        return false;
    }
    // Onsets in the file count from the header's whole start second; the first record's
    // time-keeping note carries the fraction of a second at which the recording starts.
    double startFraction = 0.0;
    {
        std::string first(static_cast<size_t>(layout.m_annotationAreas.front().second), '\0');
        if (std::fseek(f.get(), layout.m_nHeaderBytes + layout.m_annotationAreas.front().first,
                       SEEK_SET) == 0 &&
            std::fread(first.data(), 1, first.size(), f.get()) == first.size()) {
            const size_t end = first.find('\x14');
            if (end != std::string::npos) {
                startFraction = std::strtod(first.substr(0, end).c_str(), nullptr);
                startFraction = std::isfinite(startFraction) ? startFraction : 0.0;
            }
        }
    }
    std::vector<CAnnotation> sorted = annotations;
    for (CAnnotation& a : sorted) {
        a.m_fOnset += startFraction;
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const CAnnotation& a, const CAnnotation& b) {
        return a.m_fOnset < b.m_fOnset;
    });
    size_t largest = 0;
    for (const auto& [offset, bytes] : layout.m_annotationAreas) {
        largest = std::max(largest, static_cast<size_t>(bytes));
    }
    bool allPlaced = true;
    std::string area;
    for (const CAnnotation& annotation : sorted) {
        std::string tal = FormatTal(annotation);
        // Room for the time-keeping note of a record (at most "+9999999\x14\x14\0").
        const size_t room = largest > 16 ? largest - 16 : 0;
        if (tal.size() > room) {
            CAnnotation shorter = annotation;
            const size_t over = tal.size() - room;
            shorter.m_strText = ShortenUtf8(
                CleanText(annotation.m_strText),
                annotation.m_strText.size() > over ? annotation.m_strText.size() - over : 0);
            tal = FormatTal(shorter);
        }
        const long long first = std::clamp<long long>(
            static_cast<long long>(std::floor(annotation.m_fOnset)), 0, records - 1);
        bool placed = false;
        for (long long r = first; r < records + first && !placed; ++r) {
            const long long record = r % records;
            for (const auto& [offset, bytes] : layout.m_annotationAreas) {
                const long long at =
                    layout.m_nHeaderBytes + record * layout.m_nRecordBytes + offset;
                area.assign(static_cast<size_t>(bytes), '\0');
                if (std::fseek(f.get(), at, SEEK_SET) != 0 ||
                    std::fread(area.data(), 1, area.size(), f.get()) != area.size()) {
                    error = "cannot read " + path;
                    return false;
                }
                if (area.find(tal) != std::string::npos) {
                    placed = true;  // written by a close that did not finish
                    break;
                }
                const size_t used = UsedBytes(area);
                if (used + tal.size() <= area.size()) {
                    if (std::fseek(f.get(), at + static_cast<long long>(used), SEEK_SET) != 0 ||
                        std::fwrite(tal.data(), 1, tal.size(), f.get()) != tal.size()) {
                        error = "cannot write " + path;
                        return false;
                    }
                    placed = true;
                    break;
                }
            }
        }
        allPlaced = allPlaced && placed;
    }
    if (std::fflush(f.get()) != 0) {
        error = "cannot write " + path;
        return false;
    }
    if (!allPlaced) {
        error = "no room for every annotation";
    }
    return allPlaced;
}

}  // namespace somatrix
