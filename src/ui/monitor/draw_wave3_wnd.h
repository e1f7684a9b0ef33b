#pragma once
// The live waveform plot of monitoring mode: one white trace on black, fed sample by sample by
// the view's AddSample, painted later from the event loop. The ring, zoom and mapping live in
// CLiveWave; this window forwards to it, paces its repaints and paints what it says.
#include <QMenu>
#include <QPolygon>
#include <QWidget>
#include <vector>

#include "display/live_wave.h"
#include "ui/monitor/paint_pacer.h"

class QAction;

namespace somatrix {

// Context-menu commands of the plot (menu 313).
namespace ids {
inline constexpr int kPlotMenu = 313;
inline constexpr int kPlotZoomIn = 32793;
inline constexpr int kPlotZoomOut = 32794;
inline constexpr int kPlotScaleX = 32795;
inline constexpr int kPlotScaleY = 32796;
inline constexpr int kPlotPageDisplay = 32797;
inline constexpr int kPlotScrollDisplay = 32798;
inline constexpr int kPlotZoomLabel = 32799;
inline constexpr int kPlotWindow = 59748;
}  // namespace ids

class CDrawWave3Wnd : public QWidget {
    Q_OBJECT
public:
    explicit CDrawWave3Wnd(QWidget* parent = nullptr);
    ~CDrawWave3Wnd() override;

    // One decoded sample; only `value` is drawn.
    void AddSample(int value, int aux1, int aux2);
    // Empties the plot (a device selection): the page restarts with nothing drawn.
    void Clear();
    // Zoom set by a device selection (the defaults a reset restores stay as they are).
    void SetZoom(int zoomX, int zoomY);

    // A context-menu command by id; zoom in and out reset when Shift is held.
    void OnCommand(int id);
    const CLiveWave& Wave() const { return m_wave; }
    // The context menu as it is about to be shown (checks and zoom label brought up to date).
    QMenu* PrepareContextMenu();
    const CPaintPacer& Pacer() const { return m_pacer; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Repaint(const CPlotRepaint& repaint);
    QAction* AddCommand(QMenu* menu, int id, const char* text, bool checkable);

    CLiveWave m_wave;
    CPaintPacer m_pacer;
    QMenu m_menu;
    std::vector<CPlotPoint> m_trace;  // reused by every paint
    QPolygon m_polygon;
};

}  // namespace somatrix
