#include "cli/cli_args.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "protocol/catalogue.h"

namespace somatrix::cli {

std::string CArgReader::Value(const std::string& option) {
    if (AtEnd()) {
        throw CUsageError(option + " needs a value");
    }
    return Next();
}

uint8_t ParseTypeCode(const std::string& text) {
    std::string digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits = digits.substr(2);
    }
    char* end = nullptr;
    const unsigned long value = std::strtoul(digits.c_str(), &end, 16);
    if (digits.empty() || digits.size() > 2 || *end != '\0') {
        throw CUsageError("'" + text + "' is not a type code (two hexadecimal digits)");
    }
    return static_cast<uint8_t>(value);
}

uint8_t ParseSensorCode(const std::string& text) {
    const std::string codes = "; the sensor type codes are:\n" + SensorCodeList();
    uint8_t type = 0;
    try {
        type = ParseTypeCode(text);
    } catch (const CUsageError& e) {
        throw CUsageError(e.what() + codes);
    }
    if (CCatalogue().IndexOfType(type) < 0) {
        throw CUsageError("no sensor in the catalogue has type code " + FormatTypeCode(type) +
                          codes);
    }
    return type;
}

std::string FormatTypeCode(uint8_t type) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    return {kHex[type >> 4], kHex[type & 0x0F]};
}

bool TakeLogOption(const std::string& arg, CArgReader& reader, ELogMode& logMode,
                   std::string& path) {
    if (arg != "--parsed" && arg != "--raw") {
        return false;
    }
    if (logMode != kLogNone) {
        throw CUsageError("--parsed and --raw cannot be combined");
    }
    logMode = arg == "--parsed" ? kLogParsed : kLogRaw;
    path = reader.Value(arg);
    return true;
}

long ParseNumber(const std::string& option, const std::string& text, long lo, long hi) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < lo || value > hi) {
        throw CUsageError(option + " takes a whole number from " + std::to_string(lo) + " to " +
                          std::to_string(hi) + ", not '" + text + "'");
    }
    return value;
}

double ParseSeconds(const std::string& option, const std::string& text) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end == nullptr || *end != '\0' || !std::isfinite(v) || v < 0) {
        throw CUsageError(option + " needs a number of seconds of at least 0, not '" + text + "'");
    }
    return v;
}

bool CTimeRange::Take(const std::string& arg, CArgReader& reader) {
    if (arg == "--from") {
        m_dFrom = ParseSeconds(arg, reader.Value(arg));
    } else if (arg == "--to") {
        m_to = ParseSeconds(arg, reader.Value(arg));
    } else {
        return false;
    }
    return true;
}

void CTimeRange::Check() const {
    if (m_to && *m_to <= m_dFrom) {
        throw CUsageError("--to must be later than --from");
    }
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw CUsageError("cannot read " + path + ": " + std::strerror(errno));
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        throw CUsageError("cannot read " + path);
    }
    return text.str();
}

}  // namespace somatrix::cli
