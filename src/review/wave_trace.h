#pragma once
// The review trace as pixel columns. A polyline through the samples of the view, sample i at
// x = trunc((i - viewStart) / xScale) and y = trunc((topValue - sample) / yScale), is rasterised
// one column at a time: a segment covers, in each column it crosses, the rows between its heights
// at the column's left and right edges (half a pixel either side of the centre, clipped to the
// segment's ends), so both end pixels are part of the segment.
//
// Two paths give the same pixels: BuildTraceColumns takes, per column, the extremes of the
// segments that touch it (interior samples through the min/max pyramid, so the cost follows the
// width); ForEachSegmentSpan walks every segment (the plain drawing, kept for checks and
// measurements). Called by the wave window's render on the GUI thread.
#include <cstdint>
#include <vector>

#include "review/min_max_pyramid.h"

namespace somatrix {

// Rows m_nTop..m_nBottom (inclusive, unclipped) of one column; empty when m_nTop > m_nBottom.
struct CColumnSpan {
    int32_t m_nTop = 1;
    int32_t m_nBottom = 0;
    bool Empty() const { return m_nTop > m_nBottom; }
};

// What the trace is drawn from: the view, the scales and the samples.
struct CTraceGeometry {
    const uint16_t* m_pSamples = nullptr;
    int64_t m_nViewStart = 0;
    int64_t m_nViewEnd = 0;
    double m_fXScale = 1.0;  // samples per pixel
    double m_fYScale = 1.0;  // sample units per pixel
    int32_t m_nTopValue = 0;
    int32_t m_nWidth = 0;

    // Column of sample i (i >= viewStart), in double precision.
    int64_t X(int64_t i) const;
    // Row of a sample value.
    int32_t Y(int32_t value) const;
};

// Rows that the segment from (xa, ya) to (xb, yb), xa <= xb, covers in column x (xa <= x <= xb).
CColumnSpan SegmentSpan(int64_t xa, int32_t ya, int64_t xb, int32_t yb, int64_t x);

// One span per column 0..width-1.
void BuildTraceColumns(const CTraceGeometry& g, const CMinMaxPyramid& pyramid,
                       std::vector<CColumnSpan>& columns);

// Calls paint(x, span) for every column of every segment that lies in 0..width-1.
template <typename Paint>
void ForEachSegmentSpan(const CTraceGeometry& g, Paint&& paint) {
    if (g.m_pSamples == nullptr || g.m_nViewEnd <= g.m_nViewStart || g.m_nWidth <= 0) {
        return;
    }
    int64_t xa = 0;
    int32_t ya = g.Y(g.m_pSamples[g.m_nViewStart]);
    for (int64_t i = g.m_nViewStart; i < g.m_nViewEnd; ++i) {
        const int64_t xb = g.X(i);
        const int32_t yb = g.Y(g.m_pSamples[i]);
        for (int64_t x = xa; x <= xb && x < g.m_nWidth; ++x) {
            paint(static_cast<int32_t>(x), SegmentSpan(xa, ya, xb, yb, x));
        }
        xa = xb;
        ya = yb;
    }
}

}  // namespace somatrix
