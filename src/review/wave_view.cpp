#include "review/wave_view.h"

#include <algorithm>
#include <cmath>

namespace somatrix {

namespace {

// A wheel or menu step never narrows the view below this many samples.
constexpr int64_t kMinSpan = 10;

}  // namespace

void CWaveView::SetData(const uint16_t* samples, uint32_t count) {
    if (samples == nullptr) {
        count = 0;
    }
    m_pSamples = samples;
    m_nSampleCount = count;
    m_nViewStart = 0;
    m_nViewEnd = count;
    m_nSelStart = m_nSelEnd = 0;
    m_bDragging = false;
    m_pyramid.Build(samples, count);
    // An empty recording shows nothing, so it keeps no value range from the one before.
    const CValueRange whole = m_pyramid.Whole();
    m_nMaxValue = whole.m_nMax;
    m_nMinValue = whole.m_nMin;
    const int32_t pad =
        static_cast<int32_t>(std::trunc(static_cast<double>(m_nMaxValue - m_nMinValue) * 1.2)) / 10;
    m_nTopValue = m_nMaxValue + pad;
    m_nBottomValue = m_nMinValue - pad;
    if (m_nHeight > 0) {
        m_fYScale = static_cast<double>(m_nTopValue - m_nBottomValue) / m_nHeight;
        if (m_fYScale == 0.0) {
            m_fYScale = 1.0;
        }
    }
    if (m_nWidth > 0) {
        UpdateXScale();
    }
}

void CWaveView::Resize(int32_t width, int32_t height) {
    m_nWidth = std::max(width, 0);
    m_nHeight = std::max(height, 0);
    if (width <= 0 || height <= 0) {
        return;
    }
    m_fYScale = static_cast<double>(m_nTopValue - m_nBottomValue) / height;
    if (m_fYScale == 0.0) {
        m_fYScale = 1.0;
    }
    UpdateXScale();
}

void CWaveView::UpdateXScale() {
    m_fXScale = m_nWidth > 0 ? static_cast<double>(m_nViewEnd - m_nViewStart) / m_nWidth : 0.0;
    if (m_fXScale <= 0.0) {
        m_fXScale = 1.0;
    }
}

bool CWaveView::ApplyView(int64_t start, int64_t end) {
    const int64_t count = m_nSampleCount;
    start = std::clamp<int64_t>(start, 0, count);
    end = std::clamp<int64_t>(end, start, count);
    const int64_t minSpan = std::min(kMinSpan, count);
    if (end - start < minSpan) {
        end = std::min(count, start + minSpan);
        start = end - minSpan;
    }
    m_nViewStart = start;
    m_nViewEnd = end;
    return true;
}

bool CWaveView::ZoomIn() {
    if (m_nSampleCount == 0) {
        return false;
    }
    if (m_nSelStart != m_nSelEnd) {
        // The selection is shown exactly, even one sample wide.
        m_nViewStart = SelLow();
        m_nViewEnd = SelHigh();
    } else {
        const int64_t span = m_nViewEnd - m_nViewStart;
        int64_t start = 0;
        int64_t end = 0;
        if (m_nZoomAnchor != 0) {
            // Centred on the wheel's sample, even when that lies outside the current view.
            const auto k = static_cast<int64_t>(static_cast<double>(span) * 0.8 * 0.5);
            start = std::max<int64_t>(m_nZoomAnchor - k, 0);
            end = std::min<int64_t>(m_nZoomAnchor + k, m_nSampleCount);
        } else {
            const auto k = static_cast<int64_t>(static_cast<double>(span) * 0.2 * 0.5);
            start = std::min<int64_t>(m_nViewStart + k, m_nSampleCount);
            end = std::max<int64_t>(m_nViewEnd - k, 0);
        }
        if (end <= start) {
            return false;
        }
        ApplyView(start, end);
    }
    UpdateXScale();
    return true;
}

bool CWaveView::ZoomOut() {
    if (m_nSampleCount == 0) {
        return false;
    }
    const auto k =
        static_cast<int64_t>(static_cast<double>(m_nViewEnd - m_nViewStart) * 0.25 * 0.5);
    ApplyView(std::max<int64_t>(m_nViewStart - k, 0),
              std::min<int64_t>(m_nViewEnd + k, m_nSampleCount));
    UpdateXScale();
    return true;
}

bool CWaveView::Wheel(int32_t x, int32_t delta) {
    if (m_pSamples == nullptr || m_nSampleCount == 0) {
        return false;
    }
    m_nZoomAnchor = SampleAtPixel(x);
    return delta > 0 ? ZoomIn() : ZoomOut();
}

void CWaveView::SetView(int64_t start, int64_t end) {
    if (m_nSampleCount == 0) {
        m_nViewStart = m_nViewEnd = 0;
        return;
    }
    ApplyView(start, end);
}

void CWaveView::ButtonDown(int32_t x) {
    m_nSelStart = m_nSelEnd = SampleAtPixel(x);
    m_bDragging = true;
}

bool CWaveView::MouseMove(int32_t x) {
    if (!m_bDragging) {
        return false;
    }
    m_nSelEnd = SampleAtPixel(x);
    return true;
}

void CWaveView::ButtonUp() {
    if (!m_bDragging) {
        return;
    }
    m_bDragging = false;
    if (m_nSelStart > m_nSelEnd) {
        std::swap(m_nSelStart, m_nSelEnd);
    }
}

int64_t CWaveView::SampleAtPixel(int32_t x) const {
    // The button held, Qt keeps reporting positions outside the window: the sample is clamped
    // so that a selection never leaves the recording.
    const double s = std::trunc(x * m_fXScale + static_cast<double>(m_nViewStart));
    return static_cast<int64_t>(std::clamp(s, 0.0, static_cast<double>(m_nSampleCount)));
}

int32_t CWaveView::PixelOfSample(int64_t s) const {
    if (s < m_nViewStart) {
        return 0;
    }
    const double x = std::trunc(static_cast<double>(s - m_nViewStart) / m_fXScale);
    return static_cast<int32_t>(std::min(x, static_cast<double>(m_nWidth) + 1.0));
}

CTraceGeometry CWaveView::Geometry() const {
    CTraceGeometry g;
    g.m_pSamples = m_pSamples;
    g.m_nViewStart = m_nViewStart;
    g.m_nViewEnd = m_nViewEnd;
    g.m_fXScale = m_fXScale;
    g.m_fYScale = m_fYScale;
    g.m_nTopValue = m_nTopValue;
    g.m_nWidth = m_nWidth;
    return g;
}

void CWaveView::TraceColumns(std::vector<CColumnSpan>& columns) const {
    BuildTraceColumns(Geometry(), m_pyramid, columns);
    if (m_gaps.empty()) {
        return;
    }
    for (size_t x = 0; x < columns.size(); ++x) {
        const int64_t lo = SampleAtPixel(static_cast<int32_t>(x));
        const int64_t hi = std::max(lo + 1, SampleAtPixel(static_cast<int32_t>(x + 1)));
        // The last gap that starts at or before lo.
        const auto after = std::upper_bound(
            m_gaps.begin(), m_gaps.end(), lo,
            [](int64_t s, const CSampleGap& g) { return s < static_cast<int64_t>(g.m_nStart); });
        if (after != m_gaps.begin() && static_cast<int64_t>((after - 1)->m_nEnd) >= hi) {
            columns[x] = CColumnSpan{};
        }
    }
}

}  // namespace somatrix
