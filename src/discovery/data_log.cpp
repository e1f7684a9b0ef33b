#include "discovery/data_log.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "protocol/system_error_text.h"

namespace somatrix {

std::string CDataLog::FileName(const std::string& folder, ELogMode mode, const std::tm& t) {
    char name[40];
    std::snprintf(name, sizeof name, "%04d%02d%02d%02d%02d%02d.%s", t.tm_year + 1900,
                  t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
                  mode == kLogParsed ? "csv" : "txt");
    return (std::filesystem::path(folder) / name).string();
}

bool CDataLog::Start(ELogMode mode, const std::string& folder, const std::tm& local) {
    m_nMode = mode;
    if (m_pFile) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
    }
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return StartFile(mode, FileName(folder, mode, local));
}

bool CDataLog::StartFile(ELogMode mode, const std::string& path) {
    m_nMode = mode;
    m_bPaused = false;
    if (m_pFile) {
        std::fclose(m_pFile);
    }
    m_strPath = path;
    m_nFlushes = 0;
    m_pFile = std::fopen(path.c_str(), "a");
    m_strError = m_pFile ? std::string() : SystemErrorText(errno);
    return m_pFile != nullptr;
}

void CDataLog::Stop() {
    m_bPaused = false;
    if (m_pFile) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
    }
    m_nMode = kLogNone;
}

void CDataLog::Flush() {
    if (m_pFile) {
        std::fflush(m_pFile);
        ++m_nFlushes;
    }
}

void CDataLog::WriteRawLine(const uint8_t* data, size_t n) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    char line[3 * 256 + 1];
    size_t used = 0;
    for (size_t i = 0; i < n; ++i) {
        line[used++] = kHex[data[i] >> 4];
        line[used++] = kHex[data[i] & 0x0F];
        line[used++] = ' ';
        if (used == 3 * 256) {
            std::fwrite(line, 1, used, m_pFile);
            used = 0;
        }
    }
    line[used++] = '\n';
    std::fwrite(line, 1, used, m_pFile);
}

size_t CDataLog::FormatParsedLine(char* out, int a, int b, int c, int d, bool rate) {
    // Each "%d," is at most 12 characters, the rate field at most 9: the buffer always suffices.
    int used = std::snprintf(out, kParsedLineBytes, "%d,", a);
    if (rate && a > 0) {
        const float perSecond = 10000.0f / static_cast<float>(a);
        used += std::snprintf(out + used, kParsedLineBytes - static_cast<size_t>(used), "%.2f,",
                              static_cast<double>(perSecond));
    }
    for (const int v : {b, c, d}) {
        if (v > 0) {
            used += std::snprintf(out + used, kParsedLineBytes - static_cast<size_t>(used), "%d,",
                                  v);
        }
    }
    out[used++] = '\n';
    out[used] = '\0';
    return static_cast<size_t>(used);
}

void CDataLog::WriteParsedLine(int a, int b, int c, int d, bool rate) {
    char line[kParsedLineBytes];
    std::fwrite(line, 1, FormatParsedLine(line, a, b, c, d, rate), m_pFile);
}

}  // namespace somatrix
