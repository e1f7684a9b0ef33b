#include "report/worksheet.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "analysis/recording_comparison.h"
#include "report/number_format.h"
#include "report/report_texts.h"

namespace somatrix {

namespace {

// The page is laid out in units of a tenth of a millimetre over the printable width.
constexpr int kWidth = 1900;
constexpr int kRulerWidth = 130;
const QColor kInk(0, 0, 0);
const QColor kTrace(0, 60, 160);
const QColor kGrid(200, 200, 200);
const QColor kHeartRate(190, 30, 30);

QFont Font(int pixels, bool bold = false) {
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A step of 1, 2 or 5 times a power of ten that gives at most `ticks` intervals over `span`.
double NiceStep(double span, int ticks) {
    if (!(span > 0.0)) {
        return 1.0;
    }
    const double raw = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * power >= raw) {
            return m * power;
        }
    }
    return 10.0 * power;
}

int DecimalsOf(double step) {
    return step >= 1.0 ? 0 : int(std::ceil(-std::log10(step) - 1e-9));
}

// Labels `label: value` with the value on a line, as a form to fill in by hand when empty.
void DrawField(QPainter& p, int x, int y, int width, const QString& label, const QString& value) {
    p.setFont(Font(42));
    const int labelWidth = p.fontMetrics().horizontalAdvance(label + QStringLiteral("：")) + 8;
    p.drawText(QRect(x, y, labelWidth, 60), Qt::AlignLeft | Qt::AlignBottom,
               label + QStringLiteral("："));
    p.drawLine(x + labelWidth, y + 60, x + width - 30, y + 60);
    p.drawText(QRect(x + labelWidth + 10, y, width - labelWidth - 40, 58),
               Qt::AlignLeft | Qt::AlignBottom, value);
}

struct CValueAxis {
    double m_dLow;
    double m_dHigh;
};

// Horizontal grid and value labels left of `plot`.
void DrawValueRuler(QPainter& p, const QRect& plot, const CValueAxis& axis, int font = 30) {
    const double step = NiceStep(axis.m_dHigh - axis.m_dLow, 5);
    const int decimals = DecimalsOf(step);
    const int tick = font * 2 / 5;
    const int room = font * 13 / 3;
    p.setFont(Font(font));
    for (double v = std::ceil(axis.m_dLow / step) * step; v <= axis.m_dHigh + step * 1e-6;
         v += step) {
        const int y =
            plot.bottom() - int((v - axis.m_dLow) / (axis.m_dHigh - axis.m_dLow) * plot.height());
        p.setPen(QPen(kGrid, 1));
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(kInk);
        p.drawLine(plot.left() - tick, y, plot.left(), y);
        p.drawText(QRect(plot.left() - room, y - font, room - tick - 6, 2 * font),
                   Qt::AlignRight | Qt::AlignVCenter, review::FormatNumber(v, decimals));
    }
}

// Vertical grid, ticks and second labels under `plot` for [t0, t1] seconds.
void DrawTimeRuler(QPainter& p, const QRect& plot, double t0, double t1, bool labels,
                   int font = 30) {
    const double step = NiceStep(t1 - t0, 10);
    const int decimals = DecimalsOf(step);
    const int tick = font * 2 / 5;
    p.setFont(Font(font));
    for (double t = std::ceil(t0 / step) * step; t <= t1 + step * 1e-6; t += step) {
        const int x = plot.left() + int((t - t0) / (t1 - t0) * plot.width());
        p.setPen(QPen(kGrid, 1));
        p.drawLine(x, plot.top(), x, plot.bottom());
        p.setPen(kInk);
        p.drawLine(x, plot.bottom(), x, plot.bottom() + tick);
        if (labels) {
            p.drawText(QRect(x - 4 * font, plot.bottom() + tick + 2, 8 * font, font * 4 / 3),
                       Qt::AlignHCenter | Qt::AlignTop, review::FormatNumber(t, decimals));
        }
    }
}

// The view's trace: the smallest and largest value of each column, joined column to column.
void DrawTrace(QPainter& p, const QRect& plot, const CWorksheetRecording& r, int64_t v0, int64_t v1,
               const CValueAxis& axis) {
    const int64_t n = v1 - v0;
    const int columns = std::max(1, plot.width());
    const auto y = [&](uint16_t raw) {
        const double v = raw * r.m_dScale + r.m_dOffset;
        return plot.bottom() - (v - axis.m_dLow) / (axis.m_dHigh - axis.m_dLow) * plot.height();
    };
    QPainterPath path;
    if (n <= columns) {
        for (int64_t i = 0; i < n; ++i) {
            const QPointF point(
                plot.left() + double(i) * plot.width() / double(std::max<int64_t>(n - 1, 1)),
                y(r.m_pSamples[v0 + i]));
            i == 0 ? path.moveTo(point) : path.lineTo(point);
        }
    } else {
        for (int c = 0; c < columns; ++c) {
            const int64_t a = v0 + n * c / columns;
            const int64_t b = std::max(a + 1, v0 + n * (c + 1) / columns);
            const auto [lo, hi] = std::minmax_element(r.m_pSamples + a, r.m_pSamples + b);
            const double x = plot.left() + c;
            c == 0 ? path.moveTo(x, y(*lo)) : path.lineTo(x, y(*lo));
            path.lineTo(x, y(*hi));
        }
    }
    p.setPen(QPen(kTrace, 2));
    p.drawPath(path);
}

void DrawPlot(QPainter& p, int top, const CWorksheetRecording& r) {
    const int64_t v0 = std::clamp<int64_t>(r.m_nViewStart, 0, int64_t(r.m_nCount));
    const int64_t v1 = std::clamp<int64_t>(r.m_nViewEnd, v0, int64_t(r.m_nCount));
    const double t0 = double(v0) / r.m_dSampleRate;
    const double t1 = std::max(double(v1) / r.m_dSampleRate, t0 + 1e-3);
    p.setFont(Font(38, true));
    p.drawText(QRect(0, top, kWidth, 50), Qt::AlignLeft | Qt::AlignVCenter,
               report::PlotCaption().arg(review::FormatNumber(t0, 2), review::FormatNumber(t1, 2)) +
                   (r.m_strUnit.isEmpty() ? QString() : QStringLiteral("  ") + r.m_strUnit));
    const QRect plot(kRulerWidth, top + 60, kWidth - kRulerWidth, 620);
    PaintWavePanel(p, plot, r, t0, t1, 30);
    p.setFont(Font(30));
    p.drawText(QRect(plot.right() - 300, plot.bottom() + 50, 300, 40), Qt::AlignRight,
               report::SecondsAxis());

    // The heart-rate strip under the plot, on the same time scale.
    const int stripTop = plot.bottom() + 100;
    p.setFont(Font(38, true));
    p.drawText(QRect(0, stripTop, kWidth, 50), Qt::AlignLeft | Qt::AlignVCenter,
               report::HeartRateCaption());
    const QRect strip(kRulerWidth, stripTop + 60, kWidth - kRulerWidth, 260);
    std::vector<QPointF> points;
    double lo = 1e9;
    double hi = -1e9;
    for (const auto& [t, bpm] : r.m_heartRate) {
        if (t >= t0 && t <= t1 && std::isfinite(bpm)) {
            lo = std::min(lo, bpm);
            hi = std::max(hi, bpm);
            points.emplace_back(t, bpm);
        }
    }
    const CValueAxis rate = points.empty() ? CValueAxis{40.0, 120.0}
                                           : CValueAxis{std::floor(lo / 10.0) * 10.0 - 10.0,
                                                        std::ceil(hi / 10.0) * 10.0 + 10.0};
    DrawValueRuler(p, strip, rate);
    DrawTimeRuler(p, strip, t0, t1, false);
    if (points.empty()) {
        p.setFont(Font(36));
        p.drawText(strip, Qt::AlignCenter, report::NoBeats());
    } else {
        QPainterPath path;
        for (size_t i = 0; i < points.size(); ++i) {
            const QPointF at(strip.left() + (points[i].x() - t0) / (t1 - t0) * strip.width(),
                             strip.bottom() - (points[i].y() - rate.m_dLow) /
                                                  (rate.m_dHigh - rate.m_dLow) * strip.height());
            i == 0 ? path.moveTo(at) : path.lineTo(at);
        }
        p.setPen(QPen(kHeartRate, 4));
        p.drawPath(path);
    }
    p.setPen(QPen(kInk, 2));
    p.drawRect(strip);
}

QString Number(double value, int decimals, const QString& unit) {
    const QString text = review::FormatNumber(value, decimals);
    return unit.isEmpty() || !std::isfinite(value) ? text : text + QLatin1Char(' ') + unit;
}

// Returns the height used.
int DrawStats(QPainter& p, int top, const CWorksheetRecording& r) {
    const CSelectionStats& s = r.m_stats;
    const int d = review::ValueDecimals(r.m_dScale, r.m_dOffset);
    const QStringList items = {
        QStringLiteral("时长：") + Number(s.m_range.m_dDurationSec, 3, QStringLiteral("s")),
        QStringLiteral("最小值：") + Number(s.m_range.m_dMin, d, r.m_strUnit),
        QStringLiteral("最大值：") + Number(s.m_range.m_dMax, d, r.m_strUnit),
        QStringLiteral("平均值：") + Number(s.m_range.m_dMean, d + 1, r.m_strUnit),
        QStringLiteral("标准差：") + Number(s.m_range.m_dStdDev, d + 1, r.m_strUnit),
        QStringLiteral("心搏数：") + QString::number(s.m_nBeats),
        QStringLiteral("平均心率：") + Number(s.m_dHrMean, 1, QStringLiteral("次/分")),
        QStringLiteral("SDNN：") + Number(s.m_dSdnnMs, 1, QStringLiteral("ms")),
        QStringLiteral("RMSSD：") + Number(s.m_dRmssdMs, 1, QStringLiteral("ms")),
    };
    p.setPen(kInk);
    p.setFont(Font(38, true));
    p.drawText(
        QRect(0, top, kWidth, 50), Qt::AlignLeft | Qt::AlignVCenter,
        r.m_bStatsOfSelection ? report::StatsCaptionSelection() : report::StatsCaptionView());
    p.setFont(Font(34));
    const int column = kWidth / 3;
    for (int i = 0; i < int(items.size()); ++i) {
        p.drawText(QRect((i % 3) * column + 20, top + 60 + (i / 3) * 50, column - 20, 48),
                   Qt::AlignLeft | Qt::AlignVCenter, items[i]);
    }
    return 60 + 3 * 50;
}

int DrawMarkers(QPainter& p, int top, const CWorksheetRecording& r, int maxRows) {
    p.setFont(Font(38, true));
    p.drawText(QRect(0, top, kWidth, 50), Qt::AlignLeft | Qt::AlignVCenter,
               report::MarkersCaption());
    p.setFont(Font(32));
    int y = top + 60;
    if (r.m_markers.empty()) {
        p.drawText(QRect(20, y, kWidth, 44), Qt::AlignLeft | Qt::AlignVCenter, report::NoMarkers());
        return y + 44 - top;
    }
    const int shown = std::min<int>(int(r.m_markers.size()), maxRows);
    for (int i = 0; i < shown; ++i, y += 44) {
        const CWorksheetMarker& m = r.m_markers[size_t(i)];
        p.drawText(QRect(20, y, 300, 44), Qt::AlignLeft | Qt::AlignVCenter,
                   review::FormatNumber(m.m_dTimeSec, 3) + QStringLiteral(" s"));
        p.drawText(QRect(340, y, kWidth - 340, 44), Qt::AlignLeft | Qt::AlignVCenter, m.m_strText);
        p.setPen(QPen(kGrid, 1));
        p.drawLine(20, y + 44, kWidth, y + 44);
        p.setPen(kInk);
    }
    if (int(r.m_markers.size()) > shown) {
        p.drawText(QRect(20, y, kWidth, 44), Qt::AlignLeft | Qt::AlignVCenter,
                   report::MoreMarkers().arg(r.m_markers.size() - size_t(shown)));
        y += 44;
    }
    return y - top;
}

void DrawComparison(QPainter& p, int top, const CWorksheetRecording& a,
                    const CWorksheetRecording& b) {
    p.setFont(Font(38, true));
    p.drawText(QRect(0, top, kWidth, 50), Qt::AlignLeft | Qt::AlignVCenter,
               report::CompareCaption());
    const int widths[4] = {640, 420, 420, 420};
    const auto row = [&](int y, const QStringList& cells, bool bold) {
        p.setFont(Font(32, bold));
        int x = 0;
        for (int i = 0; i < 4; ++i) {
            p.drawText(QRect(x + 14, y, widths[i] - 28, 44),
                       (i == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, cells[i]);
            x += widths[i];
        }
        p.drawLine(0, y + 44, kWidth, y + 44);
    };
    int y = top + 60;
    p.drawLine(0, y, kWidth, y);
    row(y,
        {report::CompareItem(), report::CompareFirst(), report::CompareSecond(),
         report::CompareDifference()},
        true);
    const auto lines = CompareRecordings(a.m_stats, b.m_stats);
    const int d = review::ValueDecimals(a.m_dScale, a.m_dOffset);
    for (const CCompareLine& line : lines) {
        y += 44;
        const int row_ = int(line.m_row);
        const int decimals = row_ == 0 ? 2 : row_ >= 6 ? d + 1 : 1;
        row(y,
            {report::CompareRowName(row_), review::FormatNumber(line.m_dFirst, decimals),
             review::FormatNumber(line.m_dSecond, decimals),
             review::FormatNumber(line.m_dDifference, decimals)},
            false);
    }
}

void PaintPage(QPainter& p, int height, const CWorksheetFields& fields,
               const CWorksheetRecording& r, const CWorksheetRecording* compareWith, int page,
               int pages) {
    p.setPen(kInk);
    p.setFont(Font(70, true));
    p.drawText(QRect(0, 0, kWidth, 90), Qt::AlignCenter, report::Title());
    const int third = kWidth / 3;
    DrawField(p, 0, 120, third, report::StudentField(), fields.m_strStudent);
    DrawField(p, third, 120, third, report::ClassField(), fields.m_strClass);
    DrawField(p, 2 * third, 120, third, report::DateField(), fields.m_strDate);
    const auto orUnknown = [](const QString& s) { return s.isEmpty() ? report::Unknown() : s; };
    p.setFont(Font(38));
    const QString name = QFileInfo(r.m_strName).fileName();
    p.drawText(QRect(0, 210, kWidth, 60), Qt::AlignLeft | Qt::AlignVCenter,
               report::RecordingField() + QStringLiteral("：") + orUnknown(name) +
                   QStringLiteral("      ") + report::SensorField() + QStringLiteral("：") +
                   orUnknown(r.m_strSensor) + QStringLiteral("      ") + report::DeviceField() +
                   QStringLiteral("：") + orUnknown(r.m_strDevice));
    p.setPen(QPen(kInk, 3));
    p.drawLine(0, 280, kWidth, 280);
    p.setPen(kInk);
    DrawPlot(p, 300, r);
    int y = 300 + 60 + 620 + 100 + 60 + 260 + 40;
    y += DrawStats(p, y, r) + 30;
    const int markerRows = compareWith != nullptr ? 4 : 12;
    y += DrawMarkers(p, y, r, markerRows) + 30;
    if (compareWith != nullptr) {
        DrawComparison(p, y, *compareWith, r);
    }
    p.setFont(Font(30));
    p.drawText(QRect(0, height - 50, kWidth, 50), Qt::AlignCenter,
               report::PageText().arg(page).arg(pages));
}

}  // namespace

void PaintWavePanel(QPainter& p, const QRect& plot, const CWorksheetRecording& r, double t0,
                    double t1, int fontPixels) {
    const double rate = r.m_dSampleRate > 0.0 ? r.m_dSampleRate : 1.0;
    if (!(t1 > t0)) {
        t1 = t0 + 1e-3;
    }
    const int64_t count = int64_t(r.m_nCount);
    const int64_t v0 = std::clamp<int64_t>(int64_t(std::floor(t0 * rate)), 0, count);
    const int64_t v1 = std::clamp<int64_t>(int64_t(std::ceil(t1 * rate)), v0, count);
    CValueAxis axis{0.0, 1.0};
    if (v1 > v0 && r.m_pSamples != nullptr) {
        const auto [lo, hi] = std::minmax_element(r.m_pSamples + v0, r.m_pSamples + v1);
        double a = *lo * r.m_dScale + r.m_dOffset;
        double b = *hi * r.m_dScale + r.m_dOffset;
        if (a > b) {
            std::swap(a, b);
        }
        const double pad = std::max((b - a) * 0.1, std::fabs(r.m_dScale));
        axis = {a - pad, b + pad};
    }
    p.save();
    DrawValueRuler(p, plot, axis, fontPixels);
    DrawTimeRuler(p, plot, t0, t1, true, fontPixels);
    p.setClipRect(plot);
    if (v1 > v0 && r.m_pSamples != nullptr) {
        // The samples cover [v0 / rate, v1 / rate); a recording shorter than the shared time
        // scale fills only its part of the width.
        const double left = plot.left() + (double(v0) / rate - t0) / (t1 - t0) * plot.width();
        const double right = plot.left() + (double(v1) / rate - t0) / (t1 - t0) * plot.width();
        const QRect part(int(left), plot.top(), std::max(1, int(right - left)), plot.height());
        DrawTrace(p, part, r, v0, v1, axis);
    }
    p.setClipping(false);
    p.setPen(QPen(kInk, std::max(1, fontPixels / 15)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot);
    p.restore();
}

void PaintWorksheet(QPagedPaintDevice& device, const CWorksheetFields& fields,
                    const std::vector<const CWorksheetRecording*>& recordings) {
    QPainter painter(&device);
    const QRect viewport = painter.viewport();
    if (viewport.isEmpty()) {
        return;
    }
    // The printable width is kWidth units; the height follows the page's proportions.
    const int height = int(double(kWidth) * viewport.height() / viewport.width());
    painter.setWindow(0, 0, kWidth, height);
    painter.setRenderHint(QPainter::Antialiasing);
    const int pages = int(recordings.size());
    for (int i = 0; i < pages; ++i) {
        if (i > 0) {
            device.newPage();
        }
        // With two recordings the second page carries the table of both.
        const CWorksheetRecording* other = i == 1 ? recordings[0] : nullptr;
        PaintPage(painter, height, fields, *recordings[size_t(i)], other, i + 1, pages);
    }
}

bool WriteWorksheetPdf(const QString& path, const CWorksheetFields& fields,
                       const std::vector<const CWorksheetRecording*>& recordings, QString* error) {
    // Written beside the target first, so a failure never destroys an existing file.
    const QString partial = path + QStringLiteral(".part");
    {
        QPdfWriter writer(partial);
        writer.setResolution(300);
        writer.setTitle(report::Title());
        writer.setCreator(QStringLiteral("Somatrix"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        PaintWorksheet(writer, fields, recordings);
    }
    QFileInfo written(partial);
    if (!written.exists() || written.size() == 0) {
        QFile::remove(partial);
        if (error != nullptr) {
            *error = report::CannotWrite().arg(path);
        }
        return false;
    }
    std::error_code failed;
    std::filesystem::rename(QFile::encodeName(partial).toStdString(),
                            QFile::encodeName(path).toStdString(), failed);
    if (failed) {
        QFile::remove(partial);
        if (error != nullptr) {
            *error = report::CannotWrite().arg(path);
        }
        return false;
    }
    return true;
}

}  // namespace somatrix
