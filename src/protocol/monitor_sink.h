#pragma once
// Everything the operation panel's hub tells the outside: the information panel, the live view,
// the panel's own controls, status texts and message boxes. The Qt panel and the command-line
// tools implement it; every hook defaults to doing nothing so a sink only overrides what it shows.
// Called on the hub's thread, synchronously from the receive path or a command.
#include <cstdint>
#include <string>
#include <vector>

namespace somatrix {

// Enabled state of every control the hub governs, recomputed by RefreshControls.
struct CControlStates {
    bool m_bStart = false;            // 1015
    bool m_bStop = false;             // 1016
    bool m_bMaxMin = false;           // 1046
    bool m_bReadDeviceNumber = false; // 1047
    bool m_bReadDate = false;         // 1048
    bool m_bGainDown = false;         // 1013
    bool m_bGainUp = false;           // 1014
    bool m_bSleep = false;            // 1049
    bool m_bWake = false;             // 1050
    bool m_bCalibration = false;      // 1053
    bool m_bMode = false;             // 1052
    bool m_bScan = false;             // 1042
    bool m_bDeviceList = false;       // 1038
    bool operator==(const CControlStates&) const = default;
};

// The three measurement flags.
struct CMeasurementFlags {
    int m_bMeasuring = 0;
    int m_bStartRequested = 0;
    int m_bStopRequested = 0;
    bool operator==(const CMeasurementFlags&) const = default;
};

class CMonitorSink {
public:
    virtual ~CMonitorSink() = default;

    // Information panel.
    virtual void SetValues(int /*a*/, int /*b*/, int /*c*/, int /*d*/) {}
    virtual void SetMaxMin(bool /*on*/, int /*max1*/, int /*min1*/, int /*max2*/, int /*min2*/) {}
    virtual void SetAmplitude(int /*amplitude*/) {}
    virtual void SetMeasuring(bool /*measuring*/) {}
    virtual void SetSensor(uint8_t /*type*/, const std::string& /*shortName*/) {}
    // Values of a blood-pressure result or end frame (systolic, diastolic, rate, arrhythmia).
    // Kept apart from SetValues so that only a real result is drawn as result rows; sinks that
    // do not care see them as ordinary values.
    virtual void SetResultValues(int a, int b, int c, int d) { SetValues(a, b, c, d); }

    // Live view: readings exactly as decoded (the view applies its own per-type scaling).
    virtual void AddSample(int /*a*/, int /*b*/, int /*c*/) {}
    // The selected sensor type changed (view zoom, explanation picture).
    virtual void SetSensorType(uint8_t /*type*/) {}

    // Replies stored into the selected catalogue record.
    virtual void DeviceNumberRead(int /*index*/, const std::string& /*text*/) {}
    virtual void ProductionDateRead(int /*index*/, const std::string& /*text*/) {}

    // Panel state.
    virtual void FlagsChanged(const CMeasurementFlags& /*flags*/) {}
    virtual void SetControlStates(const CControlStates& /*states*/) {}
    virtual void SetGainText(int /*gain*/) {}
    // Mode list (1052) refilled with these items, no selection.
    virtual void SetModeItems(const std::vector<std::string>& /*items*/) {}
    virtual void SetStatusText(const std::string& /*text*/) {}    // 1044
    virtual void SetInfoLine(const std::string& /*text*/) {}      // 1020
    // Scan progress bar (1043): shown or hidden, and its position.
    virtual void SetProgressVisible(bool /*visible*/) {}
    virtual void SetProgress(int /*position*/) {}
    // Device list (1038): its entries and the selected position (-1 none).
    virtual void SetDeviceList(const std::vector<std::string>& /*entries*/, int /*selected*/) {}
    // The receive ring had to drop bytes (a receive event larger than the ring could take even
    // after scanning); `droppedTotal` counts every byte dropped since the hub was made.
    virtual void ReceiveOverflow(uint64_t /*droppedTotal*/) {}
    // Log file opened or closed (menu check and enable states).
    virtual void LogStateChanged(bool /*open*/) {}

    // A message box the operator must acknowledge.
    virtual void ShowMessage(const std::string& /*text*/) {}
};

}  // namespace somatrix
