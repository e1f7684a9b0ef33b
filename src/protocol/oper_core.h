#pragma once
// The operation panel's logic without any window: catalogue, receive ring and frame scanner,
// dispatch of every frame, sample decoding and extremes, the three measurement flags, the
// selected device and device port, the device commands and the single log file. Everything it
// has to show goes out through CMonitorSink; requests go out through the CSerialLink it is given.
// Owned by the panel (or a command-line tool) and used on one thread: commands, receive events
// and replies all run there, synchronously.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "discovery/data_log.h"
#include "protocol/catalogue.h"
#include "protocol/frame.h"
#include "protocol/frame_scanner.h"
#include "protocol/integrity_counters.h"
#include "protocol/monitor_sink.h"
#include "protocol/receive_ring.h"
#include "protocol/reconnect_controller.h"
#include "protocol/sample_decoder.h"
#include "protocol/serial_link.h"

namespace somatrix {

// What the last scan left: a port that answered (> 0, with its name), none answered (0), or no
// candidate port at all (-1).
struct CDevicePort {
    int m_nPort = 0;
    std::string m_strName;
    bool IsKnown() const { return m_nPort > 0; }
};

class CPortList;
class CScanClock;
struct CScanResult;

// What the probing half of a scan needs from the hub: its own copy of the catalogue and the
// probe wait time.
struct CScanJob {
    CCatalogue m_catalogue;
    int m_nWaitMs = 0;
};

class COperCore : public CSerialLinkListener, private CFrameHandler {
public:
    explicit COperCore(CMonitorSink& sink);
    ~COperCore() override;
    COperCore(const COperCore&) = delete;
    COperCore& operator=(const COperCore&) = delete;

    // Panel initialisation: applies "Somatrix.ini" (empty path: built-in names only), shows the
    // first status text and the full device list, and refreshes the controls.
    void Initialise(const std::string& iniPath);
    // Panel closing: stop request when measuring, 50 ms for it to leave, port closed, log closed.
    void Shutdown();

    // The serial link requests go out on; null for none (replay). Not owned.
    void SetSerialLink(CSerialLink* link);
    CSerialLink* GetSerialLink() const { return m_pLink; }

    // Receive path: one receive event of the serial link.
    void OnComm(const uint8_t* data, size_t n) override;
    // The link closed itself under a measurement (device unplugged).
    void OnLinkLost(const std::string& error) override;

    // Measurement and device commands (buttons of the upper group).
    void OnStart();
    void OnStop();
    void OnReadDeviceNumber();
    void OnReadProductionDate();
    void OnGainDown();
    void OnGainUp();
    void OnSleep();
    void OnWake();
    void OnCalibration(int index);  // list 1053
    void OnMode(int index);         // list 1052
    void OnMaxMin(bool on);         // extremes switch 1046

    bool OpenDevicePort(const std::string& port);
    void CloseDevicePort();
    void SendStopRequest(uint8_t type);
    void RefreshControls();
    CControlStates ComputeControlStates() const;

    // Selection handler core: index into the catalogue (-1 none). Shows the device information
    // line, tells the information panel and the view, refreshes the controls.
    void SelectDevice(int index);
    int GetSelectedDevice() const { return m_nSelected; }
    int GetOnlineCount() const { return m_nOnlineCount; }
    void SetOnlineCount(int count) { m_nOnlineCount = count; }
    const CDevicePort& GetDevicePort() const { return m_devicePort; }
    void SetDevicePort(const CDevicePort& port) { m_devicePort = port; }

    // Scan command (button 1042), split so the blocking probe can run on a worker thread:
    //   CScanJob job = core.BeginScan();                                    // hub thread
    //   CScanResult r = CPortScanner(ports, clock, progressSink, trace, job.m_nWaitMs)
    //                       .ScanDevicePorts(std::move(job.m_catalogue));   // worker thread
    //   core.FinishScan(r);                                                 // hub thread
    // From BeginScan to FinishScan every governed control stays disabled.
    CScanJob BeginScan();
    void FinishScan(const CScanResult& result);
    // The whole scan on the calling thread, progress and status through the hub's sink.
    void Scan(CPortList& ports, CScanClock& clock,
              const std::function<void(const std::string&)>& trace = {});
    bool IsScanning() const { return m_bScanning; }

    // Slow-scan switch 1045: 600 ms per exchange instead of 150 ms.
    void SetSlowScan(bool slow);
    int GetProbeWaitMs() const { return m_nProbeWaitMs; }
    // Online-only switch 1041: rebuilds the list from the last scan's online flags.
    void SetOnlineOnly(bool onlineOnly);
    bool IsOnlineOnly() const { return m_bOnlineOnly; }
    // Device list 1038 selection changed to `position` (-1 none): the selection handler.
    void OnDeviceListSelect(int position);
    const std::vector<std::string>& GetDeviceList() const { return m_listEntries; }
    int GetListSelection() const { return m_nListSelection; }
    // Position of catalogue record `index` in the list, -1 when it is not listed.
    int ListPositionOf(int index) const;

