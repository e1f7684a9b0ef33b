#pragma once
// State and arithmetic of the recording overview: which part of the recording the wave window
// shows, where the selection lies, and the relative pan by dragging. Products of samples and
// pixels are taken in 64 bits, so recordings of a day or more map and pan correctly. Owned by
// CPortionWnd; GUI thread only.
#include <cstdint>

namespace somatrix {

struct CPixelRange {
    int32_t m_nLeft = 0;
    int32_t m_nRight = 0;
};

class CPortionView {
public:
    // A new recording: the view covers it, no selection.
    void SetTotal(int64_t count);
    void SetView(int64_t start, int64_t end);
    void SetSelection(int64_t low, int64_t high);
    void SetWidth(int32_t width) { m_nWidth = width; }

    // Narrowest view box drawn: one column of outline and one of shadow, so a view far shorter
    // than an overview pixel still shows where it is.
    static constexpr int32_t kMinViewBoxPixels = 2;

    // The view box over a strip w pixels wide (the whole width when there are no samples), at
    // least kMinViewBoxPixels wide.
    CPixelRange ViewBox(int32_t w) const;
    // Whether a selection is drawn: unless both ends are 0, so a drag from the left edge shows.
    bool HasSelection() const { return m_nSelStart != 0 || m_nSelEnd != 0; }
    CPixelRange SelectionBox(int32_t w) const;

    void ButtonDown(int32_t x, int32_t y);
    // A move with the button held. Returns true when the move is handled (the caller redraws and
    // hands the view on), false when it is ignored.
    bool Drag(int32_t x, int32_t y);

    int64_t Total() const { return m_nTotal; }
    int64_t ViewStart() const { return m_nViewStart; }
    int64_t ViewEnd() const { return m_nViewEnd; }
    int64_t SelStart() const { return m_nSelStart; }
    int64_t SelEnd() const { return m_nSelEnd; }

private:
    int64_t m_nTotal = 0;
    int64_t m_nViewStart = 0;
    int64_t m_nViewEnd = 0;
    int64_t m_nSelStart = 0;
    int64_t m_nSelEnd = 0;
    int32_t m_nWidth = 0;
    int32_t m_nLastX = -1;  // -1 until a button-down
    int32_t m_nLastY = -1;
};

}  // namespace somatrix
