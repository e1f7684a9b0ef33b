#pragma once
// The main window: the menu and the monitoring view. Every command is a QAction carrying its
// command id (QAction::data), so the toolbar, the accelerators and tests reach the same command
// the menu does, and a command whose action is disabled is never carried out. The menus are
// built one per function, so further items and bars are added beside them.
#include <QColor>
#include <QMainWindow>
#include <functional>

class QLabel;
class QMenu;
class QPushButton;

namespace somatrix {

class CCommandToolBar;
class CDeviceAccess;
class CDlgOper;
class CLookMenu;
class CSomatrixView;
class CStatusPanes;
class CViewPrinter;
class CWaveRecorder;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // `devices` must outlive the frame; `programFolder` ends with a separator.
    CMainFrame(CDeviceAccess& devices, const QString& programFolder, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The active view and its operation panel.
    CSomatrixView* View() const { return m_pView; }
    CDlgOper* Panel() const;

    // The action of command `id`, null when the frame has none.
    QAction* FindAction(int id) const;
    // Carries out command `id` through its action; false when there is none or it is disabled.
    bool ExecuteCommand(int id);
    // Brings the enable and check states of the commands up to date.
    void UpdateCommandStates();

    QMenu* FileMenu() const { return m_pFileMenu; }
    QMenu* ViewMenu() const { return m_pViewMenu; }
    QMenu* HelpMenu() const { return m_pHelpMenu; }

    // The command toolbar, the status bar and the look submenu (main_frame_bars.cpp).
    CCommandToolBar* ToolBar() const { return m_pToolBar; }
    CStatusPanes* StatusPanes() const { return m_pStatusPanes; }
    CLookMenu* Looks() const { return m_pLooks; }
    // The toolbar's recording state: the panel's raw log is open.
    bool IsRecording() const { return m_bRecording; }
    // The waveform recording (File menu 32813..32815 and the marker command).
    CWaveRecorder* WaveRecorder() const { return m_pWaveRecorder; }
    // The status bar's recording state and, after a stop, the action that opens the file.
    QLabel* RecordingLabel() const { return m_pRecordingLabel; }
    QPushButton* OpenRecordingButton() const { return m_pOpenRecording; }
    // Toolbar commands 19000..19007.
    void OnToolCommand(int id);
    // The bars' and the menu's context menu, with "自定义...".
    QMenu* createPopupMenu() override;

signals:
    // The operation panel's log file opened or closed.
    void LogFileChanged(bool open);
    // The operator chose another application look.
    void LookChanged(int id);

protected:
    // Adds an action for command `id` to `menu`.
    QAction* AddCommand(QMenu* menu, int id, const QString& text, std::function<void()> handler);

    void BuildFileMenu();
    void AddLogItems(QMenu* menu);
    void AddDocumentItems(QMenu* menu);
    void AddExitItem(QMenu* menu);
    void BuildViewMenu();
    void BuildHelpMenu();

    void OnAppAbout();

    void CreateCommandBars();
    void AddPrintItems(QMenu* menu);
    void AddBarItems(QMenu* menu);
    void AddAccelerators();
    void AddCopyCommand();
    void OnCustomize();
    void OnStartRecord();
    void OnStopRecord();
    void OnPauseRecord();
    void UpdateRecordState();

    // Waveform recording (main_frame_recording.cpp).
    void CreateWaveRecorder();
    void AddWaveItems(QMenu* menu);
    void UpdateWaveStates();
    void OnRecordWave();
    void ShowWaveState();
    void OnWaveStopped(const QString& path, const QString& error);
    // Repairs the recordings cut short in the Data folder and says so in the status bar.
    void RepairDataFolder();

    // Through a pulled cable (main_frame_link.cpp).
    void AddReconnectItem(QMenu* menu);
    void BuildDemoMenu(CDeviceAccess& devices);
    void StartIntegrityPane();

public:
    // The integrity counters of the panel's measurement into the status bar's second pane.
    void ShowIntegrity();

private:
    CSomatrixView* m_pView = nullptr;
    QMenu* m_pFileMenu = nullptr;
    QMenu* m_pViewMenu = nullptr;
    QMenu* m_pHelpMenu = nullptr;
    QString m_strProgramFolder;
    CCommandToolBar* m_pToolBar = nullptr;
    CStatusPanes* m_pStatusPanes = nullptr;
    CLookMenu* m_pLooks = nullptr;
    CViewPrinter* m_pPrinter = nullptr;
    bool m_bRecording = false;
    bool m_bIntegrityShown = false;
    CWaveRecorder* m_pWaveRecorder = nullptr;
    QLabel* m_pRecordingLabel = nullptr;
    QPushButton* m_pOpenRecording = nullptr;
    QString m_strLastRecording;
};

// WCAG contrast ratio of two colours (1 to 21).
double ContrastRatio(const QColor& a, const QColor& b);
// The colour a faulty counter is written in on `background`: a red that reads at 4.5:1 or more.
QColor FaultColour(const QColor& background);

}  // namespace somatrix
