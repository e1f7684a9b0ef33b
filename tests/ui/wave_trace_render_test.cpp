// The wave window's trace drawn through per-column extremes is pixel for pixel the trace drawn
// segment by segment with QPainter::drawLine, without antialiasing.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <random>
#include <vector>

#include "review/wave_view.h"
#include "ui/review/wave_image.h"

using namespace somatrix;

class WaveTraceRenderTest : public QObject {
    Q_OBJECT

private:
    // Every segment of the view's polyline drawn with QPainter::drawLine, no antialiasing: sample
    // i at x = trunc((i - viewStart) / xScale), y = trunc((topValue - sample) / yScale).
    static QImage Reference(const CWaveView& view, int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setPen(QPen(QColor(24, 243, 173), 1));
        const int64_t vs = view.ViewStart();
        auto at = [&](int64_t i) {
            return QPoint(
                static_cast<int>(static_cast<double>(i - vs) / view.XScale()),
                static_cast<int>(static_cast<double>(view.TopValue() - view.Samples()[i]) /
                                 view.YScale()));
        };
        QPoint last = at(vs);
        painter.drawLine(last, last);
        for (int64_t i = vs + 1; i < view.ViewEnd() && last.x() < w; ++i) {
            const QPoint next = at(i);
            painter.drawLine(last, next);
            last = next;
        }
        return image;
    }

    // Renders the window's way and the plain way; returns the number of pixels where either
    // differs from the reference in being part of the trace. `traced` counts the reference's.
    static int Differences(const CWaveView& view, int w, int h, int* traced) {
        QImage columns(w, h, QImage::Format_RGB32);
        QImage segments(w, h, QImage::Format_RGB32);
        std::vector<CColumnSpan> scratch;
        RenderWaveImage(columns, view, ETracePath::kColumns, scratch);
        RenderWaveImage(segments, view, ETracePath::kEverySegment, scratch);
        const QImage reference = Reference(view, w, h);
        int differing = 0;
        *traced = 0;
        const QRgb wave = qRgb(24, 243, 173);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const bool expected = reference.pixel(x, y) == wave;
                differing += (columns.pixel(x, y) == wave) != expected;
                differing += (segments.pixel(x, y) == wave) != expected;
                *traced += expected;
            }
        }
        return differing;
    }

private slots:
    void aShallowRampIsOnePixelThick() {
        // 500 values over 1200 columns on a 300-row plot: a rise of at most one row a column,
        // where a one-pixel line has one pixel in every column.
        std::vector<uint16_t> ramp(1201);
        for (size_t i = 0; i < ramp.size(); ++i) {
            ramp[i] = static_cast<uint16_t>(i * 5 / 12);
        }
        CWaveView view;
        view.Resize(1201, 300);
        view.SetData(ramp.data(), static_cast<uint32_t>(ramp.size()));
        QImage image(1201, 300, QImage::Format_RGB32);
        std::vector<CColumnSpan> columns;
        RenderWaveImage(image, view, ETracePath::kColumns, columns);
        int thick = 0, traced = 0;
        for (int x = 0; x < image.width(); ++x) {
            int n = 0;
            for (int y = 0; y < image.height(); ++y) {
                n += image.pixel(x, y) == qRgb(24, 243, 173);
            }
            thick += n > 1;
            traced += n;
        }
        QCOMPARE(thick, 0);
        QVERIFY(traced > 1000);
    }

    void columnsEqualEverySegment() {
        std::mt19937 rng(2026);
        std::vector<uint16_t> noise(50000);
        for (auto& s : noise) {
            s = static_cast<uint16_t>(rng() % 4096);
        }
        // A slow wave with spikes, so that both steep and flat segments occur.
        std::vector<uint16_t> wave(50000);
        for (size_t i = 0; i < wave.size(); ++i) {
            wave[i] = static_cast<uint16_t>(2000 + (i % 700 < 350 ? i % 350 : 350 - i % 350) * 4 +
                                            (i % 997 == 0 ? 1500 : 0));
        }
        // A shallow ramp: 2500 samples rising by 1000 over the view.
        std::vector<uint16_t> ramp(2500);
        for (size_t i = 0; i < ramp.size(); ++i) {
            ramp[i] = static_cast<uint16_t>(1000 + i * 2 / 5);
        }
        struct Case {
            const char* name;
            const std::vector<uint16_t>* data;
            uint32_t count;
            int64_t start;
            int64_t end;
            int w;
            int h;
        };
        const Case cases[] = {
            {"noise, whole, xScale 41.7", &noise, 50000, 0, 50000, 1200, 400},
            {"noise, start, xScale 0.25", &noise, 50000, 0, 300, 1200, 400},
            {"noise, end, xScale 0.25", &noise, 50000, 49700, 50000, 1200, 400},
            {"noise, end, xScale 1.37", &noise, 50000, 48356, 50000, 1200, 300},
            {"noise, middle, xScale 1", &noise, 50000, 20000, 21000, 1000, 300},
            {"noise, start, xScale 3.3", &noise, 50000, 0, 3333, 1000, 200},
            {"wave, whole, xScale 62.5", &wave, 50000, 0, 50000, 800, 500},
            {"wave, middle, xScale 0.01", &wave, 50000, 25000, 25007, 700, 500},
            {"single sample", &noise, 1, 0, 1, 640, 200},
            {"two samples", &noise, 2, 0, 2, 640, 200},
            {"one sample of many", &wave, 50000, 31000, 31001, 640, 200},
            {"ramp, whole, xScale 2.1", &ramp, 2500, 0, 2500, 1204, 553},
            {"ramp, middle, xScale 0.3", &ramp, 2500, 1000, 1361, 1204, 553},
            {"noise, random views", &noise, 50000, -1, -1, 1160, 553},
        };
        for (const Case& c : cases) {
            // A view of -1, -1 stands for twenty random views of the data.
            const int views = c.start < 0 ? 20 : 1;
            for (int k = 0; k < views; ++k) {
                int64_t start = c.start, end = c.end;
                if (c.start < 0) {
                    start = rng() % c.count;
                    end = start + 1 + rng() % (c.count - start);
                }
                CWaveView view;
                view.Resize(c.w, c.h);
                view.SetData(c.data->data(), c.count);
                view.SetView(start, end);
                view.Resize(c.w, c.h);  // the scale of the view, as a resize computes it
                int traced = 0;
                QVERIFY2(Differences(view, c.w, c.h, &traced) == 0,
                         qPrintable(QStringLiteral("%1 (%2..%3)").arg(c.name).arg(start).arg(end)));
                QVERIFY2(traced > 0, c.name);
            }
        }
    }
};

QTEST_MAIN(WaveTraceRenderTest)
#include "wave_trace_render_test.moc"
