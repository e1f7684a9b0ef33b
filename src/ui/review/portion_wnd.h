#pragma once
// The recording overview: paints the view box and the selection over the whole recording and
// turns drags into pans of the wave window's view (through the review display). The arithmetic
// is CPortionView's.
#include <QWidget>

#include "review/portion_view.h"
#include "ui/review/mark_ticks.h"

namespace somatrix {

class CWaveDispWnd;

class CPortionWnd : public QWidget {
    Q_OBJECT
public:
    explicit CPortionWnd(CWaveDispWnd* parent);

    void SetTotal(int64_t count);
    void SetView(int64_t start, int64_t end);
    void SetSelection(int64_t low, int64_t high);
    // Annotation ticks along the top edge.
    void SetMarks(CMarkTicks marks);

    const CPortionView& Model() const { return m_model; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    CWaveDispWnd* m_pParent;
    CPortionView m_model;
    CMarkTicks m_marks;
};

}  // namespace somatrix
