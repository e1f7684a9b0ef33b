#include "review/wave_trace.h"

#include <algorithm>
#include <cmath>

namespace somatrix {

namespace {

// num / den rounded to the nearest integer, halves upward (den > 0).
int64_t RoundDiv(int64_t num, int64_t den) {
    const int64_t twice = 2 * num + den;
    const int64_t q = twice / (2 * den);
    return (twice % (2 * den) < 0) ? q - 1 : q;
}

void Merge(CColumnSpan& into, const CColumnSpan& span) {
    if (into.Empty()) {
        into = span;
        return;
    }
    into.m_nTop = std::min(into.m_nTop, span.m_nTop);
    into.m_nBottom = std::max(into.m_nBottom, span.m_nBottom);
}

}  // namespace

int64_t CTraceGeometry::X(int64_t i) const {
    return static_cast<int64_t>(static_cast<double>(i - m_nViewStart) / m_fXScale);
}

int32_t CTraceGeometry::Y(int32_t value) const {
    return static_cast<int32_t>(static_cast<double>(m_nTopValue - value) / m_fYScale);
}

CColumnSpan SegmentSpan(int64_t xa, int32_t ya, int64_t xb, int32_t yb, int64_t x) {
    if (xa == xb) {
        return {std::min(ya, yb), std::max(ya, yb)};
    }
    const int64_t dx2 = 2 * (xb - xa);
    const int64_t dy = static_cast<int64_t>(yb) - ya;
    const int64_t left = x == xa ? ya : ya + RoundDiv(dy * (2 * (x - xa) - 1), dx2);
    const int64_t right = x == xb ? yb : ya + RoundDiv(dy * (2 * (x - xa) + 1), dx2);
    return {static_cast<int32_t>(std::min(left, right)),
            static_cast<int32_t>(std::max(left, right))};
}

void BuildTraceColumns(const CTraceGeometry& g, const CMinMaxPyramid& pyramid,
                       std::vector<CColumnSpan>& columns) {
    columns.assign(static_cast<size_t>(std::max(g.m_nWidth, 0)), CColumnSpan{});
    if (g.m_pSamples == nullptr || g.m_nViewEnd <= g.m_nViewStart || g.m_nWidth <= 0) {
        return;
    }
    const int64_t vs = g.m_nViewStart;
    const int64_t ve = g.m_nViewEnd;
    // First sample whose column is at least x: estimated, then corrected against X() itself so
    // that the columns agree exactly with the segment walk.
    const auto firstAt = [&](int64_t x, int64_t from) {
        int64_t i = vs + static_cast<int64_t>(std::ceil(static_cast<double>(x) * g.m_fXScale));
        i = std::clamp(std::max(i, from), vs, ve);
        while (i > from && i > vs && g.X(i - 1) >= x) {
            --i;
        }
        while (i < ve && g.X(i) < x) {
            ++i;
        }
        return i;
    };
    const auto point = [&](int64_t i) {
        return std::pair<int64_t, int32_t>{g.X(i), g.Y(g.m_pSamples[i])};
    };
    int64_t a = vs;
    for (int64_t x = 0; x < g.m_nWidth && a < ve; ++x) {
        const int64_t b = firstAt(x + 1, a);  // samples [a, b) lie in column x
        CColumnSpan span;
        if (a < b) {
            const CValueRange r =
                pyramid.Range(static_cast<uint32_t>(a), static_cast<uint32_t>(b - 1));
            span = {g.Y(r.m_nMax), g.Y(r.m_nMin)};
            if (a == vs) {
                // The polyline starts at (0, Y(viewStart)): nothing enters from the left.
            } else {
                const auto [xp, yp] = point(a - 1);
                Merge(span, SegmentSpan(xp, yp, x, g.Y(g.m_pSamples[a]), x));
            }
            if (b < ve) {
                const auto [xn, yn] = point(b);
                Merge(span, SegmentSpan(x, g.Y(g.m_pSamples[b - 1]), xn, yn, x));
            }
        } else if (a > vs && a < ve) {
            // No sample here: the segment from the sample before crosses this column.
            const auto [xp, yp] = point(a - 1);
            const auto [xn, yn] = point(a);
            span = SegmentSpan(xp, yp, xn, yn, x);
        }
        columns[static_cast<size_t>(x)] = span;
        a = b;
    }
}

}  // namespace somatrix
