#pragma once
// The review wave window: paints the off-screen image of the view, the inverted selection and
// the cursor line, and forwards mouse, wheel and context-menu commands to its CWaveView. Reports
// every view, scale and selection change to the review display, its parent.
#include <QImage>
#include <QWidget>
#include <vector>

#include "review/wave_view.h"
#include "ui/review/mark_ticks.h"

class QMenu;

namespace somatrix {

class CWaveDispWnd;

class CWaveDataWnd : public QWidget {
    Q_OBJECT
public:
    explicit CWaveDataWnd(CWaveDispWnd* parent);

    // New samples after a load or a cut: view and selection reset, scales follow the data.
    void SetData(const uint16_t* samples, uint32_t count);
    // Annotation ticks, drawn as labelled vertical lines over the trace.
    void SetMarks(CMarkTicks marks);
    const CMarkTicks& Marks() const { return m_marks; }
    // Stretches without data, left empty by the trace (set before SetData).
    void SetGaps(std::vector<CSampleGap> gaps) { m_view.SetGaps(std::move(gaps)); }
    // The overview's pan: a new view at the same scale.
    void SetView(int64_t start, int64_t end);
    // One of the context menu's commands (ids of menu 312).
    void OnCommand(int id);
    // Menu 312 as it pops up now (grid item checked while the grid is on); owned by the caller.
    QMenu* CreateContextMenu();

    const CWaveView& View() const { return m_view; }
    const QImage& Image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void Render();
    void ReportView();
    // Repaints the columns [left - 3, right + 3] over the full height.
    void UpdateColumns(int left, int right);
    int SelLeftPixel() const;
    int SelRightPixel() const;

    CWaveDispWnd* m_pParent;
    CWaveView m_view;
    QImage m_image;  // the size of the window, made again on every resize
    std::vector<CColumnSpan> m_columns;
    CMarkTicks m_marks;
};

}  // namespace somatrix
