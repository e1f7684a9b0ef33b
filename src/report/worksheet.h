#pragma once
// The printed worksheet of a review: one page per recording (two for a comparison), each with
// the student's fields, the recording's name, sensor and device number, a plot of the shown view
// with time and value rulers, the heart-rate strip, the statistics and the markers table; a
// comparison adds the table of both recordings and their difference. Paints onto any paged
// device (a printer, the preview, a PDF writer), so the window and somatrix-cli share it. Needs
// Qt GUI only.
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

#include "analysis/selection_stats.h"

class QPagedPaintDevice;
class QPainter;
class QRect;

namespace somatrix {

struct CWorksheetFields {
    QString m_strStudent;
    QString m_strClass;
    QString m_strDate;
};

struct CWorksheetMarker {
    double m_dTimeSec = 0.0;  // from the recording's first sample
    QString m_strText;
};

// One recording as the worksheet shows it. The samples stay the caller's.
struct CWorksheetRecording {
    QString m_strName;
    QString m_strSensor;
    QString m_strDevice;
    QString m_strUnit;  // empty for raw counts
    const uint16_t* m_pSamples = nullptr;
    size_t m_nCount = 0;
    double m_dSampleRate = 200.0;
    double m_dScale = 1.0;
    double m_dOffset = 0.0;
    int64_t m_nViewStart = 0;  // the shown view [start, end)
    int64_t m_nViewEnd = 0;
    CSelectionStats m_stats;
    bool m_bStatsOfSelection = false;
    std::vector<std::pair<double, double>> m_heartRate;  // (s, beats per minute)
    std::vector<CWorksheetMarker> m_markers;
};

// The trace of [t0, t1] seconds from the recording's start inside `plot`, with the value ruler
// left of it and the time ruler under it (room for both is the caller's: about 4 1/3 font sizes
// to the left, 2 below). Shared by the worksheet and the comparison window.
void PaintWavePanel(QPainter& painter, const QRect& plot, const CWorksheetRecording& recording,
                    double t0, double t1, int fontPixels);
// Paints one page per recording (one or two), starting on the device's current page.
void PaintWorksheet(QPagedPaintDevice& device, const CWorksheetFields& fields,
                    const std::vector<const CWorksheetRecording*>& recordings);
// Writes the worksheet as an A4 PDF; false with a reason when the file cannot be written.
bool WriteWorksheetPdf(const QString& path, const CWorksheetFields& fields,
                       const std::vector<const CWorksheetRecording*>& recordings, QString* error);

}  // namespace somatrix
