#include "protocol/ini_profile.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "protocol/text_encoding.h"

namespace somatrix {

namespace {

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return out;
}

std::string MapKey(std::string_view section, std::string_view key) {
    return Lower(Trim(section)) + '\n' + Lower(Trim(key));
}

// First `maxChars` characters of UTF-8 text.
std::string_view FirstCharacters(std::string_view text, size_t maxChars) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (chars == maxChars) {
                return text.substr(0, i);
            }
            ++chars;
        }
    }
    return text;
}

}  // namespace

bool CIniProfile::Load(const std::string& path) {
    m_values.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::string text(kMaxFileBytes, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(file.gcount()));
    Parse(text);
    return true;
}

void CIniProfile::Parse(std::string_view raw) {
    m_values.clear();
    if (raw.substr(0, 3) == "\xEF\xBB\xBF") {
        raw.remove_prefix(3);
    }
    // A NUL ends the text as it would for the C string the profile API reads into.
    raw = raw.substr(0, raw.find('\0'));
    const std::string text = ToUtf8(raw);

    std::string section;
    bool inSection = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string_view line = Trim(std::string_view(text).substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            const size_t close = line.find(']');
            section = std::string(line.substr(1, close == std::string_view::npos ? line.npos
                                                                                 : close - 1));
            inSection = true;
            continue;
        }
        const size_t eq = line.find('=');
        if (!inSection || eq == std::string_view::npos) {
            continue;
        }
        std::string_view value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        m_values.emplace(MapKey(section, line.substr(0, eq)),
                         std::string(FirstCharacters(value, kMaxValueChars)));
    }
}

std::string CIniProfile::GetString(std::string_view section, std::string_view key,
                                   const std::string& fallback) const {
    const auto it = m_values.find(MapKey(section, key));
    return it == m_values.end() ? fallback : it->second;
}

}  // namespace somatrix
