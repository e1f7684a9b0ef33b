#include "report/worksheet_source.h"

#include <algorithm>
#include <string>

#include "analysis/rhythm.h"
#include "review/review_source.h"

namespace somatrix {

CWorksheetRecording WorksheetOfSource(const CReviewSource& source, const QString& name,
                                      const std::vector<double>& beatTimes,
                                      const CWorksheetRange& range) {
    CWorksheetRecording page;
    const int64_t count = source.SampleCount();
    page.m_strName = name;
    if (source.Format() == ESourceFormat::kEdf) {
        page.m_strSensor = QString::fromStdString(source.SignalLabel(source.SelectedSignal()));
    }
    page.m_strUnit = QString::fromStdString(source.Unit());
    page.m_pSamples = source.Samples();
    page.m_nCount = size_t(count);
    page.m_dSampleRate = source.SampleRate();
    page.m_dOffset = source.Physical(0);
    page.m_dScale = source.Physical(1) - page.m_dOffset;
    page.m_nViewStart = std::clamp<int64_t>(range.m_nViewStart, 0, count);
    page.m_nViewEnd = range.m_nViewEnd < 0
                          ? count
                          : std::clamp<int64_t>(range.m_nViewEnd, page.m_nViewStart, count);
    const int64_t low = std::clamp<int64_t>(range.m_nSelLow, 0, count);
    const int64_t high = std::clamp<int64_t>(range.m_nSelHigh, low, count);
    page.m_bStatsOfSelection = high > low;
    CSelectionInput input;
    input.m_pSamples = page.m_pSamples;
    input.m_nBegin = size_t(page.m_bStatsOfSelection ? low : page.m_nViewStart);
    input.m_nEnd = size_t(page.m_bStatsOfSelection ? high : page.m_nViewEnd);
    input.m_dSampleRate = page.m_dSampleRate;
    input.m_dScale = page.m_dScale;
    input.m_dOffset = page.m_dOffset;
    input.m_pBeatTimes = &beatTimes;
    page.m_stats = ComputeSelectionStats(input);
    page.m_heartRate = HeartRateSeries(beatTimes);
    for (const CAnnotation& annotation : source.Annotations()) {
        if (annotation.m_strText != "R") {  // beats are drawn in the strip, not listed
            page.m_markers.push_back(
                {annotation.m_fOnset, QString::fromStdString(annotation.m_strText)});
        }
    }
    // A review file's segments are its markers: where each began and at what time of day.
    const CReviewRecording& recording = source.Recording();
    if (source.Format() == ESourceFormat::kReview) {
        for (uint32_t k = 0; k < recording.SegmentCount(); ++k) {
            const uint32_t start = recording.SegmentStart()[k];
            std::string clock;
            recording.FormatSampleTime(start, &clock);
            page.m_markers.push_back({double(start) / recording.SampleRate(),
                                      QStringLiteral("TM  ") + QString::fromStdString(clock)});
        }
    }
    return page;
}

}  // namespace somatrix
