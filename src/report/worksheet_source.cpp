#include "report/worksheet_source.h"

#include <algorithm>
#include <string>

#include "review/review_recording.h"

namespace somatrix {

std::vector<std::pair<double, double>> WorksheetHeartRate(const std::vector<double>& beatTimes) {
    std::vector<std::pair<double, double>> series;
    for (size_t i = 1; i < beatTimes.size(); ++i) {
        const double rr = beatTimes[i] - beatTimes[i - 1];
        if (rr > 0.0) {
            series.emplace_back(beatTimes[i], 60.0 / rr);
        }
    }
    return series;
}

CWorksheetRecording WorksheetOfRecording(const CReviewRecording& recording, const QString& name,
                                         const std::vector<double>& beatTimes,
                                         const CWorksheetRange& range) {
    CWorksheetRecording page;
    const int64_t count = recording.SampleCount();
    page.m_strName = name;
    page.m_pSamples = recording.Samples();
    page.m_nCount = size_t(count);
    page.m_dSampleRate = recording.SampleRate();
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
    input.m_pBeatTimes = &beatTimes;
    page.m_stats = ComputeSelectionStats(input);
    page.m_heartRate = WorksheetHeartRate(beatTimes);
    // The file's segments are its markers: where each began and at what time of day.
    for (uint32_t k = 0; k < recording.SegmentCount(); ++k) {
        const uint32_t start = recording.SegmentStart()[k];
        std::string clock;
        recording.FormatSampleTime(start, &clock);
        page.m_markers.push_back({double(start) / recording.SampleRate(),
                                  QStringLiteral("TM  ") + QString::fromStdString(clock)});
    }
    return page;
}

}  // namespace somatrix
