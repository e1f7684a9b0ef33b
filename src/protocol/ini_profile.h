#pragma once
// A read-only ini file with the rules of the Windows profile API: sections and keys compared
// without regard to case, blanks around names and values trimmed, one pair of enclosing quotes
// removed, the first occurrence of a key winning, values cut to 255 characters. The file may be
// UTF-8 (with or without a byte-order mark) or GBK; values come back as UTF-8.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace somatrix {

class CIniProfile {
public:
    // Files larger than this are read up to this size only.
    static constexpr size_t kMaxFileBytes = 1 << 20;
    static constexpr size_t kMaxValueChars = 255;

    // False when the file cannot be read; an empty or garbled file loads as empty.
    bool Load(const std::string& path);
    void Parse(std::string_view text);

    // The value, or `fallback` when the section or key is missing.
    std::string GetString(std::string_view section, std::string_view key,
                          const std::string& fallback = {}) const;

private:
    std::map<std::string, std::string> m_values;  // "section\nkey" in lower case -> value
};

}  // namespace somatrix
