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
    bool m_bSlowScan = false;         // 1045, off only while a scan runs
    bool m_bOnlineOnly = false;       // 1041, off only while a scan runs
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
    //
    // SetValues carries the readings of data frames only. For blood pressure these are the cuff
    // pressure and status bit, whatever the measuring state: a panel draws them as the cuff
    // pressure row, never as result rows (a data frame still on its way after Stop must not
    // turn into an invented result).
    virtual void SetValues(int /*a*/, int /*b*/, int /*c*/, int /*d*/) {}
    // Extremes: the switch, then maximum and minimum of reading 1 and of reading 2, -1 for none
    // (for the heart sound, pair 1 is its window's extremes). All four -1 means nothing to show.
    virtual void SetMaxMin(bool /*on*/, int /*max1*/, int /*min1*/, int /*max2*/, int /*min2*/) {}
    // Heart-sound peak-to-peak amplitude; 0 or less means none to show.
    virtual void SetAmplitude(int /*amplitude*/) {}
    virtual void SetMeasuring(bool /*measuring*/) {}
    // A device selection. The hub follows it at once with SetMaxMin(switch, -1, -1, -1, -1) and
    // SetAmplitude(0): extremes and amplitude of the previous sensor are gone, so a panel keeps
    // nothing of them.
    virtual void SetSensor(uint8_t /*type*/, const std::string& /*shortName*/) {}
    // Values of a blood-pressure result frame (systolic, diastolic, rate, arrhythmia flag) or
    // end frame (code, -1, -1, -1), each followed by SetMeasuring(false). Only these are drawn
    // as the result rows. Sinks that do not tell them apart see them as ordinary values.
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
    // The receive ring had to drop bytes; `droppedTotal` counts every byte dropped since the hub
    // was made. Receive events of any size are fed to the ring in pieces it can take, so this
    // reports a fault, not a load the program could have carried.
    virtual void ReceiveOverflow(uint64_t /*droppedTotal*/) {}
    // Through a pulled cable. The link was lost under a measurement and the hub waits for the
    // same device (an open log stays open); the device is back on `port` and measuring again;
    // or the wait ended without it (cancelled, another selection, a scan, closing, a timeout),
    // and the log has been closed. A recording writes "no data" from the first to the second.
    virtual void LinkWaitStarted(const std::string& /*lostPort*/) {}
    virtual void LinkRestored(const std::string& /*port*/) {}
    virtual void LinkWaitEnded() {}

    // Log file opened or closed (menu check and enable states).
    virtual void LogStateChanged(bool /*open*/) {}

    // A message box the operator must acknowledge.
    virtual void ShowMessage(const std::string& /*text*/) {}
};

}  // namespace somatrix
