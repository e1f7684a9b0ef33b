#include "ui/review/beat_overlay.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "analysis/rhythm.h"
#include "analysis/source_beats.h"
#include "ui/review/beat_texts.h"
#include "ui/review/wave_data_wnd.h"

namespace somatrix {

namespace {

const QColor kTick(255, 96, 96);
const QColor kStripBackground(0, 0, 0, 170);
const QColor kStripLine(255, 200, 64);
const QColor kStripInk(220, 220, 220);

// Ticks above the trace at every beat in the view.
class CBeatTicks : public QWidget {
public:
    CBeatTicks(CBeatOverlay& overlay, QWidget* parent) : QWidget(parent), m_overlay(overlay) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAccessibleName(review::BeatTicksName());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const CWaveView& view = m_overlay.Wave()->View();
        const auto& beats = m_overlay.Beats().Samples();
        const auto [first, last] = m_overlay.Beats().Within(view.ViewStart(), view.ViewEnd() + 1);
        QPainter painter(this);
        painter.setPen(QPen(kTick, 2));
        for (size_t i = first; i < last; ++i) {
            const int x = view.PixelOfSample(beats[i]);
            painter.drawLine(x, 1, x, height() - 2);
        }
        const QString description = review::BeatTicksDescription(static_cast<int>(last - first),
                                                                 static_cast<int>(beats.size()));
        if (description != accessibleDescription()) {
            setAccessibleDescription(description);
        }
    }

private:
    CBeatOverlay& m_overlay;
};

// The heart rate over the view's time, scaled to the rates it shows.
class CRateStrip : public QWidget {
public:
    CRateStrip(CBeatOverlay& overlay, QWidget* parent) : QWidget(parent), m_overlay(overlay) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAccessibleName(review::RateStripName());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), kStripBackground);
        const CWaveView& view = m_overlay.Wave()->View();
        const auto& series = m_overlay.RateSeries();
        const double rate = m_overlay.Beats().Rate();
        const double from = static_cast<double>(view.ViewStart()) / rate;
        const double to = static_cast<double>(view.ViewEnd()) / rate;
        // The points in the view and one either side, so the line reaches both edges.
        auto begin = std::lower_bound(series.begin(), series.end(), std::make_pair(from, 0.0));
        auto end = std::upper_bound(series.begin(), series.end(), std::make_pair(to, 1e9));
        const auto inFirst = begin, inLast = end;
        if (begin != series.begin()) {
            --begin;
        }
        if (end != series.end()) {
            ++end;
        }
        double low = 1e9, high = -1e9;
        for (auto it = inFirst; it != inLast; ++it) {
            low = std::min(low, it->second);
            high = std::max(high, it->second);
        }
        painter.setFont(font());
        painter.setPen(kStripInk);
        QString description;
        if (inFirst == inLast) {
            painter.drawText(rect().adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                             review::RateStripLabel() + QStringLiteral("  --"));
            description = review::RateStripEmpty();
        } else {
            const int lo = static_cast<int>(std::floor(low));
            const int hi = static_cast<int>(std::ceil(high));
            description = review::RateStripDescription(lo, hi);
            // At least 10 per minute top to bottom, so that steady rates stay flat.
            const double mid = 0.5 * (low + high);
            const double span = std::max(10.0, 1.2 * (high - low));
            const double top = mid + span / 2, bottom = mid - span / 2;
            const double h = height() - 8;
            auto y = [&](double bpm) { return 4 + (top - bpm) / (top - bottom) * h; };
            QPainterPath path;
            bool bFirst = true;
            for (auto it = begin; it != end; ++it) {
                const auto s = static_cast<int64_t>(std::llround(it->first * rate));
                const QPointF p(view.PixelOfSample(std::clamp<int64_t>(s, view.ViewStart() - 1,
                                                                       view.ViewEnd() + 1)),
                                y(it->second));
                if (bFirst) {
                    path.moveTo(p);
                    bFirst = false;
                } else {
                    path.lineTo(p);
                }
            }
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(kStripLine, 2));
            painter.drawPath(path);
            painter.setPen(kStripInk);
            painter.drawText(QRect(6, 2, 200, height() / 2 - 2), Qt::AlignLeft | Qt::AlignTop,
                             review::RateStripLabel() + QStringLiteral("  %1").arg(hi));
            painter.drawText(QRect(6, height() / 2, 200, height() / 2 - 2),
                             Qt::AlignLeft | Qt::AlignBottom, QString::number(lo));
        }
        if (description != accessibleDescription()) {
            setAccessibleDescription(description);
        }
    }

