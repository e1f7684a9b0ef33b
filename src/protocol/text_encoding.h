#pragma once
// Conversions for text that comes from outside in the platform's legacy encoding (GBK, code
// page 936) or in UTF-8.
#include <string>
#include <string_view>

namespace somatrix {

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);

// GBK to UTF-8. Bytes that do not form a GBK character become U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

// UTF-8 as it is when valid, else taken as GBK.
std::string ToUtf8(std::string_view text);

}  // namespace somatrix
