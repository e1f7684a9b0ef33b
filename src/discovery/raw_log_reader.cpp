#include "discovery/raw_log_reader.h"

namespace somatrix {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

bool ParseRawLog(std::string_view text, std::vector<CReceiveEvent>& events, std::string& error) {
    events.clear();
    size_t lineNumber = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        CReceiveEvent event;
        size_t i = 0;
        while (i < line.size()) {
            if (IsBlank(line[i])) {
                ++i;
                continue;
            }
            size_t j = i;
            while (j < line.size() && !IsBlank(line[j])) {
                ++j;
            }
            const std::string_view token = line.substr(i, j - i);
            const int hi = token.size() == 2 ? HexDigit(token[0]) : -1;
            const int lo = token.size() == 2 ? HexDigit(token[1]) : -1;
            if (hi < 0 || lo < 0) {
                const std::string_view shown = token.substr(0, 16);
                error = "line " + std::to_string(lineNumber) + ": '" + std::string(shown) +
                        (token.size() > shown.size() ? "...'" : "'") +
                        " is not a byte in hexadecimal";
                events.clear();
                return false;
            }
            event.push_back(static_cast<uint8_t>(hi * 16 + lo));
            i = j;
        }
        if (!event.empty()) {
            events.push_back(std::move(event));
        }
    }
    return true;
}

std::vector<CReceiveEvent> SplitCapture(std::string_view bytes, size_t chunk) {
    std::vector<CReceiveEvent> events;
    if (chunk == 0) {
        chunk = 1;
    }
    for (size_t pos = 0; pos < bytes.size(); pos += chunk) {
        const std::string_view part = bytes.substr(pos, chunk);
        events.emplace_back(part.begin(), part.end());
    }
    return events;
}

}  // namespace somatrix
