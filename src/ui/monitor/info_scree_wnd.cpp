#include "ui/monitor/info_scree_wnd.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace somatrix {

namespace {
constexpr char kAccessibleName[] = "测量数值";
constexpr char kFace[] = "宋体";
// Where "宋体" is not installed: its Windows name, then the CJK serif and sans faces of common
// Linux installations (a serif face is closest to 宋体).
constexpr const char* kFallbackFaces[] = {
    "SimSun",         "NSimSun",           "Noto Serif CJK SC",  "Noto Sans CJK SC",
    "AR PL UMing CN", "WenQuanYi Zen Hei", "Droid Sans Fallback"};

const QColor kNavy(0, 0, 128);
const QColor kGreen(0, 255, 0);
const QColor kLightYellow(255, 255, 128);
}  // namespace

QFont CInfoScreeWnd::PanelFont(int pixelHeight, int averageWidth) {
    QStringList families = {QString::fromUtf8(kFace)};
    const QStringList installed = QFontDatabase::families();
    for (const char* face : kFallbackFaces) {
        if (installed.contains(QString::fromLatin1(face))) {
            families.append(QString::fromLatin1(face));
        }
    }
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelHeight);
    font.setWeight(static_cast<QFont::Weight>(800));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setStyleHint(QFont::TypeWriter);  // modern family
    // The character width is given as well, as the average of a face whose Latin characters
    // are half as wide as its ideographs: stretch the face so that half an ideograph is that
    // wide (fonts with many ideographs report a misleading average of their own).
    const int natural = QFontMetrics(font).horizontalAdvance(QChar(0x6C34)) / 2;  // 水
    if (natural > 0 && averageWidth > 0) {
        font.setStretch(std::clamp(averageWidth * 100 / natural, 50, 200));
    }
    return font;
}

CInfoScreeWnd::CInfoScreeWnd(QWidget* parent)
    : QWidget(parent), m_pacer(this), m_small(PanelFont(14, 9)), m_large(PanelFont(16, 11)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QString::fromUtf8(kAccessibleName));
    m_panel.ShowHeartRate(true);
    m_clock.start();
    m_rateTimer.setInterval(250);
    connect(&m_rateTimer, &QTimer::timeout, this, [this] { UpdateHeartRate(); });
}

CInfoScreeWnd::~CInfoScreeWnd() = default;

QRect CInfoScreeWnd::HeaderBand() const {
    return QRect(0, 0, width(), CInfoPanel::kHeaderHeight);
}

QRect CInfoScreeWnd::ValueArea() const {
    return QRect(0, CInfoPanel::kValueTop, width(), height() - CInfoPanel::kValueTop);
}

void CInfoScreeWnd::SetValues(int v1, int v2, int v3, int v4) {
    m_panel.SetValues(v1, v2, v3, v4);
    m_pacer.Invalidate(ValueArea());
}

void CInfoScreeWnd::SetResultValues(int v1, int v2, int v3, int v4) {
    m_panel.SetResultValues(v1, v2, v3, v4);
    m_pacer.Invalidate(ValueArea());
}

void CInfoScreeWnd::SetMaxMin(bool on, int max1, int min1, int max2, int min2) {
    if (m_panel.SetMaxMin(on, max1, min1, max2, min2)) {
        m_pacer.Invalidate(HeaderBand());
    }
    m_pacer.Invalidate(ValueArea());
}

void CInfoScreeWnd::SetSensor(uint8_t type, const QString& name) {
    m_panel.SetSensor(type, name.toStdString());
    m_beats.SetSensorType(type);
    if (m_beats.Active()) {
        m_rateTimer.start();
    } else {
        m_rateTimer.stop();
    }
    m_pacer.InvalidateAll();
}

void CInfoScreeWnd::SetMeasuring(bool measuring) {
    m_panel.SetMeasuring(measuring);
    m_pacer.InvalidateAll();
}

void CInfoScreeWnd::SetAmplitude(int amplitude) {
    m_panel.SetAmplitude(amplitude);  // shown with the next repaint
}

void CInfoScreeWnd::AddBeatSample(int value) {
    if (m_beats.AddSample(value, static_cast<double>(m_clock.elapsed()) / 1000.0)) {
        UpdateHeartRate();
    }
}

void CInfoScreeWnd::UpdateHeartRate() {
    const int bpm = m_beats.Bpm(static_cast<double>(m_clock.elapsed()) / 1000.0);
    if (bpm != m_panel.HeartRate()) {
        m_panel.SetHeartRate(bpm);
        m_pacer.Invalidate(ValueArea());
    }
}

void CInfoScreeWnd::paintEvent(QPaintEvent*) {
    m_pacer.Painted();
    QPainter painter(this);
    painter.fillRect(rect(), kNavy);
    const QFontMetrics smallMetrics(m_small);
    const QFontMetrics largeMetrics(m_large);
    for (const CInfoItem& item : m_panel.Layout(width(), height())) {
        const bool small = item.m_eFont == CInfoItem::kSmall;
        const QFontMetrics& metrics = small ? smallMetrics : largeMetrics;
        const QString text = QString::fromStdString(item.m_strText);
        painter.setFont(small ? m_small : m_large);
        painter.setPen(item.m_eColour == CInfoItem::kHeader ? kGreen : kLightYellow);
        const int x = item.m_bRight ? item.m_nX - metrics.horizontalAdvance(text) : item.m_nX;
        painter.drawText(x, item.m_nY + metrics.ascent(), text);
    }
    const QString description = QString::fromStdString(m_panel.Description());
    if (description != accessibleDescription()) {
        setAccessibleDescription(description);
    }
}

}  // namespace somatrix
