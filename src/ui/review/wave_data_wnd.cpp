#include "ui/review/wave_data_wnd.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "ui/review/review_colors.h"
#include "ui/review/review_texts.h"
#include "ui/review/wave_disp_wnd.h"
#include "ui/review/wave_image.h"

namespace somatrix {

CWaveDataWnd::CWaveDataWnd(CWaveDispWnd* parent) : QWidget(parent), m_pParent(parent) {
    setAccessibleName(review::WaveName());
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CWaveDataWnd::SetData(const uint16_t* samples, uint32_t count) {
    m_view.SetData(samples, count);
    Render();
    if (m_pParent != nullptr) {
        m_pParent->SetValueRange(m_view.TopValue(), m_view.BottomValue());
    }
    ReportView();
}

void CWaveDataWnd::SetView(int64_t start, int64_t end) {
    m_view.SetView(start, end);
    Render();
}

void CWaveDataWnd::Render() {
    if (m_image.isNull()) {
        return;
    }
    RenderWaveImage(m_image, m_view, ETracePath::kColumns, m_columns);
    update();
}

void CWaveDataWnd::ReportView() {
    if (m_pParent != nullptr) {
        m_pParent->SetViewInfo(m_view.ViewStart(), m_view.ViewEnd(), m_view.YScale(),
                               m_view.XScale());
    }
}

int CWaveDataWnd::SelLeftPixel() const {
    return m_view.PixelOfSample(m_view.SelLow());
}
int CWaveDataWnd::SelRightPixel() const {
    return m_view.PixelOfSample(m_view.SelHigh());
}

void CWaveDataWnd::UpdateColumns(int left, int right) {
    update(QRect(left - 3, 0, right - left + 7, height()));
}

void CWaveDataWnd::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    if (m_image.isNull()) {
        painter.fillRect(area, review::kWaveBackground);
        return;
    }
    painter.drawImage(area.topLeft(), m_image, area);
    const int a = SelLeftPixel();
    const int b = SelRightPixel();
    const QRect inverted = QRect(a, 0, b - a, height()).intersected(area);
    if (!inverted.isEmpty()) {
        QImage part = m_image.copy(inverted);
        part.invertPixels();
        painter.drawImage(inverted.topLeft(), part);
    }
    painter.setPen(review::kWaveCursor);
    painter.drawLine(a, 0, a, height() - 1);
    for (const CMarkTick& mark : m_marks) {
        if (mark.m_nSample < m_view.ViewStart() || mark.m_nSample > m_view.ViewEnd()) {
            continue;
        }
        const int x = m_view.PixelOfSample(mark.m_nSample);
        painter.setPen(review::kMarkTick);
        painter.drawLine(x, 0, x, height() - 1);
        painter.drawText(x + 3, 12, mark.m_strText);
    }
}

void CWaveDataWnd::SetMarks(CMarkTicks marks) {
    m_marks = std::move(marks);
    update();
}

void CWaveDataWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize size = event->size();
    m_view.Resize(size.width(), size.height());
    m_image = size.isEmpty() ? QImage() : QImage(size, QImage::Format_RGB32);
    Render();
}

void CWaveDataWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const int x = event->position().toPoint().x();
    UpdateColumns(SelLeftPixel(), SelRightPixel());
    UpdateColumns(x - 2, x + 2);
    m_view.ButtonDown(x);
    if (m_pParent != nullptr) {
        m_pParent->SetSelection(m_view.SelStart(), m_view.SelEnd());
    }
}

void CWaveDataWnd::mouseMoveEvent(QMouseEvent* event) {
    const int oldLeft = SelLeftPixel();
    const int oldRight = SelRightPixel();
    if (!m_view.MouseMove(event->position().toPoint().x())) {
        return;
    }
    if (m_pParent != nullptr) {
        m_pParent->SetSelection(m_view.SelLow(), m_view.SelHigh());
    }
    UpdateColumns(std::min(oldLeft, SelLeftPixel()), std::max(oldRight, SelRightPixel()));
}

void CWaveDataWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (m_view.Dragging()) {
            m_view.ButtonUp();
            update();
        }
    } else if (event->button() == Qt::RightButton) {
        QMenu* menu = CreateContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(event->globalPosition().toPoint());
    }
}

void CWaveDataWnd::mouseDoubleClickEvent(QMouseEvent*) {
    // The second press of a double click starts no new selection.
}

void CWaveDataWnd::wheelEvent(QWheelEvent* event) {
    if (m_view.Wheel(event->position().toPoint().x(), event->angleDelta().y())) {
        Render();
        ReportView();
    }
    event->accept();
}

QMenu* CWaveDataWnd::CreateContextMenu() {
    auto* menu = new QMenu(this);
    const auto add = [&](int id, const QString& text) {
        QAction* action = menu->addAction(text, this, [this, id] { OnCommand(id); });
        action->setData(id);
        return action;
    };
    add(review::ids::kZoomInX, review::ZoomInX());
    add(review::ids::kZoomOutX, review::ZoomOutX());
    add(review::ids::kZoomInY, review::ZoomInY());
    add(review::ids::kZoomOutY, review::ZoomOutY());
    QAction* grid = add(review::ids::kGrid, review::ShowGrid());
    grid->setCheckable(true);
    grid->setChecked(m_view.GridOn());
    add(review::ids::kCut, review::CutText());
    return menu;
}

void CWaveDataWnd::OnCommand(int id) {
    switch (id) {
        case review::ids::kZoomInX:
            if (m_view.ZoomIn()) {
                Render();
                ReportView();
            }
            break;
        case review::ids::kZoomOutX:
            if (m_view.ZoomOut()) {
                Render();
                ReportView();
            }
            break;
        case review::ids::kGrid:
            m_view.ToggleGrid();
            Render();
            break;
        case review::ids::kCut:
            // The ordered selection, so a leftward drag removes what it covers.
            if (m_pParent != nullptr) {
                m_pParent->CutSelection(m_view.SelLow(), m_view.SelHigh());
            }
            break;
        default:  // the vertical zoom items do nothing
            break;
    }
}

}  // namespace somatrix
