#include "ui/monitor/somatrix_view.h"

#include <QResizeEvent>

#include "protocol/frame.h"
#include "ui/shell/command_ids.h"
#include "ui/shell/message_box.h"

namespace somatrix {

namespace {

// The view's inner rectangle leaves 2 px at the left, top and right; the first 64 px of it stay
// empty in both modes.
constexpr int kInset = 2;
constexpr int kTopBand = 66;
constexpr int kPanelRight = 224;
constexpr int kPlotBottom = 312;
constexpr int kExplainLeft = 222;

constexpr int kZoomX = 60;
constexpr int kZoomYHeartSound = 100;
constexpr int kZoomYOther = 22;

// Left, top, right, bottom as the layout gives them (right and bottom exclusive).
void Place(QWidget& child, int left, int top, int right, int bottom) {
    child.setGeometry(left, top, right - left, bottom - top);
}

}  // namespace

CSomatrixView::CSomatrixView(const QString& programFolder, CDeviceAccess& devices, QWidget* parent)
    : QWidget(parent),
      // The view enters monitoring mode before its children exist.
      m_nMode(kModeMonitor),
      m_wndWave(this),
      m_wndWaveDisp(this),
      m_dlgOper(this, devices, this),
      m_dlgExplain(programFolder, this) {
    m_wndWave.setObjectName(QStringLiteral("window%1").arg(ids::kLivePlotId));
    m_wndWaveDisp.setObjectName(QStringLiteral("window%1").arg(ids::kReviewDisplayId));
    m_dlgOper.setObjectName(QStringLiteral("dialog101"));
    m_dlgExplain.setObjectName(QStringLiteral("dialog102"));
    m_dlgExplain.setAccessibleName(QStringLiteral("传感器说明"));
    // Until the first resize arranges them, the children sit at the empty rectangle.
    const std::initializer_list<QWidget*> children = {&m_wndWave, &m_wndWaveDisp, &m_dlgOper,
                                                      &m_dlgExplain};
    for (QWidget* child : children) {
        child->setGeometry(QRect());
    }
}

CSomatrixView::~CSomatrixView() = default;

void CSomatrixView::SetMode(int mode) {
    m_nMode = mode;
    emit ModeChanged(mode);
}

void CSomatrixView::AddSample(int value, int aux1, int aux2) {
    if (m_nSensorType == type::kSkinResistance) {
        if (value == -1) {
            return;  // no reading: drawn as nothing rather than as 0 after the division
        }
        value /= 10;  // C++ division truncates toward zero, as required for negative samples
    }
    m_wndWave.AddSample(value, aux1, aux2);
}

void CSomatrixView::SetSensorType(uint8_t sensorType) {
    m_nSensorType = sensorType;
    // A new sensor starts on an empty page: its trace never continues the previous one's.
    m_wndWave.Clear();
    m_wndWave.SetZoom(kZoomX, sensorType == type::kHeartSound ? kZoomYHeartSound : kZoomYOther);
}

void CSomatrixView::ArrangeChildren() {
    const int w = width();
    const int h = height();
    if (m_nMode == kModeMonitor) {
        m_dlgOper.show();
        m_wndWave.show();
        m_dlgExplain.show();
        m_wndWaveDisp.hide();
        Place(m_dlgOper, kInset, kTopBand, kPanelRight, h);
        Place(m_wndWave, kPanelRight, kTopBand, w - kInset, kPlotBottom);
        Place(m_dlgExplain, kExplainLeft, kPlotBottom, w - kInset, h);
    } else if (m_nMode == kModeReview) {
        m_dlgOper.hide();
        m_wndWave.hide();
        m_dlgExplain.hide();
        m_wndWaveDisp.show();
        Place(m_wndWaveDisp, kInset, kTopBand, w - kInset, h);
    }
}

void CSomatrixView::ShowReviewLayout() {
    SetMode(kModeReview);
    m_dlgOper.hide();
    m_dlgExplain.hide();
    m_wndWave.hide();
    m_wndWaveDisp.show();
    m_wndWaveDisp.setGeometry(0, 0, width() - 2 * kInset, height() - kInset);
}

void CSomatrixView::OnSwitchInterface() {
    SetMode(m_nMode == kModeMonitor ? kModeReview : kModeMonitor);
    ArrangeChildren();
}

void CSomatrixView::OnFileOpen() {
    ShowReviewLayout();
    m_wndWaveDisp.OpenWaveFile();
}

void CSomatrixView::OnFileSave() {
    if (m_nMode == kModeMonitor) {
        ShowMessageBox(this, QStringLiteral("请先切换到回放查看模式"));
        return;
    }
    m_wndWaveDisp.SaveWaveFile();
}

void CSomatrixView::OpenReviewFile(const QString& path) {
    ShowReviewLayout();
    m_wndWaveDisp.LoadWaveFile(path);
}

void CSomatrixView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ArrangeChildren();
}

}  // namespace somatrix
