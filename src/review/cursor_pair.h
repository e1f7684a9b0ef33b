#pragma once
// The two measurement cursors of the review wave window: two sample positions that the user
// drags, and the readout between them (each cursor's time and value, the time and value
// differences, and the rate 60 / dt that a beat-to-beat interval gives). Owned by CWaveDataWnd;
// GUI thread only. Positions are sample indices, so they stay on the trace through zoom and pan.
#include <cstdint>

namespace somatrix {

struct CCursorReadout {
    double m_dTimeA = 0.0;  // seconds from the recording's first sample
    double m_dTimeB = 0.0;
    double m_dValueA = 0.0;  // physical value (raw * scale + offset)
    double m_dValueB = 0.0;
    double m_dDeltaMs = 0.0;     // B - A, milliseconds
    double m_dDeltaValue = 0.0;  // B - A
    double m_dBpm = 0.0;         // 60 / |dt|; NaN when both cursors stand on one sample
};

class CCursorPair {
public:
    // Pixels either side of a cursor line that still grab it.
    static constexpr int32_t kGrabPixels = 4;

    bool Visible() const { return m_bVisible; }
    // Shows the cursors at a third and two thirds of the view [viewStart, viewEnd), or hides
    // them.
    void Toggle(int64_t viewStart, int64_t viewEnd);
    void Hide();
    // New data: cursors hidden, positions back inside [0, count).
    void SetCount(int64_t count);

    int64_t Sample(int which) const { return which == 0 ? m_nSampleA : m_nSampleB; }
    // Which cursor a press at pixel x takes (the nearer one within kGrabPixels), -1 for none.
    // pixelA and pixelB are the cursors' columns in the window.
    int Grab(int32_t x, int32_t pixelA, int32_t pixelB);
    bool Dragging() const { return m_nDragging >= 0; }
    // Moves the grabbed cursor to sample s (kept inside the recording); false without a grab.
    bool DragTo(int64_t s);
    void Release() { m_nDragging = -1; }
    // Places cursor `which` at sample s directly (kept inside the recording).
    void Place(int which, int64_t s);

    CCursorReadout Readout(const uint16_t* samples, double sampleRate, double scale = 1.0,
                           double offset = 0.0) const;

private:
    int64_t Clamp(int64_t s) const;

    bool m_bVisible = false;
    int64_t m_nCount = 0;
    int64_t m_nSampleA = 0;
    int64_t m_nSampleB = 0;
    int m_nDragging = -1;
};

}  // namespace somatrix
