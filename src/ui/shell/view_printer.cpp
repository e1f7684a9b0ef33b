#include "ui/shell/view_printer.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>
#include <algorithm>

namespace somatrix {

CViewPrinter::CViewPrinter(QWidget* parent)
    : QObject(parent),
      m_pParent(parent),
      m_pPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    m_pPrinter->setPageOrientation(QPageLayout::Landscape);
    m_pPrinter->setDocName(QStringLiteral("Somatrix"));
}

CViewPrinter::~CViewPrinter() = default;

void CViewPrinter::PaintView(QWidget* view, QPrinter& printer) {
    if (view == nullptr) {
        return;
    }
    QPainter painter(&printer);
    const QRect page = painter.viewport();
    const QSize size = view->size();
    if (size.isEmpty() || page.isEmpty()) {
        return;
    }
    // Scale the view to the page, keeping its proportions, centred at the top.
    const double scale =
        std::min(double(page.width()) / size.width(), double(page.height()) / size.height());
    const QSize scaled(int(size.width() * scale), int(size.height() * scale));
    painter.setViewport(page.x() + (page.width() - scaled.width()) / 2, page.y(), scaled.width(),
                        scaled.height());
    painter.setWindow(0, 0, size.width(), size.height());
    view->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
}

void CViewPrinter::OnPrint(QWidget* view) {
    QPrintDialog dialog(m_pPrinter.get(), m_pParent);
    if (dialog.exec() == QDialog::Accepted) {
        PaintView(view, *m_pPrinter);
    }
}

void CViewPrinter::OnPrintPreview(QWidget* view) {
    QPrintPreviewDialog preview(m_pPrinter.get(), m_pParent);
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
            [view](QPrinter* printer) { PaintView(view, *printer); });
    preview.resize(900, 700);
    preview.exec();
}

void CViewPrinter::OnPrintSetup() {
    QPageSetupDialog dialog(m_pPrinter.get(), m_pParent);
    dialog.exec();
}

}  // namespace somatrix
