#pragma once
// Command 126, "自定义...": a small dialog listing the command toolbar's buttons with a check box
// each (shown or hidden) and buttons to move the selected one up or down or to go back to the
// first arrangement. OK applies the arrangement to the toolbar, which keeps it across runs.
#include <QDialog>

#include "ui/shell/command_toolbar.h"

class QListWidget;
class QPushButton;

namespace somatrix {

class CDlgCustomize : public QDialog {
    Q_OBJECT
public:
    explicit CDlgCustomize(CCommandToolBar& toolbar, QWidget* parent = nullptr);

    // The arrangement as the list shows it now.
    CToolbarArrangement Arrangement() const;
    QListWidget* List() const { return m_pList; }
    QPushButton* UpButton() const { return m_pUp; }
    QPushButton* DownButton() const { return m_pDown; }
    QPushButton* ResetButton() const { return m_pReset; }

    void accept() override;

private:
    void Fill(const CToolbarArrangement& arrangement);
    void Move(int step);
    void UpdateButtons();

    CCommandToolBar& m_toolbar;
    QListWidget* m_pList = nullptr;
    QPushButton* m_pUp = nullptr;
    QPushButton* m_pDown = nullptr;
    QPushButton* m_pReset = nullptr;
};

}  // namespace somatrix
