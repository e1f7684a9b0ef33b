#pragma once
// The review trace as pixel columns. The trace is the polyline through the samples of the view,
// sample i at x = trunc((i - viewStart) / xScale) and y = trunc((topValue - sample) / yScale),
// each segment drawn as the platform draws a one-pixel line without antialiasing.
//
// Samples that share a column are joined by vertical segments, which cover every row between
// them: in that column the trace is one run from the highest to the lowest of its samples,
// found through the min/max pyramid. What is left are the segments from the last sample of a
// column to the first sample of the next column that has samples, one per column. So a paint
// draws at most one run and one line a column, whatever the number of samples, and gives the
// same pixels as drawing every segment. Called by the wave window's render on the GUI thread.
#include <cstdint>
#include <vector>

#include "review/min_max_pyramid.h"

namespace somatrix {

// One column of the trace: rows m_nTop..m_nBottom (inclusive, unclipped) hold its samples, the
// first of them at row m_nFirst and the last at m_nLast; from the last the trace goes on to the
// next sample at (m_nNextX, m_nNextY), none when m_nNextX < 0. Empty when no sample lies in it.
struct CColumnSpan {
    int32_t m_nTop = 1;
    int32_t m_nBottom = 0;
    int32_t m_nFirst = 0;
    int32_t m_nLast = 0;
    int64_t m_nNextX = -1;
    int32_t m_nNextY = 0;
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

// One span per column 0..width-1.
void BuildTraceColumns(const CTraceGeometry& g, const CMinMaxPyramid& pyramid,
                       std::vector<CColumnSpan>& columns);

// Calls segment(xa, ya, xb, yb) for every segment of the polyline that starts in a column below
// the width, in order; a view of one sample gives one segment from the sample to itself. The
// plain drawing, kept for checks and measurements: it walks every sample.
template <typename Segment>
void ForEachSegment(const CTraceGeometry& g, Segment&& segment) {
    if (g.m_pSamples == nullptr || g.m_nViewEnd <= g.m_nViewStart || g.m_nWidth <= 0) {
        return;
    }
    int64_t xa = g.X(g.m_nViewStart);
    int32_t ya = g.Y(g.m_pSamples[g.m_nViewStart]);
    if (g.m_nViewEnd - g.m_nViewStart == 1) {
        segment(xa, ya, xa, ya);
        return;
    }
    for (int64_t i = g.m_nViewStart + 1; i < g.m_nViewEnd && xa < g.m_nWidth; ++i) {
        const int64_t xb = g.X(i);
        const int32_t yb = g.Y(g.m_pSamples[i]);
        segment(xa, ya, xb, yb);
        xa = xb;
        ya = yb;
    }
}

}  // namespace somatrix
