#include "recording/edf_layout.h"

#include <cstdlib>
#include <cstring>

namespace somatrix {

namespace {

// An ASCII integer field of `n` bytes; false when it holds anything else.
bool ParseField(const char* p, size_t n, int64_t& value) {
    std::string text(p, n);
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return false;
    }
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (end == nullptr || *end != '\0') {
        return false;
    }
    value = v;
    return true;
}

}  // namespace

bool ReadEdfLayout(std::FILE* f, CEdfLayout& layout, std::string& error) {
    layout = {};
    char head[256];
    if (std::fseek(f, 0, SEEK_SET) != 0 || std::fread(head, 1, sizeof head, f) != sizeof head) {
        error = "header too short";
        return false;
    }
    int64_t headerBytes = 0;
    int64_t signals = 0;
    int64_t records = 0;
    if (head[0] != '0' || !ParseField(head + 184, 8, headerBytes) ||
        !ParseField(head + 252, 4, signals) || signals < 1 || signals > 4096 ||
        headerBytes != 256 * (signals + 1)) {
        error = "not an EDF header";
        return false;
    }
    if (!ParseField(head + 236, 8, records)) {
        records = -1;
    }
    std::vector<char> fields(static_cast<size_t>(256 * signals));
    if (std::fread(fields.data(), 1, fields.size(), f) != fields.size()) {
        error = "signal headers cut short";
        return false;
    }
    const auto ns = static_cast<size_t>(signals);
    int64_t offset = 0;
    for (size_t k = 0; k < ns; ++k) {
        int64_t samples = 0;
        // Samples per record follow 16 + 80 + 8 + 4 * 8 + 80 bytes of fields per signal.
        const char* field = fields.data() + ns * 216 + k * 8;
        if (!ParseField(field, 8, samples) || samples < 1 || samples > (int64_t{1} << 24)) {
            error = "bad samples per record";
            return false;
        }
        if (std::memcmp(fields.data() + k * 16, "EDF Annotations ", 16) == 0) {
            layout.m_annotationAreas.emplace_back(offset, 2 * samples);
        } else {
            layout.m_signals.emplace_back(offset, samples);
        }
        offset += 2 * samples;
    }
    layout.m_nHeaderBytes = headerBytes;
    layout.m_nRecordBytes = offset;
    layout.m_nRecordsInHeader = records;
    return true;
}

}  // namespace somatrix
