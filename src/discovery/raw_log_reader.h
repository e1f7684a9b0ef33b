#pragma once
// Reads the raw log back: one receive event a line, each byte as two hexadecimal digits followed
// by a space. Used by the replay tool; the text comes from outside, so every token is checked.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace somatrix {

using CReceiveEvent = std::vector<uint8_t>;

// Parses the whole text. Blank lines carry no event. False with a message naming the line and
// the offending token when a token is not exactly two hexadecimal digits.
bool ParseRawLog(std::string_view text, std::vector<CReceiveEvent>& events, std::string& error);

// Cuts a binary capture into receive events of `chunk` bytes (the last may be shorter).
std::vector<CReceiveEvent> SplitCapture(std::string_view bytes, size_t chunk);

}  // namespace somatrix
