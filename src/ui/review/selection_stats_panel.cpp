#include "ui/review/selection_stats_panel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QStringList>
#include <QVBoxLayout>
#include <utility>

#include "report/number_format.h"
#include "ui/review/review_texts.h"

namespace somatrix {

CSelectionStatsPanel::CSelectionStatsPanel(QWidget* parent) : QWidget(parent) {
    setAccessibleName(review::StatsName());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    m_pText = new QLabel(this);
    m_pText->setAccessibleName(review::StatsName());
    m_pText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Four short rows fit the bar's height.
    QFont font = m_pText->font();
    font.setPixelSize(11);
    m_pText->setFont(font);
    layout->addWidget(m_pText);
    Clear();
}

void CSelectionStatsPanel::Clear() {
    m_stats = CSelectionStats();
    m_strCopy.clear();
    m_pText->clear();
    setAccessibleDescription(QString());
}

void CSelectionStatsPanel::SetStats(const CSelectionStats& stats, bool ofSelection, int decimals,
                                    const QString& unit) {
    using namespace review;
    m_stats = stats;
    const CRangeStats& r = stats.m_range;
    const QString u = unit.isEmpty() ? QString() : QLatin1Char(' ') + unit;
    const QList<std::pair<QString, QString>> items = {
        {StatDuration(), FormatNumber(r.m_dDurationSec, 3) + QLatin1Char(' ') + UnitSeconds()},
        {StatMin(), FormatNumber(r.m_dMin, decimals) + u},
        {StatMax(), FormatNumber(r.m_dMax, decimals) + u},
        {StatMean(), FormatNumber(r.m_dMean, decimals + 1) + u},
        {StatStdDev(), FormatNumber(r.m_dStdDev, decimals + 1) + u},
        {StatBeats(), QString::number(stats.m_nBeats)},
        {StatHrMean(), FormatNumber(stats.m_dHrMean, 1) + QLatin1Char(' ') + UnitBpm()},
        {StatSdnn(), FormatNumber(stats.m_dSdnnMs, 1) + QLatin1Char(' ') + UnitMs()},
        {StatRmssd(), FormatNumber(stats.m_dRmssdMs, 1) + QLatin1Char(' ') + UnitMs()},
    };
    QStringList copy;
    QStringList rows[4];
    for (qsizetype i = 0; i < items.size(); ++i) {
        copy << items[i].first + QLatin1Char('\t') + items[i].second;
        rows[i < 1   ? 0
             : i < 5 ? 1
             : i < 7 ? 2
                     : 3]
            << items[i].first + QLatin1Char(' ') + items[i].second;
    }
    const QString caption = ofSelection ? StatsOfSelection() : StatsOfView();
    m_strCopy = caption + QLatin1Char('\n') + copy.join(QLatin1Char('\n')) + QLatin1Char('\n');
    QString shown = caption + QStringLiteral("  ") + rows[0].join(QStringLiteral("  "));
    for (int row = 1; row < 4; ++row) {
        shown += QLatin1Char('\n') + rows[row].join(QStringLiteral("  "));
    }
    m_pText->setText(shown);
    setToolTip(shown);
    setAccessibleDescription(shown);
}

void CSelectionStatsPanel::CopyToClipboard() const {
    if (!m_strCopy.isEmpty()) {
        QGuiApplication::clipboard()->setText(m_strCopy);
    }
}

}  // namespace somatrix
