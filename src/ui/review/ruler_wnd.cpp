#include "ui/review/ruler_wnd.h"

#include <QPainter>

#include "review/ruler_labels.h"
#include "ui/review/review_colors.h"
#include "ui/review/review_texts.h"
#include "ui/review/wave_disp_wnd.h"

namespace somatrix {

CRulerWnd::CRulerWnd(CWaveDispWnd* parent) : QWidget(parent), m_pParent(parent) {
    setAccessibleName(review::TimeRulerName());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CRulerWnd::SetVertical(bool vertical) {
    m_bVertical = vertical;
    setAccessibleName(vertical ? review::ValueRulerName() : review::TimeRulerName());
}

void CRulerWnd::SetRange(int64_t start, int64_t end) {
    m_nRangeStart = start;
    m_nRangeEnd = end;
    update();
}

void CRulerWnd::SetValues(int32_t top, int32_t bottom) {
    m_nTopValue = top;
    m_nBottomValue = bottom;
    update();
}

void CRulerWnd::Reset() {
    SetRange(1, 1400);
    SetValues(1300, 0);
}

void CRulerWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), review::kRulerBackground);
    painter.setPen(review::kRulerInk);
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(8);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    if (m_bVertical) {
        for (const CRulerMark& mark : ValueMarks(m_nTopValue, m_nBottomValue, height())) {
            painter.drawLine(1, mark.m_nPos, 5, mark.m_nPos);
            // Text top at y - 6, as the marks' labels sit centred on their ticks.
            painter.drawText(8, mark.m_nPos - 6 + metrics.ascent(), QString::number(mark.m_nValue));
        }
        return;
    }
    for (const CRulerMark& mark : TimeMarks(m_nRangeStart, m_nRangeEnd, width())) {
        painter.drawLine(mark.m_nPos, 1, mark.m_nPos, 5);
        if (m_pParent == nullptr || mark.m_nValue < 0) {
            continue;
        }
        const QString label = QString::fromStdString(
            TimeLabel(m_pParent->FormatSampleTime(mark.m_nValue).toStdString()));
        painter.drawText(mark.m_nPos - 10, 10 + metrics.ascent(), label);
    }
}

}  // namespace somatrix
