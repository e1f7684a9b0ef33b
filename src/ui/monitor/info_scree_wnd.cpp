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

// The smallest size a row shrinks to; below it the texts would no longer be read.
constexpr int kMinTextPixels = 8;
// Space kept between two texts of a row and from the panel's edges.
constexpr int kTextGap = 4;

// Whether the texts of one row keep apart and stay inside a panel this wide.
bool RowFits(const std::vector<CPaintedText>& texts, int width) {
    for (size_t i = 0; i < texts.size(); ++i) {
        const QRect& a = texts[i].m_rc;
        if (a.left() < 0 || a.left() + a.width() > width) {
            return false;
        }
        for (size_t j = i + 1; j < texts.size(); ++j) {
            const QRect& b = texts[j].m_rc;
            if (a.left() < b.left() + b.width() + kTextGap &&
                b.left() < a.left() + a.width() + kTextGap) {
                return false;
            }
        }
    }
    return true;
}
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

std::vector<CPaintedText> CInfoScreeWnd::PaintedTexts() const {
    const std::vector<CInfoItem> items = m_panel.Layout(width(), height());
    std::vector<CPaintedText> out;
    out.reserve(items.size());
    // Row by row (the header is row -1): the texts of a row in one size, the largest that
    // keeps them apart and inside the panel.
    for (int row = -1; row < static_cast<int>(CInfoPanel::kRowOffsets.size()); ++row) {
        std::vector<const CInfoItem*> texts;
        for (const CInfoItem& item : items) {
            if (item.m_nRow == row) {
                texts.push_back(&item);
            }
        }
        if (texts.empty()) {
            continue;
        }
        const bool small = texts.front()->m_eFont == CInfoItem::kSmall;
        const int fullHeight = small ? 14 : 16;
        const int fullWidth = small ? 9 : 11;
        std::vector<CPaintedText> placed;
        for (int pixels = fullHeight; pixels >= kMinTextPixels; --pixels) {
            const QFont font = pixels == fullHeight
                                   ? (small ? m_small : m_large)
                                   : PanelFont(pixels, fullWidth * pixels / fullHeight);
            const QFontMetrics metrics(font);
            placed.clear();
            for (const CInfoItem* item : texts) {
                const QString text = QString::fromStdString(item->m_strText);
                const int w = metrics.horizontalAdvance(text);
                const int x = item->m_bRight ? item->m_nX - w : item->m_nX;
                placed.push_back({text, font, QRect(x, item->m_nY, w, metrics.height()),
                                  item->m_eColour == CInfoItem::kHeader});
            }
            if (RowFits(placed, width())) {
                break;
            }
        }
        out.insert(out.end(), placed.begin(), placed.end());
    }
    return out;
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
    for (const CPaintedText& text : PaintedTexts()) {
        painter.setFont(text.m_font);
        painter.setPen(text.m_bHeader ? kGreen : kLightYellow);
        painter.drawText(text.m_rc.left(), text.m_rc.top() + QFontMetrics(text.m_font).ascent(),
                         text.m_strText);
    }
    const QString description = QString::fromStdString(m_panel.Description());
    if (description != accessibleDescription()) {
        setAccessibleDescription(description);
    }
}

}  // namespace somatrix
