#pragma once
// Printing of the view (File menu: print 57607, print preview 57609, print setup 57606): the
// view's windows as they are shown, scaled to the printable page with their proportions kept.
// One printer is kept for the frame's life, so the page set up once serves every later print.
#include <QObject>
#include <memory>

class QPrinter;
class QWidget;
class QPainter;

namespace somatrix {

class CViewPrinter : public QObject {
    Q_OBJECT
public:
    explicit CViewPrinter(QWidget* parent);
    ~CViewPrinter() override;

    void OnPrint(QWidget* view);
    void OnPrintPreview(QWidget* view);
    void OnPrintSetup();

    QPrinter& Printer() { return *m_pPrinter; }
    // Paints `view` onto the printer's current page; used by the three commands and by tests.
    static void PaintView(QWidget* view, QPrinter& printer);

private:
    QWidget* m_pParent;
    std::unique_ptr<QPrinter> m_pPrinter;
};

}  // namespace somatrix
