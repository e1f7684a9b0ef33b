#include "review/portion_view.h"

#include <algorithm>

namespace somatrix {

void CPortionView::SetTotal(int64_t count) {
    m_nTotal = count < 0 ? 0 : count;
    m_nViewStart = 0;
    m_nViewEnd = m_nTotal;
    m_nSelStart = m_nSelEnd = 0;
}

void CPortionView::SetView(int64_t start, int64_t end) {
    m_nViewStart = start;
    m_nViewEnd = end;
}

void CPortionView::SetSelection(int64_t low, int64_t high) {
    m_nSelStart = low;
    m_nSelEnd = high;
}

CPixelRange CPortionView::ViewBox(int32_t w) const {
    if (m_nTotal == 0) {
        return {0, w};
    }
    CPixelRange box{static_cast<int32_t>(m_nViewStart * w / m_nTotal),
                    static_cast<int32_t>(m_nViewEnd * w / m_nTotal)};
    if (box.m_nRight - box.m_nLeft < kMinViewBoxPixels && w >= kMinViewBoxPixels) {
        box.m_nLeft = std::clamp(box.m_nLeft, 0, w - kMinViewBoxPixels);
        box.m_nRight = box.m_nLeft + kMinViewBoxPixels;
    }
    return box;
}

CPixelRange CPortionView::SelectionBox(int32_t w) const {
    if (m_nTotal == 0) {
        return ViewBox(w);
    }
    return {static_cast<int32_t>(w * m_nSelStart / m_nTotal),
            static_cast<int32_t>(w * m_nSelEnd / m_nTotal)};
}

void CPortionView::ButtonDown(int32_t x, int32_t y) {
    m_nLastX = x;
    m_nLastY = y;
}

bool CPortionView::Drag(int32_t x, int32_t y) {
    if ((x == m_nLastX && y == m_nLastY) || m_nLastX == -1 || m_nLastY == -1) {
        return false;
    }
    if (x != m_nLastX && m_nTotal != 0 && m_nWidth > 0) {
        // The box moves by the pointer's movement scaled to samples; the span never changes and
        // the view stops at either end.
        const int64_t c = static_cast<int64_t>(x - m_nLastX) * m_nTotal / m_nWidth;
        if (c > 0) {
            if (m_nViewEnd + c > m_nTotal) {
                m_nViewStart += m_nTotal - m_nViewEnd;
                m_nViewEnd = m_nTotal;
            } else {
                m_nViewStart += c;
                m_nViewEnd += c;
            }
        } else if (c < 0) {
            if (m_nViewStart < -c) {
                m_nViewEnd -= m_nViewStart;
                m_nViewStart = 0;
            } else {
                m_nViewStart += c;
                m_nViewEnd += c;
            }
        }
    }
    m_nLastX = x;
    m_nLastY = y;
    return true;
}

}  // namespace somatrix
