#pragma once
// The integrity counters as the status bar's second pane shows them, one part a counter, for
// example "250 帧/秒 · 校验错 0 · 跳过 0 字节 · 丢弃 0 字节 · 间断 0". A part that reports a
// fault (a counter above zero) is marked, so the window can make it stand out.
#include <string>
#include <vector>

#include "protocol/integrity_counters.h"

namespace somatrix {

struct CIntegrityPart {
    std::string m_strText;
    bool m_bFault = false;
};

inline constexpr char kIntegritySeparator[] = " · ";

std::vector<CIntegrityPart> IntegrityParts(const CIntegrityStats& stats);
// The parts joined with the separator, as plain text.
std::string IntegrityText(const CIntegrityStats& stats);
// The totals of a whole measurement, for a recording's annotation at its end:
// "帧 N · 校验错 N · 跳过 N 字节 · 丢弃 N 字节 · 间断 N".
std::string IntegritySummary(const CIntegrityStats& stats);

}  // namespace somatrix
