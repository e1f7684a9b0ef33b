#pragma once
// "对比两段记录": two recordings side by side (rest and after exercise, say), each in its own wave
// view on one shared time scale counted from each recording's start, and the table of both and
// their difference. The wheel zooms and a drag pans both views together. Owns its two sources.
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "analysis/selection_stats.h"
#include "report/worksheet.h"
#include "review/review_source.h"

class QLabel;
class QTableWidget;

namespace somatrix {

class CComparePlot;
class CWorksheetDialog;

class CCompareWnd : public QWidget {
    Q_OBJECT
public:
    explicit CCompareWnd(QWidget* parent = nullptr);
    ~CCompareWnd() override;

    // Recording 0 or 1 from a file (either kind the review opens); false with a message text
    // when it cannot be opened.
    bool LoadRecording(int which, const QString& path, QString* error);
    // Recording 0 or 1 from a source already in memory (the review display's).
    void SetRecording(int which, CReviewSource source, const QString& name);

    bool HasRecording(int which) const;
    const CSelectionStats& Stats(int which) const { return m_slots[size_t(which)].m_stats; }
    QTableWidget* Table() const { return m_pTable; }
    CComparePlot* Plot(int which) const { return m_plots[size_t(which)]; }

    // The shared time scale, seconds from each recording's start.
    double From() const { return m_dFrom; }
    double To() const { return m_dTo; }
    void SetTimeRange(double from, double to);
    double LongestSeconds() const;

    // The worksheet's two pages, showing the shared time scale.
    std::vector<CWorksheetRecording> WorksheetPages() const;
    // "打印实验报告…" for the comparison: the dialog (owned by the caller), or shown modally.
    CWorksheetDialog* CreateWorksheetDialog();
    void PrintWorksheet();

private:
    struct CSlot {
        std::unique_ptr<CReviewSource> m_pSource;
        QString m_strName;
        std::vector<double> m_beats;
        CSelectionStats m_stats;
    };
    void Refresh();
    void FillTable();

    std::array<CSlot, 2> m_slots;
    std::array<CComparePlot*, 2> m_plots{};
    std::array<QLabel*, 2> m_names{};
    QTableWidget* m_pTable = nullptr;
    double m_dFrom = 0.0;
    double m_dTo = 1.0;
};

// One recording of the comparison: its trace over the window's shared time scale.
class CComparePlot : public QWidget {
    Q_OBJECT
public:
    CComparePlot(CCompareWnd* owner, int which);
    void SetPage(CWorksheetRecording page);
    const CWorksheetRecording& Page() const { return m_page; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QRect PlotRect() const;

    CCompareWnd* m_pOwner;
    CWorksheetRecording m_page;
    int m_nLastX = -1;
};

}  // namespace somatrix
