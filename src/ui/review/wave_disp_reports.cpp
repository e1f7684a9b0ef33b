// The review display's worksheet and its comparison of two recordings.
#include <memory>

#include "report/worksheet_source.h"
#include "review/review_source.h"
#include "ui/review/compare_wnd.h"
#include "ui/review/file_dialog.h"
#include "ui/review/review_texts.h"
#include "ui/review/wave_data_wnd.h"
#include "ui/review/wave_disp_wnd.h"
#include "ui/review/worksheet_dialog.h"
#include "ui/shell/message_box.h"

namespace somatrix {

namespace {

QString AskRecording(QWidget* parent, const QString& title) {
    CFileDialogRequest request;
    request.m_strTitle = title;
    request.m_strFilter = review::CompareFilter();
    return AskFilePath(parent, request);
}

}  // namespace

void CWaveDispWnd::OpenComparison() {
    if (m_pCompare == nullptr) {
        m_pCompare = new CCompareWnd(this);
    }
    if (!m_source.Empty()) {
        m_pCompare->SetRecording(0, m_source, m_strPath);
    } else {
        const QString path = AskRecording(this, review::CompareOpenFirst());
        QString error;
        if (path.isEmpty()) {
            return;
        }
        if (!m_pCompare->LoadRecording(0, path, &error)) {
            ShowMessageBox(this, error);
            return;
        }
    }
    const QString second = AskRecording(this, review::CompareOpenSecond());
    QString error;
    if (!second.isEmpty() && !m_pCompare->LoadRecording(1, second, &error)) {
        ShowMessageBox(this, error);
    }
    m_pCompare->show();
    m_pCompare->raise();
}

CWorksheetDialog* CWaveDispWnd::CreateWorksheetDialog() {
    if (m_pCompare != nullptr && m_pCompare->isVisible() && m_pCompare->HasRecording(0) &&
        m_pCompare->HasRecording(1)) {
        return m_pCompare->CreateWorksheetDialog();
    }
    // The page reads a copy of the recording, which the dialog keeps while it is open.
    auto source = std::make_shared<CReviewSource>(m_source);
    const CWaveView& view = m_pWave->View();
    CWorksheetRange range;
    range.m_nViewStart = view.ViewStart();
    range.m_nViewEnd = view.ViewEnd();
    range.m_nSelLow = view.SelLow();
    range.m_nSelHigh = view.SelHigh();
    std::vector<CWorksheetRecording> pages;
    pages.push_back(WorksheetOfSource(*source, m_strPath, m_beatTimes, range));
    return new CWorksheetDialog(this, std::move(pages), source);
}

void CWaveDispWnd::PrintWorksheet() {
    std::unique_ptr<CWorksheetDialog> dialog(CreateWorksheetDialog());
    dialog->exec();
}

}  // namespace somatrix
