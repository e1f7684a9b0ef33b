#include "recording/annotation_journal.h"

#include <cmath>
#include <cstdlib>
#include <fstream>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace somatrix {

namespace {

constexpr char kFirstLine[] = "somatrix annotation journal 1\n";

std::string Escape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char c = text[++i];
            out += c == 'n' ? '\n' : (c == 'r' ? '\r' : c);
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

CAnnotationJournal::~CAnnotationJournal() {
    Close(false);
}

bool CAnnotationJournal::Open(const std::string& path) {
    Close(false);
    m_pFile = std::fopen(path.c_str(), "wb");
    if (m_pFile == nullptr) {
        return false;
    }
    m_strPath = path;
    return std::fputs(kFirstLine, m_pFile) >= 0 && std::fflush(m_pFile) == 0;
}

bool CAnnotationJournal::Append(const CAnnotation& a) {
    if (m_pFile == nullptr) {
        return false;
    }
    // Onset and duration in 100-microsecond ticks, the resolution the file keeps; the line ends
    // with "$" so that a line cut short is recognised.
    const long long onset = std::llround(a.m_fOnset * 10000.0);
    const long long duration = a.m_fDuration < 0 ? -1 : std::llround(a.m_fDuration * 10000.0);
    const std::string line = "A " + std::to_string(onset) + " " + std::to_string(duration) + " " +
                             Escape(a.m_strText) + "$\n";
    const bool ok = std::fwrite(line.data(), 1, line.size(), m_pFile) == line.size() &&
                    std::fflush(m_pFile) == 0;
#ifndef _WIN32
    if (ok) {
        ::fdatasync(fileno(m_pFile));  // an annotation is rare: survive power loss too
    }
#endif
    return ok;
}

void CAnnotationJournal::Close(bool remove) {
    if (m_pFile != nullptr) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
        if (remove) {
            std::remove(m_strPath.c_str());
        }
    }
}

std::vector<CAnnotation> CAnnotationJournal::Read(const std::string& path) {
    std::vector<CAnnotation> out;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() < 4 || line.compare(0, 2, "A ") != 0 || line.back() != '$') {
            continue;
        }
        line.pop_back();
        char* end = nullptr;
        const long long onset = std::strtoll(line.c_str() + 2, &end, 10);
        if (end == nullptr || *end != ' ') {
            continue;
        }
        const long long duration = std::strtoll(end + 1, &end, 10);
        if (end == nullptr || *end != ' ') {
            continue;
        }
        CAnnotation a;
        a.m_fOnset = static_cast<double>(onset) / 10000.0;
        a.m_fDuration = duration < 0 ? -1.0 : static_cast<double>(duration) / 10000.0;
        a.m_strText = Unescape(std::string(end + 1));
        out.push_back(std::move(a));
    }
    return out;
}

}  // namespace somatrix
