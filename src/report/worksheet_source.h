#pragma once
// Fills a worksheet page from a review source: the statistics of the selection (or of the shown
// view) in the signal's physical units, the heart rate from the recording's beats, and its
// annotations (a review file: its time-stamped segments) as the markers table. The window, the
// comparison and somatrix-cli all build their pages here.
#include <QString>
#include <cstdint>
#include <vector>

#include "report/worksheet.h"

namespace somatrix {

class CReviewSource;

struct CWorksheetRange {
    int64_t m_nViewStart = 0;
    int64_t m_nViewEnd = -1;  // -1: to the end of the recording
    int64_t m_nSelLow = 0;    // an empty selection means the view
    int64_t m_nSelHigh = 0;
};

// The page keeps pointers into `source` and `beatTimes`' values: the source must outlive it.
CWorksheetRecording WorksheetOfSource(const CReviewSource& source, const QString& name,
                                      const std::vector<double>& beatTimes,
                                      const CWorksheetRange& range = {});

}  // namespace somatrix
