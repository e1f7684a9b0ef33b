// The main frame's command toolbar, status bar, look and bar items of the View menu, print items,
// accelerator table and the toolbar's commands.
#include <QAction>
#include <QMenu>
#include <QPushButton>

#include "ui/monitor/dlg_oper.h"
#include "ui/monitor/somatrix_view.h"
#include "ui/shell/app_look.h"
#include "ui/shell/command_ids.h"
#include "ui/shell/command_toolbar.h"
#include "ui/shell/dlg_customize.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/platform_commands.h"
#include "ui/shell/shell_texts.h"
#include "ui/shell/status_panes.h"
#include "ui/shell/view_printer.h"

namespace somatrix {

namespace {

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The main window's accelerator table: a command and its keys.
struct CAccelerator {
    int m_nId;
    QKeyCombination m_keys[2];
};
const CAccelerator kAccelerators[] = {
    {ids::kNew, {Qt::CTRL | Qt::Key_N, {}}},
    {ids::kOpen, {Qt::CTRL | Qt::Key_O, {}}},
    {ids::kSave, {Qt::CTRL | Qt::Key_S, {}}},
    {ids::kPrint, {Qt::CTRL | Qt::Key_P, {}}},
    {ids::kUndo, {Qt::CTRL | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace}},
    {ids::kCut, {Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete}},
    {ids::kCopy, {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert}},
    {ids::kPaste, {Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert}},
    {ids::kNextPane, {Qt::Key_F6, {}}},
    {ids::kPrevPane, {Qt::SHIFT | Qt::Key_F6, {}}},
};

}  // namespace

void CMainFrame::CreateCommandBars() {
    m_pToolBar = new CCommandToolBar(this);
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
    connect(m_pToolBar, &CCommandToolBar::CommandTriggered, this,
            [this](int id) { OnToolCommand(id); });
    m_pStatusPanes = new CStatusPanes(this);
    setStatusBar(m_pStatusPanes);
    m_pPrinter = new CViewPrinter(this);
    UpdateRecordState();
}

void CMainFrame::AddPrintItems(QMenu* menu) {
    AddCommand(menu, ids::kPrint, Text(texts::kPrint), [this] { m_pPrinter->OnPrint(m_pView); });
    AddCommand(menu, ids::kPrintPreview, Text(texts::kPrintPreview),
               [this] { m_pPrinter->OnPrintPreview(m_pView); });
    AddCommand(menu, ids::kPrintSetup, Text(texts::kPrintSetup),
               [this] { m_pPrinter->OnPrintSetup(); });
    AddCommand(menu, ids::kPrintWorksheet, Text(texts::kPrintWorksheet),
               [this] { m_pView->ReviewDisplay().PrintWorksheet(); });
}

void CMainFrame::AddBarItems(QMenu* menu) {
    // "工具栏和停靠窗口": a check item for the command toolbar, then the customize command.
    QMenu* bars = menu->addMenu(Text(texts::kToolbarsMenu));
    QAction* toolbar = m_pToolBar->toggleViewAction();
    toolbar->setData(ids::kViewToolbar);
    toolbar->setText(Text(texts::kCommandToolbar));
    bars->addAction(toolbar);
    bars->addSeparator();
    AddCommand(bars, ids::kCustomize, Text(texts::kCustomize), [this] { OnCustomize(); });

    QAction* status = AddCommand(menu, ids::kViewStatusBar, Text(texts::kStatusBarItem), {});
    status->setCheckable(true);
    status->setChecked(true);
    connect(status, &QAction::toggled, m_pStatusPanes, &QWidget::setVisible);

    m_pLooks = new CLookMenu(this);
    menu->addMenu(m_pLooks->Menu());
    connect(m_pLooks, &CLookMenu::LookChanged, this, &CMainFrame::LookChanged);
}

void CMainFrame::AddCopyCommand() {
    // Ctrl+C of the accelerator table copies the review's statistics while review is shown.
    if (QAction* copy = FindAction(ids::kCopy)) {
        connect(copy, &QAction::triggered, this, [this] {
            if (m_pView->GetMode() == CSomatrixView::kModeReview) {
                m_pView->ReviewDisplay().CopyStatistics();
            }
        });
    }
}

void CMainFrame::AddAccelerators() {
    for (const CAccelerator& accelerator : kAccelerators) {
        QList<QKeySequence> keys;
        for (const QKeyCombination& key : accelerator.m_keys) {
            if (key.key() != Qt::Key_unknown) {
                keys.append(QKeySequence(key));
            }
        }
        // A command of the menu gets the keys on its item; the others (new document and the edit
        // commands, which the program does not handle) are keys that do nothing.
        QAction* action = FindAction(accelerator.m_nId);
        if (action == nullptr) {
            action = new QAction(this);
            action->setData(accelerator.m_nId);
            addAction(action);
        }
        for (const QKeySequence& key : action->shortcuts()) {
            if (!keys.contains(key)) {
                keys.append(key);
            }
        }
        action->setShortcuts(keys);
    }
}

QMenu* CMainFrame::createPopupMenu() {
    auto* menu = new QMenu(this);
    menu->addAction(m_pToolBar->toggleViewAction());
    menu->addSeparator();
    if (QAction* customize = FindAction(ids::kCustomize)) {
        menu->addAction(customize);
    }
    return menu;
}

void CMainFrame::OnCustomize() {
    CDlgCustomize dialog(*m_pToolBar, this);
    dialog.exec();
}

void CMainFrame::OnToolCommand(int id) {
    switch (id) {
        case ids::kToolSwitch:
            if (m_pView) {
                m_pView->OnSwitchInterface();
            }
            break;
        case ids::kToolDriver:
            OnInstallDriver(this, m_strProgramFolder);
            break;
        case ids::kToolScan:
            // Exactly as if the operator pressed the panel's scan button.
            if (m_pView) {
                auto* scan = qobject_cast<QPushButton*>(Panel()->Control(CDlgOper::kIdScan));
                if (scan && scan->isEnabled()) {
                    scan->click();
                }
            }
            break;
        case ids::kToolDocument:
            OnTechnicalDocument(this, m_strProgramFolder);
            break;
        case ids::kToolShop:
            if (m_pView) {
                OnShopPage(this, m_strProgramFolder + QStringLiteral("Somatrix.ini"));
            }
            break;
        case ids::kToolStartRecord:
            OnStartRecord();
            break;
        case ids::kToolStopRecord:
            OnStopRecord();
            break;
        case ids::kToolPauseRecord:
            OnPauseRecord();
            break;
        default:
            break;
    }
}

void CMainFrame::OnStartRecord() {
    if (m_bRecording || !m_pView) {
        return;
    }
    // Carried out only while the menu command is enabled (no log open). What the button shows
    // afterwards is whether the raw log really opened.
    ExecuteCommand(ids::kStartRawLog);
    UpdateRecordState();
}

void CMainFrame::OnStopRecord() {
    if (!m_bRecording || !m_pView) {
        return;
    }
    ExecuteCommand(ids::kStopRawLog);
    UpdateRecordState();
}

void CMainFrame::OnPauseRecord() {
    // Pauses or resumes the open log, whichever it is; without one there is nothing to pause.
    if (m_pView && Panel()->IsLogOpen()) {
        COperCore& core = Panel()->Core();
        core.SetLogPaused(!core.GetLog().IsPaused());
    }
    UpdateRecordState();
}

void CMainFrame::UpdateRecordState() {
    m_bRecording = m_pView && Panel()->Core().GetLog().IsRecordingRaw();
    const bool paused = m_pView && Panel()->Core().GetLog().IsPaused();
    if (m_pToolBar) {
        m_pToolBar->SetRecording(m_bRecording, paused);
    }
}

}  // namespace somatrix
