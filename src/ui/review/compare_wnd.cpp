#include "ui/review/compare_wnd.h"

#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "analysis/recording_comparison.h"
#include "analysis/source_beats.h"
#include "report/number_format.h"
#include "report/report_texts.h"
#include "report/worksheet_source.h"
#include "review/source_load.h"
#include "ui/review/review_texts.h"
#include "ui/review/worksheet_dialog.h"

namespace somatrix {

namespace {

constexpr int kFont = 12;
// Decimals of the table's rows, in the order of ECompareRow (values: the signal's own).
int RowDecimals(int row, int valueDecimals) {
    return row == 0 ? 2 : row >= 6 ? valueDecimals + 1 : 1;
}

}  // namespace

CCompareWnd::CCompareWnd(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(review::CompareWindowTitle());
    setAccessibleName(review::CompareWindowTitle());
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 2; ++i) {
        m_names[size_t(i)] = new QLabel(this);
        layout->addWidget(m_names[size_t(i)]);
        m_plots[size_t(i)] = new CComparePlot(this, i);
        layout->addWidget(m_plots[size_t(i)], 1);
    }
    m_pTable = new QTableWidget(kCompareRows, 3, this);
    m_pTable->setAccessibleName(review::CompareTableName());
    m_pTable->setHorizontalHeaderLabels(
        {report::CompareFirst(), report::CompareSecond(), report::CompareDifference()});
    QStringList rows;
    for (int r = 0; r < kCompareRows; ++r) {
        rows << report::CompareRowName(r);
    }
    m_pTable->setVerticalHeaderLabels(rows);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_pTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Every row shows: the header, the rows and the frame.
    m_pTable->setFixedHeight(m_pTable->horizontalHeader()->sizeHint().height() +
                             m_pTable->verticalHeader()->length() + 2 * m_pTable->frameWidth() + 2);
    layout->addWidget(m_pTable);
    auto* print = new QPushButton(review::WorksheetTitle(), this);
    print->setAccessibleName(review::WorksheetTitle());
    connect(print, &QPushButton::clicked, this, &CCompareWnd::PrintWorksheet);
    layout->addWidget(print, 0, Qt::AlignRight);
    resize(1000, 760);
}

CCompareWnd::~CCompareWnd() = default;

bool CCompareWnd::LoadRecording(int which, const QString& path, QString* error) {
    CReviewSource source;
    const CSourceLoadOutcome outcome =
        LoadReviewSource(QFile::encodeName(path).toStdString(), source);
    if (outcome.m_result != ESourceLoad::kLoaded || source.Empty()) {
        if (error != nullptr) {
            *error = outcome.m_strError.empty() ? review::CompareNotLoaded().arg(path)
                                                : QString::fromStdString(outcome.m_strError);
        }
        return false;
    }
    SetRecording(which, std::move(source), path);
    return true;
}

void CCompareWnd::SetRecording(int which, CReviewSource source, const QString& name) {
    CSlot& slot = m_slots[size_t(which)];
    slot.m_pSource = std::make_unique<CReviewSource>(std::move(source));
    slot.m_strName = name;
    slot.m_beats = SourceBeats(*slot.m_pSource);
    const CWorksheetRecording whole = WorksheetOfSource(*slot.m_pSource, name, slot.m_beats);
    slot.m_stats = whole.m_stats;
    m_names[size_t(which)]->setText(QStringLiteral("%1：%2").arg(
        which == 0 ? report::CompareFirst() : report::CompareSecond(), QFileInfo(name).fileName()));
    m_dFrom = 0.0;
    m_dTo = std::max(LongestSeconds(), 1.0);
    FillTable();
    Refresh();
}

bool CCompareWnd::HasRecording(int which) const {
    return m_slots[size_t(which)].m_pSource != nullptr;
}

double CCompareWnd::LongestSeconds() const {
    double longest = 0.0;
    for (const CSlot& slot : m_slots) {
        if (slot.m_pSource && slot.m_pSource->SampleRate() > 0) {
            longest = std::max(
                longest, double(slot.m_pSource->SampleCount()) / slot.m_pSource->SampleRate());
        }
    }
    return longest;
}

void CCompareWnd::SetTimeRange(double from, double to) {
    const double longest = std::max(LongestSeconds(), 1.0);
    const double span = std::clamp(to - from, 0.05, longest);
    from = std::clamp(from, 0.0, longest - span);
    m_dFrom = from;
    m_dTo = from + span;
    Refresh();
}

