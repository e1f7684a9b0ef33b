// The review display's statistics of the selection, shown in the free right part of the review
// bar, and their copy to the clipboard.
#include <algorithm>

#include "analysis/selection_stats.h"
#include "report/number_format.h"
#include "ui/review/selection_stats_panel.h"
#include "ui/review/wave_data_wnd.h"
#include "ui/review/wave_disp_wnd.h"
#include "ui/review/wave_info_bar.h"

namespace somatrix {

namespace {

// The bar's boxes and buttons end at 628 dialog units (942 pixels); the statistics follow.
constexpr int kStatsLeft = 950;

}  // namespace

void CWaveDispWnd::LayoutStats() {
    const int width = std::max(m_pBar->width() - kStatsLeft, 0);
    m_pStats->setGeometry(kStatsLeft, 0, width, m_pBar->height());
    m_pStats->setVisible(width > 0);
}

void CWaveDispWnd::SetBeatTimes(std::vector<double> beatTimes) {
    m_beatTimes = std::move(beatTimes);
    UpdateStatistics();
}

void CWaveDispWnd::UpdateStatistics() {
    const uint32_t count = m_source.SampleCount();
    if (count == 0) {
        m_pStats->Clear();
        return;
    }
    const CWaveView& view = m_pWave->View();
    const bool selected = view.SelLow() != view.SelHigh();
    CSelectionInput input;
    input.m_pSamples = m_source.Samples();
    input.m_nBegin =
        size_t(std::clamp<int64_t>(selected ? view.SelLow() : view.ViewStart(), 0, count));
    input.m_nEnd = size_t(std::clamp<int64_t>(selected ? view.SelHigh() : view.ViewEnd(),
                                              int64_t(input.m_nBegin), count));
    input.m_dSampleRate = m_source.SampleRate();
    input.m_dOffset = m_source.Physical(0);
    input.m_dScale = m_source.Physical(1) - input.m_dOffset;
    input.m_pBeatTimes = &m_beatTimes;
    m_pStats->SetStats(ComputeSelectionStats(input), selected,
                       review::ValueDecimals(input.m_dScale, input.m_dOffset),
                       QString::fromStdString(m_source.Unit()));
}

void CWaveDispWnd::CopyStatistics() {
    m_pStats->CopyToClipboard();
}

}  // namespace somatrix
