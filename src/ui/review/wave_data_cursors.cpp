// The wave window's two measurement cursors: painting, dragging, the key and the readout.
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

#include "report/number_format.h"
#include "ui/review/review_texts.h"
#include "ui/review/wave_data_wnd.h"

namespace somatrix {

namespace {

const QColor kCursorColour[2] = {QColor(255, 64, 255), QColor(64, 200, 255)};

}  // namespace

void CWaveDataWnd::SetValueScale(double sampleRate, double scale, double offset) {
    m_dSampleRate = sampleRate;
    m_dScale = scale;
    m_dOffset = offset;
    UpdateReadout();
}

void CWaveDataWnd::ToggleCursors() {
    m_cursors.Toggle(m_view.ViewStart(), m_view.ViewEnd());
    UpdateReadout();
    update();
}

void CWaveDataWnd::PlaceCursor(int which, int64_t s) {
    m_cursors.Place(which, s);
    UpdateReadout();
    update();
}

void CWaveDataWnd::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_C && event->modifiers() == Qt::NoModifier) {
        ToggleCursors();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CWaveDataWnd::PaintCursors(QPainter& painter) {
    if (!m_cursors.Visible()) {
        return;
    }
    for (int which = 0; which < 2; ++which) {
        const int64_t s = m_cursors.Sample(which);
        if (s < m_view.ViewStart() || s >= m_view.ViewEnd()) {
            continue;
        }
        const int x = m_view.PixelOfSample(s);
        painter.setPen(QPen(kCursorColour[which], 1, Qt::DashLine));
        painter.drawLine(x, 0, x, height() - 1);
        painter.setPen(kCursorColour[which]);
        painter.drawText(x + 3, height() - 6,
                         which == 0 ? QStringLiteral("A") : QStringLiteral("B"));
    }
}

bool CWaveDataWnd::PressCursor(int x) {
    if (!m_cursors.Visible()) {
        return false;
    }
    // A cursor outside the view cannot be grabbed: its column is put far away.
    const auto column = [this](int which) {
        const int64_t s = m_cursors.Sample(which);
        return s < m_view.ViewStart() || s >= m_view.ViewEnd() ? -1000 : m_view.PixelOfSample(s);
    };
    return m_cursors.Grab(x, column(0), column(1)) >= 0;
}

bool CWaveDataWnd::DragCursor(int x) {
    if (!m_cursors.DragTo(m_view.SampleAtPixel(x))) {
        return false;
    }
    UpdateReadout();
    update();
    return true;
}

bool CWaveDataWnd::ReleaseCursor() {
    if (!m_cursors.Dragging()) {
        return false;
    }
    m_cursors.Release();
    return true;
}

void CWaveDataWnd::UpdateReadout() {
    if (m_pReadout == nullptr) {
        m_pReadout = new QLabel(this);
        m_pReadout->setAccessibleName(review::CursorReadoutName());
        m_pReadout->setStyleSheet(QStringLiteral(
            "QLabel { background: rgba(0, 0, 0, 200); color: white; border: 1px solid #808080;"
            " padding: 3px; }"));
        m_pReadout->move(6, 6);
    }
    if (!m_cursors.Visible()) {
        m_pReadout->hide();
        m_pReadout->clear();
        return;
    }
    const CCursorReadout r =
        m_cursors.Readout(m_view.Samples(), m_dSampleRate, m_dScale, m_dOffset);
    const int decimals = review::ValueDecimals(m_dScale, m_dOffset);
    const QString text =
        review::CursorLine(review::CursorName(0), review::FormatNumber(r.m_dTimeA, 3),
                           review::FormatNumber(r.m_dValueA, decimals)) +
        QLatin1Char('\n') +
        review::CursorLine(review::CursorName(1), review::FormatNumber(r.m_dTimeB, 3),
                           review::FormatNumber(r.m_dValueB, decimals)) +
        QLatin1Char('\n') +
        review::CursorDeltaLine(review::FormatNumber(r.m_dDeltaMs, 0),
                                review::FormatNumber(r.m_dDeltaValue, decimals),
                                review::FormatNumber(r.m_dBpm, 1));
    m_pReadout->setText(text);
    m_pReadout->setAccessibleDescription(text);
    m_pReadout->adjustSize();
    m_pReadout->show();
    m_pReadout->raise();
}

}  // namespace somatrix
