#include "review/wave_trace.h"

#include <algorithm>
#include <cmath>

namespace somatrix {

int64_t CTraceGeometry::X(int64_t i) const {
    return static_cast<int64_t>(static_cast<double>(i - m_nViewStart) / m_fXScale);
}

int32_t CTraceGeometry::Y(int32_t value) const {
    return static_cast<int32_t>(static_cast<double>(m_nTopValue - value) / m_fYScale);
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
    int64_t a = vs;
    for (int64_t x = 0; x < g.m_nWidth && a < ve; ++x) {
        const int64_t b = firstAt(x + 1, a);  // samples [a, b) lie in column x
        if (a < b) {
            const CValueRange r =
                pyramid.Range(static_cast<uint32_t>(a), static_cast<uint32_t>(b - 1));
            CColumnSpan& span = columns[static_cast<size_t>(x)];
            span.m_nTop = g.Y(r.m_nMax);
            span.m_nBottom = g.Y(r.m_nMin);
            span.m_nFirst = g.Y(g.m_pSamples[a]);
            span.m_nLast = g.Y(g.m_pSamples[b - 1]);
            if (b < ve) {
                span.m_nNextX = g.X(b);
                span.m_nNextY = g.Y(g.m_pSamples[b]);
            }
        }
        a = b;
    }
}

}  // namespace somatrix