    // Logs: raw (".txt") or parsed (".csv") in the log folder, named by the local start time.
    void SetLogFolder(const std::string& folder) { m_strLogFolder = folder; }
    const std::string& GetLogFolder() const { return m_strLogFolder; }
    bool StartLog(ELogMode mode);
    bool StartLogFile(ELogMode mode, const std::string& path);
    void StopLog();
    // Pauses or resumes the open log (nothing when none is open).
    void SetLogPaused(bool paused) { m_log.SetPaused(paused); }
    const CDataLog& GetLog() const { return m_log; }

    CCatalogue& GetCatalogue() { return m_catalogue; }
    const CCatalogue& GetCatalogue() const { return m_catalogue; }
    const CMeasurementFlags& GetFlags() const { return m_flags; }
    int GetGain() const { return m_nGain; }
    const CExtremes& GetExtremes() const { return m_decoder.Extremes(); }
    const CScanStats& GetScanStats() const { return m_scanner.Stats(); }
    uint64_t GetDroppedBytes() const { return m_ring.Dropped(); }
    bool IsPortOpen() const { return m_pLink && m_pLink->IsOpen(); }

    // ---- Through a pulled cable (oper_reconnect.cpp) ----
    // With the option on, a link lost under a measurement starts a wait for the same device
    // instead of ending the measurement; the caller looks for it (every second, on every
    // candidate port) and hands over the port where it answered.
    void SetAutoReconnect(bool on) { m_reconnect.SetEnabled(on); }
    bool IsAutoReconnect() const { return m_reconnect.IsEnabled(); }
    bool IsWaitingForDevice() const { return m_reconnect.IsWaiting(); }
    const CDeviceIdentity& GetAwaitedDevice() const { return m_reconnect.Device(); }
    // The awaited device answered on `port`: reopens it, gives the device its gain, calibration
    // and mode again and starts the measurement. False (still waiting) when the port does not
    // open.
    bool OnDeviceFound(const std::string& port);
    // "取消重连", or the caller gave up: ends the wait and closes the log.
    void CancelReconnect() { EndWaitForDevice(); }

    // Integrity counters of the current (or last) measurement, with the rate at the clock's now.
    CIntegrityStats GetIntegrity() const { return m_integrity.Snapshot(m_clock()); }
    bool IsCountingIntegrity() const { return m_integrity.IsCounting(); }
    // Nanoseconds of a steady clock; tests on a virtual clock pass their own.
    void SetClock(std::function<int64_t()> nowNs) { m_clock = std::move(nowNs); }

private:
    bool BeginWaitForDevice(const std::string& error);
    void EndWaitForDevice();
    void LimitWhileWaiting(CControlStates& states) const;
    void BeginCounting();

    void OnFrame(const uint8_t* frame, size_t n) override;
    void OnDataFrame(const uint8_t* frame, size_t n);
    void OnStopAcknowledged();
    void OnDeviceNumberReply(const uint8_t* frame);
    void OnProductionDateReply(const uint8_t* frame);
    void OnBpResult(const uint8_t* frame);
    void OnBpEnd(const uint8_t* frame);
    void EndMeasurement();

    // Opens the device port when needed; shows the two port messages when it stays closed.
    bool EnsurePortOpen();
    // Writes one request whole; a failure is shown with the link's error text.
    bool Send(const CFrame& frame);
    void SetFlags(const CMeasurementFlags& flags);
    bool SelectedOnline() const;
    uint8_t SelectedType() const;
    void ShowLogOpenFailure();
    // Fills the list from the records' online flags and shows it with `selected` (-1 none).
    void RebuildDeviceList();
    void ShowDeviceList(int selected);

    CMonitorSink& m_sink;
    CSerialLink* m_pLink = nullptr;
    CCatalogue m_catalogue;
    CReceiveRing m_ring;
    CFrameScanner m_scanner;
    CDataLog m_log;
    CSampleDecoder m_decoder;
    CMeasurementFlags m_flags;
    int m_nGain = 3;
    int m_nSelected = -1;
    int m_nOnlineCount = 0;
    CDevicePort m_devicePort;
    std::string m_strLogFolder = "Data";
    bool m_bShutDown = false;
    bool m_bScanning = false;
    // Set by a stop acknowledgement: data frames still in flight behind it do not start a new
    // measurement. Cleared by the next Start or a fresh opening of the port.
    bool m_bStoppedByDevice = false;
    bool m_bOnlineOnly = false;
    int m_nProbeWaitMs = 150;
    std::vector<std::string> m_listEntries;  // device list texts, in catalogue order
    std::vector<int> m_listRecords;          // the catalogue index each entry shows
    int m_nListSelection = -1;
    CReconnectController m_reconnect;
    CIntegrityCounters m_integrity;
    std::function<int64_t()> m_clock;
    int64_t m_nReceiveNs = 0;  // when the receive event being handled arrived
};

// Nanoseconds of the steady clock.
int64_t SteadyNowNs();

// "%02X%02X%02X%02X" of the four data bytes of a device-number reply.
std::string FormatDeviceNumber(const uint8_t* data);
// "%4d-%02d-%02d" of a BCD date (day, month, year within century, century). Digits that are not
// valid BCD still give a bounded text of at most 13 characters.
std::string FormatProductionDate(const uint8_t* data);

}  // namespace somatrix
