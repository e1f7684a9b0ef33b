#include "ui/review/wave_image.h"

#include <QPainter>
#include <algorithm>

#include "ui/review/review_colors.h"

namespace somatrix {

namespace {

// Writes one column of the trace straight into the image's rows, clipped to the image.
void PaintSpan(QImage& image, int32_t x, const CColumnSpan& span, QRgb colour) {
    if (span.Empty() || x < 0 || x >= image.width()) {
        return;
    }
    const int top = std::max(span.m_nTop, 0);
    const int bottom = std::min(span.m_nBottom, image.height() - 1);
    const qsizetype stride = image.bytesPerLine() / qsizetype(sizeof(QRgb));
    auto* pixel = reinterpret_cast<QRgb*>(image.bits()) + top * stride + x;
    for (int y = top; y <= bottom; ++y, pixel += stride) {
        *pixel = colour;
    }
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
            PaintSpan(image, static_cast<int32_t>(x), columns[x], wave);
        }
    } else {
        ForEachSegmentSpan(view.Geometry(), [&](int32_t x, const CColumnSpan& span) {
            PaintSpan(image, x, span, wave);
        });
    }
}

}  // namespace somatrix
