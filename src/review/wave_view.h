#pragma once
// State and arithmetic of the review wave window: the view and the selection over the samples,
// the value range and both scales, the zoom steps and the pixel mapping, and the min/max pyramid
// that the render reads. The samples belong to the review display; this class keeps a pointer and
// a count that are handed again after every change. Owned by CWaveDataWnd; GUI thread only.
//
// Views are kept in signed 64-bit with 0 <= viewStart < viewEnd <= sampleCount whenever there
// are samples, so no step wraps or reads outside the recording.
#include <cstdint>
#include <vector>

#include "review/min_max_pyramid.h"
#include "review/review_source.h"
#include "review/wave_trace.h"

namespace somatrix {

class CWaveView {
public:
    // Resets view and selection to the whole recording and rescales. Builds the pyramid, so it
    // is the only step whose cost follows the sample count.
    void SetData(const uint16_t* samples, uint32_t count);
    // New client size: both scales follow it (a zero size keeps them).
    void Resize(int32_t width, int32_t height);

    // Context-menu and wheel steps; each returns whether the view changed.
    bool ZoomIn();
    bool ZoomOut();
    // A wheel turn at pixel x: anchors the next zoom-in there, then zooms in (delta > 0) or out.
    bool Wheel(int32_t x, int32_t delta);
    // The overview's pan: a view of the same span elsewhere; the scale is kept.
    void SetView(int64_t start, int64_t end);
    void ToggleGrid() { m_bGridOn = !m_bGridOn; }

    // Selection by the left button.
    void ButtonDown(int32_t x);
    // Returns false when no drag is going on.
    bool MouseMove(int32_t x);
    void ButtonUp();

    // Sample under pixel x, clamped to [0, sampleCount].
    int64_t SampleAtPixel(int32_t x) const;
    // Column of sample s: 0 left of the view, clamped to width + 1 right of it.
    int32_t PixelOfSample(int64_t s) const;

    // Stretches without data (sorted): their columns stay empty in the trace.
    void SetGaps(std::vector<CSampleGap> gaps) { m_gaps = std::move(gaps); }
    const std::vector<CSampleGap>& Gaps() const { return m_gaps; }
    // Columns of the trace for the current view (one per pixel column).
    void TraceColumns(std::vector<CColumnSpan>& columns) const;
    CTraceGeometry Geometry() const;

    const uint16_t* Samples() const { return m_pSamples; }
    uint32_t SampleCount() const { return m_nSampleCount; }
    int64_t ViewStart() const { return m_nViewStart; }
    int64_t ViewEnd() const { return m_nViewEnd; }
    int64_t SelStart() const { return m_nSelStart; }
    int64_t SelEnd() const { return m_nSelEnd; }
    int64_t SelLow() const { return m_nSelStart < m_nSelEnd ? m_nSelStart : m_nSelEnd; }
    int64_t SelHigh() const { return m_nSelStart < m_nSelEnd ? m_nSelEnd : m_nSelStart; }
    int32_t MaxValue() const { return m_nMaxValue; }
    int32_t MinValue() const { return m_nMinValue; }
    int32_t TopValue() const { return m_nTopValue; }
    int32_t BottomValue() const { return m_nBottomValue; }
    double XScale() const { return m_fXScale; }
    double YScale() const { return m_fYScale; }
    int64_t ZoomAnchor() const { return m_nZoomAnchor; }
    bool Dragging() const { return m_bDragging; }
    bool GridOn() const { return m_bGridOn; }
    int32_t Width() const { return m_nWidth; }
    int32_t Height() const { return m_nHeight; }

private:
    void UpdateXScale();
    // Applies a new view, widened to min(10, sampleCount) samples and kept inside the recording.
    bool ApplyView(int64_t start, int64_t end);

    const uint16_t* m_pSamples = nullptr;
    uint32_t m_nSampleCount = 0;
    CMinMaxPyramid m_pyramid;
    std::vector<CSampleGap> m_gaps;
    int64_t m_nViewStart = 0;
    int64_t m_nViewEnd = 0;
    int64_t m_nSelStart = 0;  // anchor of a drag; may exceed m_nSelEnd until the button is up
    int64_t m_nSelEnd = 0;
    int32_t m_nMaxValue = 0;
    int32_t m_nMinValue = 0;
    int32_t m_nTopValue = 0;     // value at the top edge (range padded by 12 %); may pass 65535
    int32_t m_nBottomValue = 0;  // value at the bottom edge; may be negative
    bool m_bDragging = false;
    bool m_bGridOn = true;
    double m_fYScale = 1.0;     // sample units per pixel
    double m_fXScale = 1.0;     // samples per pixel
    int64_t m_nZoomAnchor = 0;  // sample of the last wheel turn; 0 = none
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
};

}  // namespace somatrix
