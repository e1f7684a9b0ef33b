#pragma once
// The main window: the menu and the monitoring view. Every command is a QAction carrying its
// command id (QAction::data), so the toolbar, the accelerators and tests reach the same command
// the menu does, and a command whose action is disabled is never carried out. The menus are
// built one per function, so further items and bars are added beside them.
#include <QMainWindow>
#include <functional>

class QMenu;

namespace somatrix {

class CDeviceAccess;
class CDlgOper;
class CSomatrixView;

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

signals:
    // The operation panel's log file opened or closed.
    void LogFileChanged(bool open);

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

private:
    CSomatrixView* m_pView = nullptr;
    QMenu* m_pFileMenu = nullptr;
    QMenu* m_pViewMenu = nullptr;
    QMenu* m_pHelpMenu = nullptr;
};

}  // namespace somatrix
