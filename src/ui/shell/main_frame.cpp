#include "ui/shell/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>

#include "ui/monitor/dlg_oper.h"
#include "ui/monitor/somatrix_view.h"
#include "ui/monitor/wave_recorder.h"
#include "ui/shell/about_box.h"
#include "ui/shell/app_look.h"
#include "ui/shell/command_ids.h"

namespace somatrix {

CMainFrame::CMainFrame(CDeviceAccess& devices, const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), m_strProgramFolder(programFolder) {
    // The stored look is applied (and stored again) before anything is shown.
    const int look = LoadApplicationLook();
    ApplyApplicationLook(look);
    StoreApplicationLook(look);
    setWindowTitle(QStringLiteral("组合式电生理传感器采集程序"));
    m_pView = new CSomatrixView(programFolder, devices, this);
    setCentralWidget(m_pView);
    CreateCommandBars();

    BuildFileMenu();
    BuildViewMenu();
    AddReconnectItem(m_pViewMenu);
    BuildDemoMenu(devices);
    BuildHelpMenu();
    AddAccelerators();
    AddCopyCommand();

    CreateWaveRecorder();
    StartIntegrityPane();
    connect(&m_pView->Panel(), &CDlgOper::LogFileChanged, this, [this](bool open) {
        UpdateCommandStates();
        UpdateRecordState();
        emit LogFileChanged(open);
    });
    UpdateCommandStates();
}

CMainFrame::~CMainFrame() {
    // The panel stops a measurement and closes its log as it goes, and reports that; the frame
    // must still be whole to hear it. A waveform recording ends with the window; its file is kept.
    if (Panel()) {
        Panel()->SetSampleTap(nullptr);
    }
    m_pWaveRecorder->Stop();
    delete takeCentralWidget();
    m_pView = nullptr;
}

CDlgOper* CMainFrame::Panel() const {
    return m_pView ? &m_pView->Panel() : nullptr;
}

QAction* CMainFrame::AddCommand(QMenu* menu, int id, const QString& text,
                                std::function<void()> handler) {
    auto* action = new QAction(text, this);
    action->setData(id);
    if (handler) {
        connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    }
    menu->addAction(action);
    return action;
}

QAction* CMainFrame::FindAction(int id) const {
    for (QAction* action : findChildren<QAction*>()) {
        if (action->data().isValid() && action->data().toInt() == id) {
            return action;
        }
    }
    return nullptr;
}

bool CMainFrame::ExecuteCommand(int id) {
    UpdateCommandStates();
    QAction* action = FindAction(id);
    if (!action || !action->isEnabled()) {
        return false;
    }
    action->trigger();
    return true;
}

void CMainFrame::UpdateCommandStates() {
    // The four log items are enabled by whether the shared log file is open, whichever log it
    // is; a start item is checked only while its own log runs.
    const bool open = Panel() && Panel()->IsLogOpen();
    const CDataLog* log = Panel() ? &Panel()->Core().GetLog() : nullptr;
    for (int id : {ids::kStartRawLog, ids::kStartParsedLog}) {
        if (QAction* action = FindAction(id)) {
            action->setEnabled(!open);
            action->setChecked(
                log && (id == ids::kStartRawLog ? log->IsRecordingRaw() : log->IsParsing()));
        }
    }
    for (int id : {ids::kStopRawLog, ids::kStopParsedLog}) {
        if (QAction* action = FindAction(id)) {
            action->setEnabled(open);
        }
    }
    UpdateWaveStates();
}

// ---- Menus -------------------------------------------------------------------------------------

void CMainFrame::BuildFileMenu() {
    m_pFileMenu = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    AddLogItems(m_pFileMenu);
    m_pFileMenu->addSeparator();
    AddDocumentItems(m_pFileMenu);
    m_pFileMenu->addSeparator();
    AddPrintItems(m_pFileMenu);
    m_pFileMenu->addSeparator();
    AddExitItem(m_pFileMenu);
}

void CMainFrame::AddLogItems(QMenu* menu) {
    AddCommand(menu, ids::kStartRawLog, QStringLiteral("录存原始数据"), [this] {
        Panel()->OnStartRawLog();
    })->setCheckable(true);
    AddCommand(menu, ids::kStopRawLog, QStringLiteral("停录原始数据"),
               [this] { Panel()->OnStopLog(); });
    menu->addSeparator();
    AddCommand(menu, ids::kStartParsedLog, QStringLiteral("开始保存解析数据"), [this] {
        Panel()->OnStartParsedLog();
    })->setCheckable(true);
    AddCommand(menu, ids::kStopParsedLog, QStringLiteral("停止保存解析数据"),
               [this] { Panel()->OnStopLog(); });
    menu->addSeparator();
    AddWaveItems(menu);
}

void CMainFrame::AddDocumentItems(QMenu* menu) {
    AddCommand(menu, ids::kOpen, QStringLiteral("打开波形文档(&O)..."), [this] {
        m_pView->OnFileOpen();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    AddCommand(menu, ids::kCompareRecordings, QStringLiteral("对比两段记录…"), [this] {
        m_pView->ShowReviewLayout();
        m_pView->ReviewDisplay().OpenComparison();
    });
    AddCommand(menu, ids::kSave, QStringLiteral("保存波形文档(&S)"), [this] {
        m_pView->OnFileSave();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
}

void CMainFrame::AddExitItem(QMenu* menu) {
    AddCommand(menu, ids::kExit, QStringLiteral("退出(&X)"), [this] { close(); });
}

void CMainFrame::BuildViewMenu() {
    m_pViewMenu = menuBar()->addMenu(QStringLiteral("视图(&V)"));
    AddBarItems(m_pViewMenu);
    AddCommand(m_pViewMenu, ids::kSwitchInterface, QStringLiteral("界面切换"),
               [this] { m_pView->OnSwitchInterface(); });
}

void CMainFrame::BuildHelpMenu() {
    m_pHelpMenu = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    QAction* about = AddCommand(m_pHelpMenu, ids::kAbout, QStringLiteral("关于 Somatrix(&A)..."),
                                [this] { OnAppAbout(); });
    about->setToolTip(QStringLiteral("关于"));
    about->setStatusTip(QStringLiteral("显示程序信息、版本号和版权"));
}

void CMainFrame::OnAppAbout() {
    CAboutDlg about(this);
    about.exec();
}

}  // namespace somatrix
