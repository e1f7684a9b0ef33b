#include "display/live_wave.h"

#include <algorithm>
#include <cstdio>

namespace somatrix {

CLiveWave::CLiveWave() : m_wave(kRingSize, 0), m_scratch(kRingSize, 0) {}

void CLiveWave::Resize(int width, int height) {
    m_nWidth = std::max(0, width);
    m_nHeight = std::max(0, height);
    RecalcCapacity();
}

void CLiveWave::RecalcCapacity() {
    int capacity = m_nZoomX > 0 ? m_nWidth * kWindowExtX / m_nZoomX : 0;
    if (capacity > kRingSize || capacity < 1) {
        capacity = kRingSize;
    }
    // The kept samples in display order, oldest first: a narrower page drops the newest.
    int kept = 0;
    auto keep = [&](int from, int to) {
        for (int slot = from; slot < to && kept < capacity; ++slot) {
            m_scratch[static_cast<size_t>(kept++)] = m_wave[static_cast<size_t>(slot)];
        }
    };
    if (m_nStart < m_nCount) {
        keep(m_nStart, m_nCount);
    } else if (m_nCount > 0) {
        keep(m_nStart, std::min(m_nCapacity, kRingSize));
        keep(0, m_nCount);
    }
    std::copy_n(m_scratch.begin(), kept, m_wave.begin());
    m_nStart = 0;
    m_nCount = kept;
    m_nCapacity = capacity;
}

CPlotRepaint CLiveWave::AddSample(int value) {
    const auto sample = static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu);
    if (m_nCount < 0 || m_nCount >= m_nCapacity) {
        // Page full or ring wrapped: the page restarts at the left edge.
        m_nCount = 0;
        m_wave[0] = sample;
        m_nCount = 1;
        if (m_bScroll && m_nStart == 0) {
            m_nStart = 1;
        }
        return {CPlotRepaint::kWhole, 0, 0};
    }
    if (m_bScroll && m_nCount == m_nStart && m_nCount != 0) {
        if (++m_nStart >= m_nCapacity) {
            m_nStart = 0;
        }
    }
    m_wave[static_cast<size_t>(m_nCount)] = sample;
    ++m_nCount;
    if (m_bScroll) {
        return {CPlotRepaint::kWholeNoErase, 0, 0};
    }
    const int x = m_nZoomX * m_nCount / kWindowExtX;
    return {CPlotRepaint::kStrip, x - kStripHalf, x + kStripHalf};
}

CPlotRepaint CLiveWave::Clear() {
    m_nStart = 0;
    m_nCount = 0;
    return {CPlotRepaint::kWhole, 0, 0};
}

void CLiveWave::ResetZoom() {
    m_nZoomX = m_nDefZoomX;
    m_nZoomY = m_nDefZoomY;
}

CPlotRepaint CLiveWave::AfterZoom() {
    RecalcCapacity();
    return {CPlotRepaint::kWhole, 0, 0};
}

CPlotRepaint CLiveWave::SetZoom(int zoomX, int zoomY) {
    m_nZoomX = zoomX;
    m_nZoomY = zoomY;
    return AfterZoom();
}

// The limits are compared before stepping, so Y may pass one by less than a step (22 + 36 * 5
// ends at 202); at both limits the next step resets.
CPlotRepaint CLiveWave::ZoomIn(bool shift) {
    if (shift || (m_nZoomX == kMaxZoomX && m_nZoomY == kMaxZoomY)) {
        ResetZoom();
    } else {
        if (m_bScaleX && m_nZoomX < kMaxZoomX) {
            m_nZoomX += kZoomStepX;
        }
        if (m_bScaleY && m_nZoomY < kMaxZoomY) {
            m_nZoomY += kZoomStepY;
        }
    }
    return AfterZoom();
}

CPlotRepaint CLiveWave::ZoomOut(bool shift) {
    if (shift || (m_nZoomX == kMinZoom && m_nZoomY == kMinZoom)) {
        ResetZoom();
    } else {
        if (m_bScaleX && m_nZoomX > kMinZoom) {
            m_nZoomX -= kZoomStepX;
        }
        if (m_bScaleY && m_nZoomY > kMinZoom) {
            m_nZoomY -= kZoomStepY;
        }
    }
    return AfterZoom();
}

CPlotRepaint CLiveWave::SetPageDisplay() {
    m_bScroll = false;
    m_nStart = 0;
    return {CPlotRepaint::kWhole, 0, 0};
}

CPlotRepaint CLiveWave::SetScrollDisplay() {
    m_bScroll = true;
    return {CPlotRepaint::kWhole, 0, 0};
}

std::string CLiveWave::ZoomLabel() const {
    char text[64];
    std::snprintf(text, sizeof text, "[X=%d%%; Y=%d%%]", m_nZoomX, m_nZoomY);
    return text;
}

int CLiveWave::DisplayCount() const {
    if (m_nStart < m_nCount) {
        return std::min(m_nCount - m_nStart, kRingSize - m_nStart);
    }
    if (m_nCount > 0) {
        return std::min(std::max(0, m_nCapacity - m_nStart) + m_nCount, kRingSize);
    }
    return 0;
}

uint16_t CLiveWave::DisplaySample(int i) const {
    int slot = m_nStart + i;
    if (m_nStart >= m_nCount) {
        const int tail = std::max(0, m_nCapacity - m_nStart);
        slot = i < tail ? m_nStart + i : i - tail;
    }
    return m_wave[static_cast<size_t>(slot)];
}

int CLiveWave::PixelY(uint16_t v) const {
    const int h = v * m_nZoomY;
    const int scaled = h >= 0 ? (h + 50) / 100 : -((-h + 50) / 100);
    return (m_nHeight - 1) - scaled;
}

void CLiveWave::BuildTrace(int left, int right, std::vector<CPlotPoint>& out) const {
    out.clear();
    const int n = DisplayCount();
    if (n == 0 || right <= left) {
        return;
    }
    int first = 0;
    int last = n - 1;
    if (m_nZoomX > 0) {
        // One sample either side of the columns, for the segments that cross their edges.
        const auto ceilDiv = [](int a, int b) { return a <= 0 ? 0 : (a + b - 1) / b; };
        first = std::max(0, ceilDiv(left * kWindowExtX, m_nZoomX) - 1);
        last = std::min(n - 1, ceilDiv(right * kWindowExtX, m_nZoomX));
    }
    int column = PixelX(first);
    int yFirst = PixelY(DisplaySample(first));
    int yLow = yFirst, yHigh = yFirst, yLast = yFirst;
    auto flush = [&]() {
        for (int y : {yFirst, yLow, yHigh, yLast}) {
            if (out.empty() || out.back().m_nX != column || out.back().m_nY != y) {
                out.push_back({column, y});
            }
        }
    };
    for (int i = first + 1; i <= last; ++i) {
        const int x = PixelX(i);
        const int y = PixelY(DisplaySample(i));
        if (x != column) {
            flush();
            column = x;
            yFirst = yLow = yHigh = y;
        }
        yLow = std::min(yLow, y);
        yHigh = std::max(yHigh, y);
        yLast = y;
    }
    flush();
}

}  // namespace somatrix
