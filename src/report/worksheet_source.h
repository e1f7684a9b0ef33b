#pragma once
// Fills a worksheet page from a review recording: the statistics of the selection (or of the
// shown view), the heart rate from the recording's beats, and its time-stamped segments as the
// markers table. The window, the comparison and somatrix-cli all build their pages here.
#include <QString>
#include <cstdint>
#include <vector>

#include "report/worksheet.h"

namespace somatrix {

class CReviewRecording;

struct CWorksheetRange {
    int64_t m_nViewStart = 0;
    int64_t m_nViewEnd = -1;  // -1: to the end of the recording
    int64_t m_nSelLow = 0;    // an empty selection means the view
    int64_t m_nSelHigh = 0;
};

CWorksheetRecording WorksheetOfRecording(const CReviewRecording& recording, const QString& name,
                                         const std::vector<double>& beatTimes,
                                         const CWorksheetRange& range = {});

// Heart rate over time for the strip: one (s, beats per minute) point per beat after the first.
std::vector<std::pair<double, double>> WorksheetHeartRate(const std::vector<double>& beatTimes);

}  // namespace somatrix
