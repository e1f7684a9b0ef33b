#include "review/ruler_labels.h"

#include <cstdio>

namespace somatrix {

std::vector<CRulerMark> TimeMarks(int64_t rangeStart, int64_t rangeEnd, int32_t w) {
    std::vector<CRulerMark> marks(kTimeMarks);
    for (int i = 0; i < kTimeMarks; ++i) {
        marks[i].m_nPos = static_cast<int32_t>(static_cast<int64_t>(w) * i / kTimeMarks);
        marks[i].m_nValue = rangeStart + (rangeEnd - rangeStart) * i / kTimeMarks;
    }
    return marks;
}

std::vector<CRulerMark> ValueMarks(int32_t topValue, int32_t bottomValue, int32_t h) {
    std::vector<CRulerMark> marks(kValueMarks);
    const int64_t range = static_cast<int64_t>(topValue) - bottomValue;
    for (int i = 0; i < kValueMarks; ++i) {
        marks[i].m_nPos = static_cast<int32_t>(static_cast<int64_t>(h) * i / kValueMarks);
        marks[i].m_nValue = topValue - range * i / kValueMarks;
    }
    return marks;
}

std::string TimeLabel(const std::string& sampleTime) {
    return sampleTime.size() <= 6 ? sampleTime : sampleTime.substr(sampleTime.size() - 6);
}

std::string ScaleText(double scale) {
    char text[64];
    std::snprintf(text, sizeof text, "1:%.1f", scale);
    return text;
}

}  // namespace somatrix
