#pragma once
// State and arithmetic of the live waveform plot: the sample ring, its capacity for the current
// width and X zoom, page and scrolling display, the zoom steps, the pixel mapping and what each
// new sample asks to be repainted. The plot window owns one and only paints what it says.
// Used on the GUI thread only; nothing is allocated per sample or per paint once it has run.
#include <cstdint>
#include <string>
#include <vector>

namespace somatrix {

struct CPlotPoint {
    int m_nX = 0;
    int m_nY = 0;
    bool operator==(const CPlotPoint&) const = default;
};

// What a change asks the window to repaint: nothing, the whole plot (erasing it or not), or the
// columns m_nLeft up to m_nRight - 1 over the full height, erased.
struct CPlotRepaint {
    enum EKind { kNone, kWhole, kWholeNoErase, kStrip };
    EKind m_eKind = kNone;
    int m_nLeft = 0;
    int m_nRight = 0;
    bool operator==(const CPlotRepaint&) const = default;
};

class CLiveWave {
public:
    // Wide enough for the X zoom of 10 on a plot of 3,276 pixels: every screen in use keeps its
    // page display full before the page restarts.
    static constexpr int kRingSize = 32768;
    static constexpr int kWindowExtX = 100;
    static constexpr int kWindowExtY = -100;
    static constexpr int kDefZoomX = 60;
    static constexpr int kDefZoomY = 22;
    static constexpr int kZoomStepX = 10;
    static constexpr int kZoomStepY = 5;
    static constexpr int kMinZoom = 10;
    static constexpr int kMaxZoomX = 2 * (kWindowExtX < 0 ? -kWindowExtX : kWindowExtX);
    static constexpr int kMaxZoomY = 2 * (kWindowExtY < 0 ? -kWindowExtY : kWindowExtY);
    // Half the width of the strip a page-display sample invalidates.
    static constexpr int kStripHalf = 4;

    CLiveWave();

    // The client area changed: remembered, then the capacity recomputed.
    void Resize(int width, int height);
    // One sample (its low 16 bits are kept); returns what to repaint.
    CPlotRepaint AddSample(int value);
    // Empties the ring: the page restarts at the left edge with nothing drawn.
    CPlotRepaint Clear();
    // Zoom of a device selection; the defaults that a reset restores stay as they are.
    CPlotRepaint SetZoom(int zoomX, int zoomY);
    // The context menu's zoom commands; `shift` resets to the defaults.
    CPlotRepaint ZoomIn(bool shift);
    CPlotRepaint ZoomOut(bool shift);
    void ToggleScaleX() { m_bScaleX = !m_bScaleX; }
    void ToggleScaleY() { m_bScaleY = !m_bScaleY; }
    CPlotRepaint SetPageDisplay();
    CPlotRepaint SetScrollDisplay();
    // "[X=%d%%; Y=%d%%]" of the current zoom, the context menu's label.
    std::string ZoomLabel() const;

    // Samples in display order: how many, and the value at position i (0 = leftmost).
    int DisplayCount() const;
    uint16_t DisplaySample(int i) const;
    // Pixel of display position i and of value v in a client area of the remembered height.
    int PixelX(int i) const { return i * m_nZoomX / kWindowExtX; }
    int PixelY(uint16_t v) const;
    // The trace through the columns left up to right - 1 (and the segments that enter them), at
    // most four points a pixel column: the first, lowest, highest and last sample of each column.
    // `out` is reused between paints.
    void BuildTrace(int left, int right, std::vector<CPlotPoint>& out) const;

    bool ScaleX() const { return m_bScaleX; }
    bool ScaleY() const { return m_bScaleY; }
    bool Scroll() const { return m_bScroll; }
    int Start() const { return m_nStart; }
    int Count() const { return m_nCount; }
    int ZoomX() const { return m_nZoomX; }
    int ZoomY() const { return m_nZoomY; }
    int Capacity() const { return m_nCapacity; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    uint16_t Slot(int slot) const { return m_wave[static_cast<size_t>(slot)]; }

private:
    void RecalcCapacity();
    void ResetZoom();
    CPlotRepaint AfterZoom();

    bool m_bScaleX = true;
    bool m_bScaleY = true;
    bool m_bScroll = false;
    int m_nStart = 0;
    int m_nCount = 0;
    int m_nZoomX = kDefZoomX;
    int m_nZoomY = kDefZoomY;
    int m_nDefZoomX = kDefZoomX;
    int m_nDefZoomY = kDefZoomY;
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<uint16_t> m_wave;
    std::vector<uint16_t> m_scratch;
    int m_nCapacity = 0;
};

}  // namespace somatrix
