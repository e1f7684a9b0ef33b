#pragma once
// The statistics of the review selection (of the view while nothing is selected), shown beside
// the boxes of the review bar: duration, extremes, mean, standard deviation, beats, mean heart
// rate, SDNN and RMSSD. Ctrl+C in review mode copies them as text. Filled by the review display.
#include <QWidget>

#include "analysis/selection_stats.h"

class QLabel;

namespace somatrix {

class CSelectionStatsPanel : public QWidget {
    Q_OBJECT
public:
    explicit CSelectionStatsPanel(QWidget* parent);

    // `ofSelection` names the stretch (the selection or the view); values carry `decimals`
    // places and `unit` (empty for raw counts).
    void SetStats(const CSelectionStats& stats, bool ofSelection, int decimals,
                  const QString& unit);
    void Clear();

    // One "name<TAB>value" line per statistic, as the clipboard gets it.
    QString CopyText() const { return m_strCopy; }
    void CopyToClipboard() const;
    const CSelectionStats& Stats() const { return m_stats; }

private:
    QLabel* m_pText;
    CSelectionStats m_stats;
    QString m_strCopy;
};

}  // namespace somatrix
