#pragma once
// "打印实验报告…": the student's fields (name, class, date), then the worksheet printed, previewed
// or saved as PDF. The pages (one, or two for a comparison) point at samples that `keepAlive`
// holds (or that outlive the dialog).
#include <QDialog>
#include <memory>
#include <vector>

#include "report/worksheet.h"

class QLineEdit;
class QPrinter;

namespace somatrix {

class CWorksheetDialog : public QDialog {
    Q_OBJECT
public:
    CWorksheetDialog(QWidget* parent, std::vector<CWorksheetRecording> pages,
                     std::shared_ptr<const void> keepAlive = {});

    CWorksheetFields Fields() const;
    QLineEdit* FieldBox(int index) const { return m_pFields[index]; }

    void OnPrint();
    void OnPreview();
    // Asks for a file name (the review's file dialog, so tests can answer it) and writes the PDF.
    void OnSavePdf();

private:
    void Paint(QPrinter& printer);

    std::vector<const CWorksheetRecording*> Pages() const;

    std::vector<CWorksheetRecording> m_pages;
    std::shared_ptr<const void> m_pKeepAlive;
    QLineEdit* m_pFields[3];
};

}  // namespace somatrix
