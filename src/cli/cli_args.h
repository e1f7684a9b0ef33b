#pragma once
// Small helpers shared by the somatrix-cli commands: option values, hex type codes, whole-file
// reads, and the usage error that ends a command with exit status 2.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "discovery/data_log.h"

namespace somatrix::cli {

inline constexpr int kExitBadInput = 2;

// Thrown for bad command lines and unreadable input; main prints it and exits with status 2.
struct CUsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class CArgReader {
public:
    explicit CArgReader(std::vector<std::string> args) : m_args(std::move(args)) {}
    bool AtEnd() const { return m_nPos >= m_args.size(); }
    const std::string& Next() { return m_args[m_nPos++]; }
    // The value after `option`; a usage error when there is none.
    std::string Value(const std::string& option);

private:
    std::vector<std::string> m_args;
    size_t m_nPos = 0;
};

// "CA" or "0xCA" → 0xCA; a usage error otherwise.
uint8_t ParseTypeCode(const std::string& text);
// A type code of the catalogue; a usage error that lists the valid codes and their names
// otherwise.
uint8_t ParseSensorCode(const std::string& text);
// "CA" for 0xCA.
std::string FormatTypeCode(uint8_t type);
// Takes `--parsed FILE` or `--raw FILE` when `arg` is one of them (at most one log per run);
// false for any other argument.
bool TakeLogOption(const std::string& arg, CArgReader& reader, ELogMode& logMode,
                   std::string& path);
// A whole decimal number in [lo, hi]; a usage error otherwise.
long ParseNumber(const std::string& option, const std::string& text, long lo, long hi);
// A number of seconds of at least 0 (fractions allowed); a usage error otherwise.
double ParseSeconds(const std::string& option, const std::string& text);
// `--from S` and `--to S`, seconds from a recording's start, as the commands that read a stretch
// of a recording take them.
struct CTimeRange {
    double m_dFrom = 0;
    std::optional<double> m_to;
    // Takes `arg` and its value when it is --from or --to; false for any other argument.
    bool Take(const std::string& arg, CArgReader& reader);
    // A usage error when --to is not later than --from.
    void Check() const;
};
// The whole file; a usage error naming the file when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace somatrix::cli
