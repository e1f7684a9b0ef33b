#pragma once
// The operation panel (dialog 101): the upper group "采集显示与控制" with the information panel
// and the measurement and device commands, the lower group "所有设备" with the scan and the
// device list. A thin sink of the hub COperCore, which holds all the logic: clicks go to the hub,
// and what the hub reports is shown here. The scan probes on a worker thread through the scan
// runner, so the window keeps painting while it runs. GUI thread only.
#include <QWidget>
#include <memory>

#include "protocol/monitor_sink.h"
#include "protocol/oper_core.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace somatrix {

class CDeviceAccess;
class CInfoScreeWnd;
class CReconnectRunner;
class CScanRunner;
class CSomatrixView;

class CDlgOper : public QWidget, public CMonitorSink {
    Q_OBJECT
public:
    // Control ids of the dialog, kept as object names' suffixes and for tests.
    enum EControl {
        kIdInfoPanel = 1102,
        kIdInfoLine = 1020,
        kIdStart = 1015,
        kIdStop = 1016,
        kIdMaxMin = 1046,
        kIdReadNumber = 1047,
        kIdReadDate = 1048,
        kIdGainDown = 1013,
        kIdGainValue = 1012,
        kIdGainUp = 1014,
        kIdSleep = 1049,
        kIdWake = 1050,
        kIdCalibration = 1053,
        kIdMode = 1052,
        kIdScan = 1042,
        kIdSlowScan = 1045,
        kIdOnlineOnly = 1041,
        kIdDeviceList = 1038,
        kIdProgress = 1043,
        kIdStatus = 1044,
        kIdCancelReconnect = 1060,  // shown in place of start and stop while waiting
    };

    // `view` receives the samples and the selected type; null when the panel stands alone.
    // `devices` must outlive the panel.
    CDlgOper(CSomatrixView* view, CDeviceAccess& devices, QWidget* parent = nullptr);
    ~CDlgOper() override;

    COperCore& Core() { return m_core; }
    CInfoScreeWnd& InfoPanel() { return *m_pInfo; }
    // The control with dialog id `id`, null for an id the panel does not have.
    QWidget* Control(int id) const;

    // Scan command (button 1042, also the main frame's scan button). False while one runs.
    bool OnScan();
    bool IsScanning() const;

    // File-menu log commands.
    void OnStartRawLog();
    void OnStartParsedLog();
    void OnStopLog();
    bool IsLogOpen() const { return m_core.GetLog().IsOpen(); }

    // CMonitorSink
    void SetValues(int a, int b, int c, int d) override;
    void SetResultValues(int a, int b, int c, int d) override;
    void SetMaxMin(bool on, int max1, int min1, int max2, int min2) override;
    void SetAmplitude(int amplitude) override;
    void SetMeasuring(bool measuring) override;
    void SetSensor(uint8_t type, const std::string& shortName) override;
    void AddSample(int a, int b, int c) override;
    void FlagsChanged(const CMeasurementFlags& flags) override;
    // A second listener to the samples, readings, results, selections and flags (the waveform
    // recording); null for none.
    void SetSampleTap(CMonitorSink* tap) { m_pTap = tap; }
    void SetSensorType(uint8_t type) override;
    void SetControlStates(const CControlStates& states) override;
    void SetGainText(int gain) override;
    void SetModeItems(const std::vector<std::string>& items) override;
    void SetStatusText(const std::string& text) override;
    void SetInfoLine(const std::string& text) override;
    void SetProgressVisible(bool visible) override;
    void SetProgress(int position) override;
    void SetDeviceList(const std::vector<std::string>& entries, int selected) override;
    void LogStateChanged(bool open) override;
    void ShowMessage(const std::string& text) override;
    void LinkWaitStarted(const std::string& lostPort) override;
    void LinkRestored(const std::string& port) override;
    void LinkWaitEnded() override;

    // "断开后自动重连" (View menu).
    void SetAutoReconnect(bool on) { m_core.SetAutoReconnect(on); }
    CReconnectRunner& Reconnector() { return *m_pReconnectRunner; }

signals:
    // The shared log file opened or closed (menu states, the toolbar's record button).
    void LogFileChanged(bool open);
    // A scan started or ended.
    void ScanningChanged(bool scanning);
    // The wait for a device whose cable was pulled began (true) or ended (false), with the
    // device back or given up.
    void WaitingForDeviceChanged(bool waiting);
    // The measurement flags changed.
    void MeasuringChanged();

private:
    void CreateUpperGroup();
    void CreateLowerGroup();
    void CreateReconnectControls();
    void ShowWaiting(bool waiting);
    void EndWaiting();
    void ConnectControls();
    QPushButton* MakeButton(int id, const char* text, const QRect& rc);
    QLabel* MakeLabel(const char* text, const QRect& rc);

    CSomatrixView* m_pView;
    CMonitorSink* m_pTap = nullptr;
    CDeviceAccess& m_devices;
    COperCore m_core;
    std::unique_ptr<CScanRunner> m_pScanRunner;
    std::unique_ptr<CReconnectRunner> m_pReconnectRunner;

    QGroupBox* m_pUpperGroup = nullptr;
    QGroupBox* m_pLowerGroup = nullptr;
    CInfoScreeWnd* m_pInfo = nullptr;
    QLabel* m_pInfoLine = nullptr;
    QPushButton* m_pStart = nullptr;
    QPushButton* m_pStop = nullptr;
    QPushButton* m_pMaxMin = nullptr;
    QPushButton* m_pReadNumber = nullptr;
    QPushButton* m_pReadDate = nullptr;
    QPushButton* m_pGainDown = nullptr;
    QLineEdit* m_pGainValue = nullptr;
    QPushButton* m_pGainUp = nullptr;
    QPushButton* m_pSleep = nullptr;
    QPushButton* m_pWake = nullptr;
    QComboBox* m_pCalibration = nullptr;
    QComboBox* m_pMode = nullptr;
    QPushButton* m_pScan = nullptr;
    QCheckBox* m_pSlowScan = nullptr;
    QCheckBox* m_pOnlineOnly = nullptr;
    QComboBox* m_pDeviceList = nullptr;
    QProgressBar* m_pProgress = nullptr;
    QLabel* m_pStatus = nullptr;
    QPushButton* m_pCancelReconnect = nullptr;
};

}  // namespace somatrix
