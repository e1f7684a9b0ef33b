#include "display/integrity_text.h"

namespace somatrix {

namespace {
std::string Count(uint64_t n) {
    return std::to_string(n);
}
}  // namespace

std::vector<CIntegrityPart> IntegrityParts(const CIntegrityStats& s) {
    return {
        {Count(s.m_nFramesPerSecond) + " 帧/秒", false},
        {"校验错 " + Count(s.m_nChecksumErrors), s.m_nChecksumErrors > 0},
        {"跳过 " + Count(s.m_nSkippedBytes) + " 字节", s.m_nSkippedBytes > 0},
        {"丢弃 " + Count(s.m_nDroppedBytes) + " 字节", s.m_nDroppedBytes > 0},
        {"间断 " + Count(s.m_nGaps), s.m_nGaps > 0},
    };
}

std::string IntegrityText(const CIntegrityStats& stats) {
    std::string text;
    for (const CIntegrityPart& part : IntegrityParts(stats)) {
        text += text.empty() ? "" : kIntegritySeparator;
        text += part.m_strText;
    }
    return text;
}

std::string IntegritySummary(const CIntegrityStats& stats) {
    std::vector<CIntegrityPart> parts = IntegrityParts(stats);
    parts[0].m_strText = "帧 " + Count(stats.m_nFrames);
    std::string text;
    for (const CIntegrityPart& part : parts) {
        text += text.empty() ? "" : kIntegritySeparator;
        text += part.m_strText;
    }
    return text;
}

}  // namespace somatrix