std::vector<CWorksheetRecording> CCompareWnd::WorksheetPages() const {
    std::vector<CWorksheetRecording> pages;
    for (const CSlot& slot : m_slots) {
        if (!slot.m_pSource) {
            continue;
        }
        const double rate = slot.m_pSource->SampleRate();
        CWorksheetRange range;
        range.m_nViewStart = int64_t(std::floor(m_dFrom * rate));
        range.m_nViewEnd = int64_t(std::ceil(m_dTo * rate));
        CWorksheetRecording page =
            WorksheetOfSource(*slot.m_pSource, slot.m_strName, slot.m_beats, range);
        // The table compares whole recordings; the page says so.
        page.m_stats = slot.m_stats;
        page.m_bStatsOfSelection = false;
        page.m_nViewStart = range.m_nViewStart;
        page.m_nViewEnd = range.m_nViewEnd;
        pages.push_back(std::move(page));
    }
    return pages;
}

CWorksheetDialog* CCompareWnd::CreateWorksheetDialog() {
    return new CWorksheetDialog(this, WorksheetPages());
}

void CCompareWnd::PrintWorksheet() {
    std::unique_ptr<CWorksheetDialog> dialog(CreateWorksheetDialog());
    dialog->exec();
}

void CCompareWnd::FillTable() {
    const auto lines = CompareRecordings(m_slots[0].m_stats, m_slots[1].m_stats);
    const CSlot& first = m_slots[0];
    int valueDecimals = 0;
    if (first.m_pSource) {
        const double offset = first.m_pSource->Physical(0);
        valueDecimals = review::ValueDecimals(first.m_pSource->Physical(1) - offset, offset);
    }
    for (const CCompareLine& line : lines) {
        const int row = int(line.m_row);
        const int decimals = RowDecimals(row, valueDecimals);
        const double values[3] = {line.m_dFirst, line.m_dSecond, line.m_dDifference};
        for (int column = 0; column < 3; ++column) {
            const bool present =
                HasRecording(column == 2 ? 0 : column) && (column != 2 || HasRecording(1));
            auto* item = new QTableWidgetItem(
                present ? review::FormatNumber(values[column], decimals) : QString());
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_pTable->setItem(row, column, item);
        }
    }
}

void CCompareWnd::Refresh() {
    const std::vector<CWorksheetRecording> pages = WorksheetPages();
    size_t next = 0;
    for (int i = 0; i < 2; ++i) {
        if (HasRecording(i) && next < pages.size()) {
            m_plots[size_t(i)]->SetPage(pages[next++]);
        }
    }
}

// ---- The plots ---------------------------------------------------------------------------------

CComparePlot::CComparePlot(CCompareWnd* owner, int which) : QWidget(owner), m_pOwner(owner) {
    setAccessibleName(review::ComparePlotName(which));
    setMinimumHeight(160);
}

void CComparePlot::SetPage(CWorksheetRecording page) {
    m_page = std::move(page);
    update();
}

QRect CComparePlot::PlotRect() const {
    return QRect(kFont * 5, 4, std::max(width() - kFont * 5 - 8, 1),
                 std::max(height() - kFont * 2 - 10, 1));
}

void CComparePlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintWavePanel(painter, PlotRect(), m_page, m_pOwner->From(), m_pOwner->To(), kFont);
}

void CComparePlot::wheelEvent(QWheelEvent* event) {
    const QRect plot = PlotRect();
    const double from = m_pOwner->From();
    const double span = m_pOwner->To() - from;
    const double at = from + span * (event->position().x() - plot.left()) / plot.width();
    const double factor = event->angleDelta().y() > 0 ? 0.8 : 1.25;
    m_pOwner->SetTimeRange(at - (at - from) * factor, at + (from + span - at) * factor);
    event->accept();
}

void CComparePlot::mousePressEvent(QMouseEvent* event) {
    m_nLastX = event->position().toPoint().x();
}

void CComparePlot::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || m_nLastX < 0) {
        return;
    }
    const int x = event->position().toPoint().x();
    const double span = m_pOwner->To() - m_pOwner->From();
    const double shift = -(x - m_nLastX) * span / PlotRect().width();
    m_nLastX = x;
    m_pOwner->SetTimeRange(m_pOwner->From() + shift, m_pOwner->To() + shift);
}

}  // namespace somatrix
