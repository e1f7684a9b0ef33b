#pragma once
// The single log file of the operation panel: either the raw log (every receive event as a line
// of hexadecimal bytes, ".txt") or the parsed log (each decoded reading as comma-separated
// numbers, ".csv"). Owned by the hub and written on its thread. Lines are buffered; the hub
// flushes once at the end of every receive event, so a crash loses nothing that was received.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

namespace somatrix {

enum ELogMode { kLogNone = 0, kLogRaw = 1, kLogParsed = 2 };

class CDataLog {
public:
    CDataLog() = default;
    CDataLog(const CDataLog&) = delete;
    CDataLog& operator=(const CDataLog&) = delete;
    ~CDataLog() { Stop(); }

    // "<folder>/YYYYMMDDhhmmss.txt" (raw) or ".csv" (parsed), from the local start time.
    static std::string FileName(const std::string& folder, ELogMode mode, const std::tm& local);

    // Sets the mode, closes any open file, creates `folder` when missing and opens the file
    // named by the start time for appending. False when the file cannot be opened; the mode is
    // then kept but nothing is written.
    bool Start(ELogMode mode, const std::string& folder, const std::tm& local);
    // The same with an explicit file.
    bool StartFile(ELogMode mode, const std::string& path);
    void Stop();
    // Hands everything written so far to the operating system.
    void Flush();
    // How many flushes reached an open file since it was opened.
    uint64_t GetFlushCount() const { return m_nFlushes; }

    bool IsOpen() const { return m_pFile != nullptr; }
    ELogMode GetMode() const { return m_nMode; }
    const std::string& GetPath() const { return m_strPath; }
    // The error of the last failed open, empty otherwise.
    const std::string& GetError() const { return m_strError; }

    // A paused log stays open and writes nothing until resumed. Every start and stop resumes.
    void SetPaused(bool paused) { m_bPaused = paused && m_pFile != nullptr; }
    bool IsPaused() const { return m_bPaused; }

    // One receive event; written only while open in raw mode and not paused.
    void WriteRaw(const uint8_t* data, size_t n) {
        if (IsRecordingRaw() && !m_bPaused) {
            WriteRawLine(data, n);
        }
    }
    // One reading; written only while open in parsed mode and not paused.
    void WriteParsed(int a, int b, int c, int d, bool rate) {
        if (IsParsing() && !m_bPaused) {
            WriteParsedLine(a, b, c, d, rate);
        }
    }
    bool IsParsing() const { return m_pFile && m_nMode == kLogParsed; }
    bool IsRecordingRaw() const { return m_pFile && m_nMode == kLogRaw; }

    // The line texts, for writers and tests. `out` must hold kParsedLineBytes.
    static constexpr size_t kParsedLineBytes = 80;
    static size_t FormatParsedLine(char* out, int a, int b, int c, int d, bool rate);

private:
    void WriteRawLine(const uint8_t* data, size_t n);
    void WriteParsedLine(int a, int b, int c, int d, bool rate);

    std::FILE* m_pFile = nullptr;
    ELogMode m_nMode = kLogNone;
    std::string m_strPath;
    std::string m_strError;
    uint64_t m_nFlushes = 0;
    bool m_bPaused = false;
};

}  // namespace somatrix
