#pragma once
// Drives the window as an operator would, for a demonstration without anyone at the keyboard and
// for measuring the window at work: presses the scan button, picks a sensor from the device list,
// presses Start, and after a while writes a picture of the window and closes it. Everything goes
// through the real controls, so what it shows is what an operator gets.
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

namespace somatrix {

class CDeviceAccess;
class CMainFrame;
class CWindowStats;

struct CDemoScript {
    int m_nMeasureType = -1;  // type code to measure after the scan, -1 none
    QString m_strScreenshot;  // picture of the window written just before quitting
    // Closes the window this long after start-up, or after Start when measuring; -1 never.
    int m_nQuitAfterMs = -1;
    bool m_bRecordEdf = false;  // records the measured waveform (File menu 32813)
    bool m_bStats = false;      // measures the window at work and prints the figures at the end
    // Pulls the simulated cable this long after Start; -1 never. The time until the measurement
    // runs again is printed.
    int m_nUnplugAfterMs = -1;
};

class CDemoDriver : public QObject {
    Q_OBJECT
public:
    // `demo` is the simulated bus when there is one (for the statistics), else null.
    CDemoDriver(CMainFrame& frame, const CDemoScript& script, CDeviceAccess& devices,
                QObject* parent = nullptr);
    ~CDemoDriver() override;
    // Begins once the event loop runs.
    void Start();

private:
    void OnScanFinished();
    void PullCable();
    void Finish();

    // Samples arrive for this long before the statistics start, so start-up is not counted.
    static constexpr int kWarmUpMs = 2000;
    static constexpr int kSettleMs = 500;

    CMainFrame& m_frame;
    CDemoScript m_script;
    std::unique_ptr<CWindowStats> m_pStats;
};

}  // namespace somatrix
