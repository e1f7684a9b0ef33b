#pragma once
// The application object: start-up of the settings store, the sensors (the machine's serial
// ports, or the simulated family in demo mode), the main frame with its view, and a review file
// named on the command line. Owns the devices and the frame; the frame goes first.
#include <QApplication>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "ui/shell/demo_driver.h"

namespace somatrix {

class CDeviceAccess;
class CMainFrame;

// `somatrix [FILE]` or `somatrix --demo [simulator options] [FILE]`, and for unattended runs
// `--measure TT`, `--screenshot FILE` and `--quit-after SECONDS`.
struct CStartOptions {
    bool m_bDemo = false;
    bool m_bHelp = false;
    std::vector<std::string> m_simArgs;  // --sensors, --seed and the simulator's fault options
    QString m_strFile;                   // a review file to open in review mode
    CDemoScript m_script;                // --measure, --screenshot, --quit-after
};

// False with a message for a malformed command line.
bool ParseStartOptions(const QStringList& args, CStartOptions& options, QString& error);
QString StartUsage();

class CSomatrixApp : public QApplication {
    Q_OBJECT
public:
    // Settings are kept under this organisation and the application title.
    static constexpr char kRegistryKey[] = "应用程序向导生成的本地应用程序";
    static constexpr int kRecentFileCount = 4;

    CSomatrixApp(int& argc, char** argv);
    ~CSomatrixApp() override;

    // Start-up. False when the program must end; ExitCode() then says with which status.
    bool InitInstance();
    int ExitCode() const { return m_nExitCode; }

    CMainFrame* MainFrame() const { return m_pFrame.get(); }
    CDeviceAccess* Devices() const { return m_pDevices.get(); }
    const CStartOptions& Options() const { return m_options; }

    // The application look (210 to 218), persisted as "ApplicationLook", 214 when absent.
    int GetAppLook() const { return m_nAppLook; }
    void SetAppLook(int look);
    // The recent-file list of the settings store, most recent first.
    const QStringList& RecentFiles() const { return m_recentFiles; }

private:
    bool CreateDevices();
    void LoadStdProfileSettings();

    CStartOptions m_options;
    int m_nExitCode = 0;
    int m_nAppLook = 214;
    QStringList m_recentFiles;
    std::unique_ptr<CDeviceAccess> m_pDevices;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::unique_ptr<CDemoDriver> m_pDriver;
};

}  // namespace somatrix
