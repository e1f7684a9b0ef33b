#include "ui/review/wave_image.h"

#include <QPainter>
#include <algorithm>

#include "ui/review/review_colors.h"

namespace somatrix {

namespace {

// Writes rows top..bottom of column x straight into the image, clipped to it: what a vertical
// one-pixel line between those rows covers.
void PaintRun(QImage& image, int32_t x, int32_t top, int32_t bottom, QRgb colour) {
    if (x < 0 || x >= image.width()) {
        return;
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, image.height() - 1);
    const qsizetype stride = image.bytesPerLine() / qsizetype(sizeof(QRgb));
    auto* pixel = reinterpret_cast<QRgb*>(image.bits()) + top * stride + x;
    for (int y = top; y <= bottom; ++y, pixel += stride) {
        *pixel = colour;
    }
}

// Trace points far outside the image are brought into the integer range of a line's ends; the
// image clips the line anyway.
QPoint TracePoint(int64_t x, int32_t y) {
    constexpr int64_t kFar = 1 << 24;
    return {static_cast<int>(std::clamp<int64_t>(x, -kFar, kFar)),
            static_cast<int>(std::clamp<int32_t>(y, -kFar, kFar))};
}

}  // namespace

void RenderWaveImage(QImage& image, const CWaveView& view, ETracePath path,
                     std::vector<CColumnSpan>& columns) {
    if (image.isNull()) {
        return;
    }
    const int w = image.width();
    const int h = image.height();
    image.fill(review::kWaveBackground);
    {
        QPainter painter(&image);
        const bool hasSamples = view.Samples() != nullptr && view.SampleCount() > 0;
        if (view.GridOn() && hasSamples) {
            painter.setPen(review::kWaveGrid);
            for (int x = 20; x < w; x += 20) {
                painter.drawLine(x, 1, x, h - 1);
            }
            for (int y = 20; y < h; y += 20) {
                painter.drawLine(1, y, w - 1, y);
            }
        }
        painter.setPen(review::kWaveCentre);
        painter.drawLine(0, h / 2, w - 1, h / 2);
    }
    const QRgb wave = review::kWave.rgb();
    if (path == ETracePath::kColumns) {
        view.TraceColumns(columns);
        for (size_t x = 0; x < columns.size(); ++x) {
            const CColumnSpan& span = columns[x];
            if (!span.Empty()) {
                PaintRun(image, static_cast<int32_t>(x), span.m_nTop, span.m_nBottom, wave);
            }
        }
        // The lines between columns, each drawn on its own as the plain drawing draws it.
        QPainter painter(&image);
        painter.setPen(QPen(review::kWave, 1));
        for (size_t x = 0; x < columns.size(); ++x) {
            const CColumnSpan& span = columns[x];
            if (!span.Empty() && span.m_nNextX >= 0) {
                painter.drawLine(TracePoint(static_cast<int64_t>(x), span.m_nLast),
                                 TracePoint(span.m_nNextX, span.m_nNextY));
            }
        }
    } else {
        QPainter painter(&image);
        painter.setPen(QPen(review::kWave, 1));
        ForEachSegment(view.Geometry(), [&](int64_t xa, int32_t ya, int64_t xb, int32_t yb) {
            painter.drawLine(TracePoint(xa, ya), TracePoint(xb, yb));
        });
    }
}

}  // namespace somatrix
