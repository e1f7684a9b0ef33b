#include "ui/review/wave_info_bar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "ui/review/review_texts.h"

namespace somatrix {

namespace {

// Dialog units of the template's default font (4 x 8 units per 6 x 13 pixel character cell),
// one fixed scale so that the bar keeps its proportions.
constexpr double kDluX = 6.0 / 4.0;
constexpr double kDluY = 13.0 / 8.0;

QRect FromDialogUnits(int x, int y, int w, int h) {
    const auto px = [](double v) { return static_cast<int>(std::lround(v)); };
    return {px(x * kDluX), px(y * kDluY), px(w * kDluX), px(h * kDluY)};
}

void AddLabel(QWidget* parent, const QString& text, int x, int y, int w, int h) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(FromDialogUnits(x, y, w, h));
}

QLineEdit* AddBox(QWidget* parent, int id, const QString& name, int x, int y) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QStringLiteral("box%1").arg(id));
    box->setAccessibleName(name);
    box->setReadOnly(true);
    box->setGeometry(FromDialogUnits(x, y, 109, 14));
    return box;
}

}  // namespace

CWaveInfoBar::CWaveInfoBar(QWidget* parent) : QDialog(parent) {
    // QDialog turns a plain flag into a top-level dialog; the bar is a child of the display.
    setWindowFlags(Qt::Widget);
    // The dialog's own colours, not the display's background behind it.
    setAutoFillBackground(true);
    resize(FromDialogUnits(0, 0, 626, 45).size());
    AddLabel(this, review::ViewCaption(), 6, 8, 17, 8);
    m_pViewStart = AddBox(this, review::ids::kViewStart, review::ViewStartName(), 28, 5);
    m_pViewEnd = AddBox(this, review::ids::kViewEnd, review::ViewEndName(), 154, 5);
    AddLabel(this, review::SelectionCaption(), 6, 28, 17, 8);
    m_pSelStart = AddBox(this, review::ids::kSelStart, review::SelStartName(), 28, 25);
    m_pSelEnd = AddBox(this, review::ids::kSelEnd, review::SelEndName(), 154, 25);
    AddLabel(this, review::XScaleCaption(), 294, 9, 21, 8);
    m_pXScale = AddBox(this, review::ids::kXScale, review::XScaleCaption(), 326, 6);
    AddLabel(this, review::YScaleCaption(), 294, 29, 21, 8);
    m_pYScale = AddBox(this, review::ids::kYScale, review::YScaleCaption(), 326, 24);

    // Beyond the template: the signal chooser, the annotation list and its commands, export.
    AddLabel(this, review::SignalCaption(), 442, 9, 20, 8);
    m_pSignals = new QComboBox(this);
    m_pSignals->setAccessibleName(review::SignalCaption());
    m_pSignals->setGeometry(FromDialogUnits(462, 5, 84, 14));
    AddLabel(this, review::MarksCaption(), 442, 28, 20, 8);
    m_pMarks = new QComboBox(this);
    m_pMarks->setAccessibleName(review::MarksCaption());
    m_pMarks->setGeometry(FromDialogUnits(462, 24, 84, 14));
    const auto button = [this](const QString& text, int x, int y) {
        auto* b = new QPushButton(text, this);
        b->setAccessibleName(text);
        b->setGeometry(FromDialogUnits(x, y, 38, 14));
        return b;
    };
    m_pAddMark = button(review::AddMarkText(), 550, 5);
    m_pExportCsv = button(review::ExportCsvText(), 590, 5);
    m_pRenameMark = button(review::RenameMarkText(), 550, 24);
    m_pRemoveMark = button(review::RemoveMarkText(), 590, 24);
    connect(m_pSignals, &QComboBox::activated, this, &CWaveInfoBar::SignalChosen);
    connect(m_pMarks, &QComboBox::activated, this, &CWaveInfoBar::MarkChosen);
    connect(m_pAddMark, &QPushButton::clicked, this, &CWaveInfoBar::AddMarkClicked);
    connect(m_pRenameMark, &QPushButton::clicked, this,
            [this] { emit RenameMarkClicked(m_pMarks->currentIndex()); });
    connect(m_pRemoveMark, &QPushButton::clicked, this,
            [this] { emit RemoveMarkClicked(m_pMarks->currentIndex()); });
    connect(m_pExportCsv, &QPushButton::clicked, this, &CWaveInfoBar::ExportCsvClicked);
    SetSignals({}, -1);
    SetMarks({}, -1);
}

void CWaveInfoBar::SetSignals(const QStringList& labels, int current) {
    m_pSignals->clear();
    m_pSignals->addItems(labels);
    m_pSignals->setCurrentIndex(current);
    m_pSignals->setEnabled(labels.size() > 1);
}

void CWaveInfoBar::SetMarks(const QStringList& items, int current) {
    m_pMarks->clear();
    m_pMarks->addItems(items);
    m_pMarks->setCurrentIndex(current);
    m_pMarks->setEnabled(!items.isEmpty());
    m_pRenameMark->setEnabled(!items.isEmpty());
    m_pRemoveMark->setEnabled(!items.isEmpty());
}

void CWaveInfoBar::SetViewTimes(const QString& start, const QString& end) {
    m_pViewStart->setText(start);
    m_pViewEnd->setText(end);
}

void CWaveInfoBar::SetSelectionTimes(const QString& low, const QString& high) {
    m_pSelStart->setText(low);
    m_pSelEnd->setText(high);
}

void CWaveInfoBar::SetScales(const QString& x, const QString& y) {
    m_pXScale->setText(x);
    m_pYScale->setText(y);
}

void CWaveInfoBar::Clear() {
    for (QLineEdit* box :
         {m_pViewStart, m_pViewEnd, m_pSelStart, m_pSelEnd, m_pXScale, m_pYScale}) {
        box->clear();
    }
}

QLineEdit* CWaveInfoBar::Box(int id) const {
    switch (id) {
        case review::ids::kViewStart:
            return m_pViewStart;
        case review::ids::kViewEnd:
            return m_pViewEnd;
        case review::ids::kSelStart:
            return m_pSelStart;
        case review::ids::kSelEnd:
            return m_pSelEnd;
        case review::ids::kXScale:
            return m_pXScale;
        case review::ids::kYScale:
            return m_pYScale;
        default:
            return nullptr;
    }
}

}  // namespace somatrix
