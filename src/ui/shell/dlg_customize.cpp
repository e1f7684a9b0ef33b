#include "ui/shell/dlg_customize.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/shell/shell_texts.h"

namespace somatrix {

CDlgCustomize::CDlgCustomize(CCommandToolBar& toolbar, QWidget* parent)
    : QDialog(parent), m_toolbar(toolbar) {
    setWindowTitle(QString::fromUtf8(texts::kCustomizeTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(texts::kCustomizeHint), this));

    auto* row = new QHBoxLayout;
    m_pList = new QListWidget(this);
    m_pList->setIconSize(QSize(24, 24));
    m_pList->setAccessibleName(QString::fromUtf8(texts::kCustomizeTitle));
    row->addWidget(m_pList, 1);
    auto* side = new QVBoxLayout;
    m_pUp = new QPushButton(QString::fromUtf8(texts::kMoveUp), this);
    m_pDown = new QPushButton(QString::fromUtf8(texts::kMoveDown), this);
    m_pReset = new QPushButton(QString::fromUtf8(texts::kReset), this);
    side->addWidget(m_pUp);
    side->addWidget(m_pDown);
    side->addSpacing(12);
    side->addWidget(m_pReset);
    side->addStretch(1);
    row->addLayout(side);
    layout->addLayout(row);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgCustomize::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgCustomize::reject);
    connect(m_pUp, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(m_pDown, &QPushButton::clicked, this, [this] { Move(1); });
    connect(m_pReset, &QPushButton::clicked, this, [this] { Fill(DefaultToolbarArrangement()); });
    connect(m_pList, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });

    Fill(m_toolbar.Arrangement());
    resize(320, 360);
}

CToolbarArrangement CDlgCustomize::Arrangement() const {
    CToolbarArrangement arrangement;
    for (int row = 0; row < m_pList->count(); ++row) {
        const QListWidgetItem* item = m_pList->item(row);
        arrangement.append({item->data(Qt::UserRole).toInt(), item->checkState() == Qt::Checked});
    }
    return arrangement;
}

void CDlgCustomize::accept() {
    m_toolbar.SetArrangement(Arrangement());
    QDialog::accept();
}

void CDlgCustomize::Fill(const CToolbarArrangement& arrangement) {
    m_pList->clear();
    for (const CToolButtonSlot& slot : arrangement) {
        const QAction* action = m_toolbar.Action(slot.m_nId);
        auto* item = new QListWidgetItem(action->icon(), action->text(), m_pList);
        item->setData(Qt::UserRole, slot.m_nId);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(slot.m_bVisible ? Qt::Checked : Qt::Unchecked);
    }
    m_pList->setCurrentRow(0);
    UpdateButtons();
}

void CDlgCustomize::Move(int step) {
    const int row = m_pList->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_pList->count()) {
        return;
    }
    QListWidgetItem* item = m_pList->takeItem(row);
    m_pList->insertItem(target, item);
    m_pList->setCurrentRow(target);
    UpdateButtons();
}

void CDlgCustomize::UpdateButtons() {
    const int row = m_pList->currentRow();
    m_pUp->setEnabled(row > 0);
    m_pDown->setEnabled(row >= 0 && row + 1 < m_pList->count());
}

}  // namespace somatrix
