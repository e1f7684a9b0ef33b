#pragma once
// Drives the window as an operator would, for a demonstration without anyone at the keyboard and
// for measuring the window at work: presses the scan button, picks a sensor from the device list,
// presses Start, and after a while writes a picture of the window and closes it. Everything goes
// through the real controls, so what it shows is what an operator gets.
#include <QObject>
#include <QString>
#include <cstdint>

namespace somatrix {

class CMainFrame;

struct CDemoScript {
    int m_nMeasureType = -1;  // type code to measure after the scan, -1 none
    QString m_strScreenshot;  // picture of the window written just before quitting
    int m_nQuitAfterMs = -1;  // closes the window this long after start-up, -1 never
};

class CDemoDriver : public QObject {
    Q_OBJECT
public:
    CDemoDriver(CMainFrame& frame, const CDemoScript& script, QObject* parent = nullptr);
    // Begins once the event loop runs.
    void Start();

private:
    void OnScanFinished();
    void Finish();

    CMainFrame& m_frame;
    CDemoScript m_script;
};

}  // namespace somatrix
