#include "ui/review/worksheet_dialog.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "report/report_texts.h"
#include "ui/review/file_dialog.h"
#include "ui/review/review_texts.h"
#include "ui/shell/message_box.h"

namespace somatrix {

namespace {

void SetUpPrinter(QPrinter& printer) {
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    printer.setDocName(report::Title());
}

}  // namespace

CWorksheetDialog::CWorksheetDialog(QWidget* parent, std::vector<CWorksheetRecording> pages,
                                   std::shared_ptr<const void> keepAlive)
    : QDialog(parent), m_pages(std::move(pages)), m_pKeepAlive(std::move(keepAlive)) {
    setWindowTitle(review::WorksheetTitle());
    setAccessibleName(review::WorksheetTitle());
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const QString labels[3] = {report::StudentField(), report::ClassField(), report::DateField()};
    for (int i = 0; i < 3; ++i) {
        m_pFields[i] = new QLineEdit(this);
        m_pFields[i]->setAccessibleName(labels[i]);
        form->addRow(labels[i], m_pFields[i]);
    }
    m_pFields[2]->setText(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    const auto add = [&](const QString& text, void (CWorksheetDialog::*slot)()) {
        QPushButton* button = buttons->addButton(text, QDialogButtonBox::ActionRole);
        button->setAccessibleName(text);
        connect(button, &QPushButton::clicked, this, slot);
    };
    add(review::PrintButton(), &CWorksheetDialog::OnPrint);
    add(review::PreviewButton(), &CWorksheetDialog::OnPreview);
    add(review::SavePdfButton(), &CWorksheetDialog::OnSavePdf);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setText(review::CloseButton());
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(460, sizeHint().height());
}

CWorksheetFields CWorksheetDialog::Fields() const {
    return {m_pFields[0]->text(), m_pFields[1]->text(), m_pFields[2]->text()};
}

std::vector<const CWorksheetRecording*> CWorksheetDialog::Pages() const {
    std::vector<const CWorksheetRecording*> pages;
    for (const CWorksheetRecording& page : m_pages) {
        pages.push_back(&page);
    }
    return pages;
}

void CWorksheetDialog::Paint(QPrinter& printer) {
    PaintWorksheet(printer, Fields(), Pages());
}

void CWorksheetDialog::OnPrint() {
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        Paint(printer);
    }
}

void CWorksheetDialog::OnPreview() {
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
            [this](QPrinter* target) { Paint(*target); });
    preview.resize(800, 900);
    preview.exec();
}

void CWorksheetDialog::OnSavePdf() {
    CFileDialogRequest request;
    request.m_bSave = true;
    request.m_strTitle = review::SavePdfButton();
    request.m_strFilter = review::PdfFilter();
    request.m_strDefaultSuffix = QStringLiteral("pdf");
    const QString path = AskFilePath(this, request);
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!WriteWorksheetPdf(path, Fields(), Pages(), &error)) {
        ShowMessageBox(this, error);
    }
}

}  // namespace somatrix
