#pragma once
// Label positions and texts of the two review rulers and the scale texts of the review bar.
// Framework-free, so the arithmetic is tested without a window; the ruler widgets paint what
// these return. GUI thread only.
#include <cstdint>
#include <string>
#include <vector>

namespace somatrix {

struct CRulerMark {
    int32_t m_nPos = 0;    // x of a time mark, y of a value mark
    int64_t m_nValue = 0;  // sample index (time ruler) or sample value (value ruler)
};

inline constexpr int kTimeMarks = 25;
inline constexpr int kValueMarks = 20;

// The 25 marks of the time ruler over [rangeStart, rangeEnd) on a ruler w pixels wide.
std::vector<CRulerMark> TimeMarks(int64_t rangeStart, int64_t rangeEnd, int32_t w);
// The 20 marks of the value ruler from topValue (y 0) toward bottomValue on a ruler h pixels
// high. Each value is top - (top - bottom) * i / 20, so the marks stay where the trace puts those
// values however small the range.
std::vector<CRulerMark> ValueMarks(int32_t topValue, int32_t bottomValue, int32_t h);

// The time ruler's label: the last six characters of a sample-time text (seconds and
// milliseconds, "SS.mmm"); empty when the time is unknown.
std::string TimeLabel(const std::string& sampleTime);
// "1:%.1f" of a scale, as the review bar shows it.
std::string ScaleText(double scale);

}  // namespace somatrix
