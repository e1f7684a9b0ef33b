#include "analysis/rhythm.h"

#include <algorithm>

namespace somatrix {

namespace {

constexpr size_t kMedianHalf = 4;
constexpr double kBand = 0.20;
constexpr double kShortestMs = 200;
constexpr double kLongestMs = 3000;

double Median(std::vector<double> values) {
    const size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid),
                     values.end());
    const double upper = values[mid];
    if (values.size() % 2 == 1) {
        return upper;
    }
    const double lower =
        *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid));
    return 0.5 * (lower + upper);
}

}  // namespace

std::vector<CRrInterval> ClassifyRr(const std::vector<double>& beatTimesSec) {
    std::vector<CRrInterval> intervals;
    if (beatTimesSec.size() < 2) {
        return intervals;
    }
    std::vector<double> raw(beatTimesSec.size() - 1);
    for (size_t i = 0; i < raw.size(); ++i) {
        raw[i] = 1000.0 * (beatTimesSec[i + 1] - beatTimesSec[i]);
    }
    intervals.reserve(raw.size());
    std::vector<double> around;
    for (size_t i = 0; i < raw.size(); ++i) {
        const size_t first = i >= kMedianHalf ? i - kMedianHalf : 0;
        const size_t last = std::min(raw.size() - 1, i + kMedianHalf);
        around.assign(raw.begin() + static_cast<std::ptrdiff_t>(first),
                      raw.begin() + static_cast<std::ptrdiff_t>(last) + 1);
        const double median = Median(around);
        const bool bNormal = raw[i] >= kShortestMs && raw[i] <= kLongestMs &&
                             std::abs(raw[i] - median) <= kBand * median;
        intervals.push_back({beatTimesSec[i + 1], raw[i], bNormal});
    }
    return intervals;
}

std::vector<double> RrIntervalsMs(const std::vector<double>& beatTimesSec) {
    std::vector<double> normal;
    for (const CRrInterval& rr : ClassifyRr(beatTimesSec)) {
        if (rr.m_bNormal) {
            normal.push_back(rr.m_dMs);
        }
    }
    return normal;
}

CRhythmStats ComputeRhythm(const std::vector<double>& beatTimesSec) {
    CRhythmStats stats;
    stats.m_nBeats = beatTimesSec.size();
    const std::vector<CRrInterval> intervals = ClassifyRr(beatTimesSec);
    double sum = 0, shortest = INFINITY, longest = 0;
    size_t n = 0;
    double diffSquares = 0;
    size_t pairs = 0;
    for (size_t i = 0; i < intervals.size(); ++i) {
        if (!intervals[i].m_bNormal) {
            continue;
        }
        const double ms = intervals[i].m_dMs;
        sum += ms;
        ++n;
        shortest = std::min(shortest, ms);
        longest = std::max(longest, ms);
        if (i > 0 && intervals[i - 1].m_bNormal) {
            const double d = ms - intervals[i - 1].m_dMs;
            diffSquares += d * d;
            ++pairs;
        }
    }
    if (n == 0) {
        return stats;
    }
    const double mean = sum / static_cast<double>(n);
    stats.m_dHrMean = 60000.0 / mean;
    stats.m_dHrMin = 60000.0 / longest;
    stats.m_dHrMax = 60000.0 / shortest;
    if (n >= 2) {
        double squares = 0;
        for (const CRrInterval& rr : intervals) {
            if (rr.m_bNormal) {
                squares += (rr.m_dMs - mean) * (rr.m_dMs - mean);
            }
        }
        stats.m_dSdnnMs = std::sqrt(squares / static_cast<double>(n - 1));
    }
    if (pairs > 0) {
        stats.m_dRmssdMs = std::sqrt(diffSquares / static_cast<double>(pairs));
    }
    return stats;
}

std::vector<std::pair<double, double>> HeartRateSeries(const std::vector<double>& beatTimesSec) {
    std::vector<std::pair<double, double>> series;
    for (const CRrInterval& rr : ClassifyRr(beatTimesSec)) {
        if (rr.m_bNormal) {
            series.emplace_back(rr.m_dEndSec, 60000.0 / rr.m_dMs);
        }
    }
    return series;
}

}  // namespace somatrix
