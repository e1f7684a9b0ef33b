#include "analysis/recording_comparison.h"

#include <limits>

namespace somatrix {

double CompareValue(const CSelectionStats& stats, ECompareRow row) {
    const CRangeStats& r = stats.m_range;
    const bool hasValues = r.m_nSamples > 0;
    const double none = std::numeric_limits<double>::quiet_NaN();
    switch (row) {
        case ECompareRow::Duration:
            return r.m_dDurationSec;
        case ECompareRow::HrMean:
            return stats.m_dHrMean;
        case ECompareRow::HrMin:
            return stats.m_dHrMin;
        case ECompareRow::HrMax:
            return stats.m_dHrMax;
        case ECompareRow::Sdnn:
            return stats.m_dSdnnMs;
        case ECompareRow::Rmssd:
            return stats.m_dRmssdMs;
        case ECompareRow::ValueMean:
            return hasValues ? r.m_dMean : none;
        case ECompareRow::ValueRange:
            return hasValues ? r.m_dMax - r.m_dMin : none;
    }
    return none;
}

std::array<CCompareLine, kCompareRows> CompareRecordings(const CSelectionStats& first,
                                                         const CSelectionStats& second) {
    std::array<CCompareLine, kCompareRows> lines{};
    for (int i = 0; i < kCompareRows; ++i) {
        const auto row = static_cast<ECompareRow>(i);
        const double a = CompareValue(first, row);
        const double b = CompareValue(second, row);
        // NaN propagates, so a row without beats on one side has no difference.
        lines[size_t(i)] = {row, a, b, b - a};
    }
    return lines;
}

}  // namespace somatrix
