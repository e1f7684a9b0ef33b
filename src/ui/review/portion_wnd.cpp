#include "ui/review/portion_wnd.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/review/review_colors.h"
#include "ui/review/review_texts.h"
#include "ui/review/wave_disp_wnd.h"

namespace somatrix {

CPortionWnd::CPortionWnd(CWaveDispWnd* parent) : QWidget(parent), m_pParent(parent) {
    setAccessibleName(review::OverviewName());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CPortionWnd::SetTotal(int64_t count) {
    m_model.SetTotal(count);
    update();
}

void CPortionWnd::SetView(int64_t start, int64_t end) {
    m_model.SetView(start, end);
    update();
}

void CPortionWnd::SetSelection(int64_t low, int64_t high) {
    m_model.SetSelection(low, high);
    update();
}

void CPortionWnd::SetMarks(CMarkTicks marks) {
    m_marks = std::move(marks);
    update();
}

void CPortionWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width();
    const int t = 0;
    const int b = height();
    painter.fillRect(rect(), review::kOverviewBackground);

    // The box covers columns left..right-1 and every row; its outline is stroked on those
    // edges, then the shadow runs along the bottom row and up the right column.
    const CPixelRange box = m_model.ViewBox(w);
    const int left = box.m_nLeft;
    const int right = box.m_nRight;
    if (right > left) {
        painter.fillRect(QRect(left, t, right - left, b - t), review::kViewBoxFill);
        painter.setPen(review::kViewBoxOutline);
        painter.drawRect(QRect(left, t, right - left - 1, b - t - 1));
        painter.setPen(review::kViewBoxShadow);
        painter.drawLine(left + 1, b - 1, right - 1, b - 1);
        painter.drawLine(right - 1, b - 1, right - 1, t);
    }

    if (m_model.HasSelection()) {
        const CPixelRange sel = m_model.SelectionBox(w);
        painter.setPen(review::kOverviewSelection);
        if (sel.m_nLeft == sel.m_nRight) {
            painter.drawLine(sel.m_nLeft, t, sel.m_nLeft, b - 1);
        } else {
            const QRect r(QPoint(sel.m_nLeft, t + 1), QPoint(sel.m_nRight - 1, b - 2));
            painter.fillRect(r, review::kOverviewSelection);
        }
    }
    const int64_t total = m_model.Total();
    if (total > 0) {
        painter.setPen(review::kMarkTick);
        for (const CMarkTick& mark : m_marks) {
            const auto x = static_cast<int>(mark.m_nSample * w / total);
            painter.drawLine(x, t, x, t + (b - t) / 3);
        }
    }
}

void CPortionWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_model.SetWidth(width());
}

void CPortionWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        m_model.ButtonDown(p.x(), p.y());
    }
}

void CPortionWnd::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const QPoint p = event->position().toPoint();
    if (!m_model.Drag(p.x(), p.y())) {
        return;
    }
    update();
    if (m_pParent != nullptr) {
        m_pParent->SetView(m_model.ViewStart(), m_model.ViewEnd());
    }
}

}  // namespace somatrix