private:
    CBeatOverlay& m_overlay;
};

}  // namespace

CBeatOverlay::CBeatOverlay(CWaveDataWnd* wave)
    : QObject(wave),
      m_pWave(wave),
      m_pTicks(new CBeatTicks(*this, wave)),
      m_pStrip(new CRateStrip(*this, wave)) {
    wave->installEventFilter(this);
    m_pTicks->hide();
    m_pStrip->hide();
    Place();
}

void CBeatOverlay::Load(const uint16_t* samples, uint32_t count, double rate) {
    m_beats.Detect(samples, count, rate, EBeatSource::Ecg);
    BeatsChanged();
}

void CBeatOverlay::LoadSource(const CReviewSource& source) {
    const std::optional<EBeatSource> kind = BeatSourceOf(source, source.SelectedSignal());
    if (!kind || source.Empty()) {
        Clear();
        return;
    }
    std::vector<int64_t> samples;
    for (double t : SourceBeats(source)) {
        samples.push_back(std::llround(t * source.SampleRate()));
    }
    m_beats.Set(std::move(samples), source.Samples(), source.SampleCount(),
                static_cast<double>(source.SampleRate()), *kind);
    BeatsChanged();
}

void CBeatOverlay::StoreInto(CReviewSource& source) const {
    std::vector<double> times;
    for (int64_t b : m_beats.Samples()) {
        times.push_back(source.SampleSeconds(static_cast<uint32_t>(std::max<int64_t>(0, b))));
    }
    StoreBeatAnnotations(source, times);
}

void CBeatOverlay::Cut(int64_t start, int64_t end, const uint16_t* samples, uint32_t count) {
    m_beats.Cut(start, end);
    m_beats.SetSamples(samples, count);
    BeatsChanged();
}

void CBeatOverlay::Clear() {
    m_beats.Clear();
    BeatsChanged();
}

void CBeatOverlay::BeatsChanged() {
    m_series = HeartRateSeries(m_beats.Times());
    const bool bShown = m_beats.Count() > 0;
    m_pTicks->setVisible(bShown);
    m_pStrip->setVisible(bShown);
    Refresh();
}

void CBeatOverlay::Refresh() {
    m_pTicks->update();
    m_pStrip->update();
}

void CBeatOverlay::Place() {
    const int w = m_pWave->width();
    const int h = m_pWave->height();
    m_pTicks->setGeometry(0, 0, w, kTickBand);
    m_pStrip->setGeometry(0, std::max(kTickBand, h - kStripHeight), w,
                          std::min(kStripHeight, std::max(0, h - kTickBand)));
}

bool CBeatOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pWave) {
        if (event->type() == QEvent::Resize) {
            Place();
        } else if ((event->type() == QEvent::MouseButtonPress ||
                    event->type() == QEvent::MouseButtonDblClick) &&
                   m_pWave->View().SampleCount() > 0) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                (mouse->modifiers() & Qt::ControlModifier) != 0) {
                const CWaveView& view = m_pWave->View();
                const int x = mouse->position().toPoint().x();
                const int64_t sample = view.SampleAtPixel(x);
                // The beat under the pointer: within 6 pixels, or 80 ms when zoomed in far.
                const int64_t tolerance =
                    std::max<int64_t>(std::abs(view.SampleAtPixel(x + 6) - sample),
                                      std::llround(0.08 * m_beats.Rate()));
                m_beats.Toggle(sample, tolerance);
                BeatsChanged();
                emit BeatsEdited();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace somatrix
