#pragma once
// The table that compares two recordings (rest and after exercise, say): for each the duration,
// mean, lowest and highest heart rate, SDNN, RMSSD, and the mean and range of the values, and
// the difference second minus first. Framework-free; any thread.
#include <array>

#include "analysis/selection_stats.h"

namespace somatrix {

enum class ECompareRow {
    Duration,
    HrMean,
    HrMin,
    HrMax,
    Sdnn,
    Rmssd,
    ValueMean,
    ValueRange,
};
inline constexpr int kCompareRows = 8;

struct CCompareLine {
    ECompareRow m_row;
    double m_dFirst;
    double m_dSecond;
    double m_dDifference;  // second - first; NaN where either is undefined
};

// One value of the table for the statistics of a whole recording.
double CompareValue(const CSelectionStats& stats, ECompareRow row);
std::array<CCompareLine, kCompareRows> CompareRecordings(const CSelectionStats& first,
                                                         const CSelectionStats& second);

}  // namespace somatrix
