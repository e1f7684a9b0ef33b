#include "ui/monitor/draw_wave3_wnd.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace somatrix {

namespace {
// The plot's texts.
constexpr char kZoomIn[] = "放大";
constexpr char kZoomOut[] = "缩小";
constexpr char kScaleMode[] = "缩放模式";
constexpr char kScaleX[] = "缩放X轴向";
constexpr char kScaleY[] = "缩放Y轴向";
constexpr char kDisplayMode[] = "波形显示";
constexpr char kPageDisplay[] = "翻屏显示";
constexpr char kScrollDisplay[] = "滚动显示";
constexpr char kZoomLabel[] = "{x=100%; y=100%}";
constexpr char kAccessibleName[] = "实时波形";

bool ShiftHeld() {
    return ((QGuiApplication::keyboardModifiers() | QGuiApplication::queryKeyboardModifiers()) &
            Qt::ShiftModifier) != 0;
}
}  // namespace

CDrawWave3Wnd::CDrawWave3Wnd(QWidget* parent) : QWidget(parent), m_pacer(this) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QString::fromUtf8(kAccessibleName));
    AddCommand(&m_menu, ids::kPlotZoomIn, kZoomIn, false);
    AddCommand(&m_menu, ids::kPlotZoomOut, kZoomOut, false);
    QMenu* scale = m_menu.addMenu(QString::fromUtf8(kScaleMode));
    AddCommand(scale, ids::kPlotScaleX, kScaleX, true);
    AddCommand(scale, ids::kPlotScaleY, kScaleY, true);
    QMenu* display = m_menu.addMenu(QString::fromUtf8(kDisplayMode));
    AddCommand(display, ids::kPlotPageDisplay, kPageDisplay, true);
    AddCommand(display, ids::kPlotScrollDisplay, kScrollDisplay, true);
    AddCommand(&m_menu, ids::kPlotZoomLabel, kZoomLabel, false);
}

CDrawWave3Wnd::~CDrawWave3Wnd() = default;

QAction* CDrawWave3Wnd::AddCommand(QMenu* menu, int id, const char* text, bool checkable) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setData(id);
    action->setCheckable(checkable);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    return action;
}

void CDrawWave3Wnd::AddSample(int value, int, int) {
    Repaint(m_wave.AddSample(value));
}

void CDrawWave3Wnd::Clear() {
    Repaint(m_wave.Clear());
}

void CDrawWave3Wnd::SetZoom(int zoomX, int zoomY) {
    Repaint(m_wave.SetZoom(zoomX, zoomY));
}

void CDrawWave3Wnd::OnCommand(int id) {
    switch (id) {
        case ids::kPlotZoomIn:
            Repaint(m_wave.ZoomIn(ShiftHeld()));
            break;
        case ids::kPlotZoomOut:
            Repaint(m_wave.ZoomOut(ShiftHeld()));
            break;
        case ids::kPlotScaleX:
            m_wave.ToggleScaleX();
            break;
        case ids::kPlotScaleY:
            m_wave.ToggleScaleY();
            break;
        case ids::kPlotPageDisplay:
            Repaint(m_wave.SetPageDisplay());
            break;
        case ids::kPlotScrollDisplay:
            Repaint(m_wave.SetScrollDisplay());
            break;
        default:
            break;  // the zoom label does nothing
    }
}

QMenu* CDrawWave3Wnd::PrepareContextMenu() {
    const auto walk = [this](QMenu* menu, auto&& self) -> void {
        for (QAction* action : menu->actions()) {
            if (action->menu()) {
                self(action->menu(), self);
                continue;
            }
            switch (action->data().toInt()) {
                case ids::kPlotScaleX:
                    action->setChecked(m_wave.ScaleX());
                    break;
                case ids::kPlotScaleY:
                    action->setChecked(m_wave.ScaleY());
                    break;
                case ids::kPlotPageDisplay:
                    action->setChecked(!m_wave.Scroll());
                    break;
                case ids::kPlotScrollDisplay:
                    action->setChecked(m_wave.Scroll());
                    break;
                case ids::kPlotZoomLabel:
                    action->setText(QString::fromStdString(m_wave.ZoomLabel()));
                    break;
                default:
                    break;
            }
        }
    };
    walk(&m_menu, walk);
    return &m_menu;
}

void CDrawWave3Wnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    PrepareContextMenu()->exec(QCursor::pos());
}

void CDrawWave3Wnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_wave.Resize(width(), height());
    update();
}

void CDrawWave3Wnd::Repaint(const CPlotRepaint& repaint) {
    switch (repaint.m_eKind) {
        case CPlotRepaint::kNone:
            break;
        case CPlotRepaint::kStrip:
            m_pacer.Invalidate(
                QRect(repaint.m_nLeft, 0, repaint.m_nRight - repaint.m_nLeft, height()));
            break;
        case CPlotRepaint::kWhole:
        case CPlotRepaint::kWholeNoErase:
            m_pacer.InvalidateAll();
            break;
    }
}

void CDrawWave3Wnd::paintEvent(QPaintEvent* event) {
    // Only the columns of the update region are walked: a strip costs a few dozen points.
    const QRect area = event->rect();
    m_pacer.Painted();
    QPainter painter(this);
    painter.fillRect(area, Qt::black);
    m_wave.BuildTrace(area.left(), area.right() + 1, m_trace);
    if (m_trace.empty()) {
        return;
    }
    m_polygon.resize(static_cast<qsizetype>(m_trace.size()));
    for (size_t i = 0; i < m_trace.size(); ++i) {
        m_polygon[static_cast<qsizetype>(i)] = QPoint(m_trace[i].m_nX, m_trace[i].m_nY);
    }
    painter.setPen(QPen(Qt::white, 1));
    if (m_polygon.size() == 1) {
        painter.drawPoint(m_polygon[0]);
    } else {
        painter.drawPolyline(m_polygon);
    }
}

}  // namespace somatrix
