#include "protocol/oper_core.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

#include "protocol/oper_texts.h"

namespace somatrix {

namespace {

int Bcd(uint8_t b) { return (b >> 4) * 10 + (b & 0x0F); }

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

}  // namespace

std::string FormatDeviceNumber(const uint8_t* data) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (size_t i = 0; i < 4; ++i) {
        text[2 * i] = kHex[data[i] >> 4];
        text[2 * i + 1] = kHex[data[i] & 0x0F];
    }
    return text;
}

std::string FormatProductionDate(const uint8_t* data) {
    // Worst case 16665-165-165: 13 characters.
    char text[24];
    std::snprintf(text, sizeof text, "%4d-%02d-%02d", Bcd(data[3]) * 100 + Bcd(data[2]),
                  Bcd(data[1]), Bcd(data[0]));
    return text;
}

COperCore::COperCore(CMonitorSink& sink)
    : m_sink(sink), m_decoder(sink, m_log), m_clock(SteadyNowNs) {}

COperCore::~COperCore() {
    if (m_pLink) {
        m_pLink->SetListener(nullptr);
    }
}

void COperCore::Initialise(const std::string& iniPath) {
    if (!iniPath.empty()) {
        m_catalogue.ApplyProfile(iniPath);
    }
    RebuildDeviceList();
    ShowDeviceList(-1);
    m_sink.SetStatusText(texts::kScanFirst);
    m_sink.SetProgressVisible(false);
    m_sink.SetGainText(m_nGain);
    RefreshControls();
}

void COperCore::Shutdown() {
    if (m_bShutDown) {
        return;
    }
    m_bShutDown = true;
    EndWaitForDevice();
    if (m_flags.m_bMeasuring && m_nSelected >= 0 && IsPortOpen()) {
        SendStopRequest(SelectedType());
        // Gives the request time to leave before the port closes.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    CloseDevicePort();
    StopLog();
}

void COperCore::SetSerialLink(CSerialLink* link) {
    if (m_pLink) {
        m_pLink->SetListener(nullptr);
    }
    m_pLink = link;
    if (m_pLink) {
        m_pLink->SetListener(this);
    }
}

// ---- Receive path ------------------------------------------------------------------------------

void COperCore::OnComm(const uint8_t* data, size_t n) {
    if (n == 0) {
        return;
    }
    m_log.WriteRaw(data, n);
    m_nReceiveNs = m_clock();
    const uint64_t dropped = m_ring.Dropped();
    m_scanner.Receive(m_ring, data, n, *this);
    if (m_ring.Dropped() != dropped) {
        m_sink.ReceiveOverflow(m_ring.Dropped());
    }
    m_integrity.Update(m_scanner.Stats(), m_ring.Dropped());
    // One flush per receive event: nothing received is lost if the program dies afterwards,
    // and an electromyography frame's 24 lines cost one system call, not 24.
    m_log.Flush();
}

void COperCore::OnFrame(const uint8_t* f, size_t n) {
    if (n < kFrameHeadBytes) {
        return;
    }
    const uint8_t c = f[kPosCommand];
    const uint8_t t = f[kPosType];
    const bool cd = t == type::kBloodPressure;
    if (c == cmd::kDeviceNumber && n >= 9 && m_nSelected >= 0) {
        OnDeviceNumberReply(f);
    } else if (c == cmd::kProductionDate && n >= 9 && m_nSelected >= 0) {
        OnProductionDateReply(f);
    } else if (c == cmd::kStop || (c == cmd::kCdStopAck && cd)) {
        OnStopAcknowledged();
    } else if (c == cmd::kStart || (c == cmd::kCdData && cd)) {
        OnDataFrame(f, n);
    } else if (((c == cmd::kBpResult && t == type::kBloodPressureV2) ||
                (c == cmd::kCdResult && cd)) &&
               n >= 10) {
        OnBpResult(f);
    } else if (((c == cmd::kBpEnd && t == type::kBloodPressureV2) || (c == cmd::kCdEnd && cd)) &&
               n >= 6) {
        OnBpEnd(f);
    }
    // Anything else, presence replies included, has no effect here.
}

void COperCore::OnDataFrame(const uint8_t* f, size_t n) {
    // A frame behind a stop acknowledgement, or one that reaches us with the port already
    // closed, would leave a measurement that no Stop can end. Without a link (replay) the
    // frames themselves are the measurement.
    const bool mayStart = !m_bStoppedByDevice && (!m_pLink || m_pLink->IsOpen());
    if (mayStart && (m_flags.m_bStartRequested || !m_flags.m_bMeasuring)) {
        CMeasurementFlags flags = m_flags;
        flags.m_bStartRequested = 0;
        flags.m_bMeasuring = 1;
        SetFlags(flags);
        RefreshControls();
    }
    m_integrity.OnDataFrame(m_nReceiveNs);
    m_decoder.DecodeDataFrame(f, n);
}

void COperCore::OnStopAcknowledged() {
    if (!m_flags.m_bStopRequested && !m_flags.m_bMeasuring) {
        return;
    }
    CMeasurementFlags flags = m_flags;
    flags.m_bStopRequested = 0;
    flags.m_bMeasuring = 0;
    SetFlags(flags);
    m_bStoppedByDevice = true;
    m_integrity.End();
    if (IsPortOpen() && m_devicePort.IsKnown()) {
        CloseDevicePort();
    }
    RefreshControls();
}

void COperCore::OnDeviceNumberReply(const uint8_t* f) {
    _ZP_Device_Info& info = m_catalogue.At(m_nSelected);
    const std::string text = FormatDeviceNumber(f + kPosPayload);
    CopyField(info.m_szDevNum, text);
    m_sink.DeviceNumberRead(m_nSelected, info.m_szDevNum);
    m_sink.SetInfoLine(std::string(texts::kDeviceNumberInfo) + info.m_szDevNum);
}

void COperCore::OnProductionDateReply(const uint8_t* f) {
    _ZP_Device_Info& info = m_catalogue.At(m_nSelected);
    CopyField(info.m_szDate, FormatProductionDate(f + kPosPayload));
    m_sink.ProductionDateRead(m_nSelected, info.m_szDate);
    m_sink.SetInfoLine(std::string(texts::kProductionDateInfo) + info.m_szDate);
}

void COperCore::OnBpResult(const uint8_t* f) {
    const CBpResult r = DecodeBpResult(f);
    m_sink.SetResultValues(r.m_nSystolic, r.m_nDiastolic, r.m_nPulseRate, r.m_nIrregular);
    m_sink.SetMeasuring(false);
    EndMeasurement();
    m_log.WriteParsed(r.m_nSystolic, r.m_nDiastolic, r.m_nPulseRate, r.m_nIrregular, false);
}

void COperCore::OnBpEnd(const uint8_t* f) {
    const int code = f[kPosPayload];
    m_sink.SetResultValues(code, -1, -1, -1);
    m_sink.SetMeasuring(false);
    EndMeasurement();
    m_log.WriteParsed(code, 0, 0, 0, false);
}

void COperCore::EndMeasurement() {
    CMeasurementFlags flags = m_flags;
    flags.m_bMeasuring = 0;
    SetFlags(flags);
    m_integrity.End();
    RefreshControls();
}

void COperCore::SetFlags(const CMeasurementFlags& flags) {
    if (flags == m_flags) {
        return;
    }
    m_flags = flags;
    m_sink.FlagsChanged(m_flags);
}

void COperCore::OnLinkLost(const std::string& error) {
    // The link has closed itself; whatever was measuring or waiting can no longer be answered.
    const bool wasActive = m_flags.m_bMeasuring || m_flags.m_bStartRequested ||
                           m_flags.m_bStopRequested;
    if (wasActive && !m_flags.m_bStopRequested && BeginWaitForDevice(error)) {
        return;
    }
    m_integrity.End();
    SetFlags(CMeasurementFlags{});
    m_sink.SetMeasuring(false);
    m_log.Flush();
    RefreshControls();
    if (wasActive) {
        m_sink.ShowMessage(std::string(texts::kLinkLost) + error);
    }
}

// ---- Selection ---------------------------------------------------------------------------------

void COperCore::SelectDevice(int index) {
    EndWaitForDevice();
    if (index != m_nSelected) {
        m_reconnect.ForgetSettings();
    }
    if (index < 0 || static_cast<size_t>(index) >= m_catalogue.GetCount()) {
        m_nSelected = -1;
        RefreshControls();
        return;
    }
    m_nSelected = index;
    const _ZP_Device_Info& info = m_catalogue.At(index);
    if (info.m_bOnline) {
        char line[128];
        std::snprintf(line, sizeof line, texts::kDeviceInfo, info.m_szDevNum, info.m_szDate);
        m_sink.SetInfoLine(line);
    } else {
        m_sink.SetInfoLine(texts::kDeviceOffline);
    }
    m_sink.SetSensor(info.m_nType, info.m_szShortName);
    // Extremes and amplitude of the previous sensor would otherwise stay beside the new one's
    // readings, labelled as if they were its own.
    m_decoder.ClearExtremes();
    m_sink.SetSensorType(info.m_nType);
    RefreshControls();
}

// ---- Logs --------------------------------------------------------------------------------------

bool COperCore::StartLog(ELogMode mode) {
    const bool ok = m_log.Start(mode, m_strLogFolder, LocalNow());
    if (!ok) {
        ShowLogOpenFailure();
    }
    m_sink.LogStateChanged(m_log.IsOpen());
    return ok;
}

bool COperCore::StartLogFile(ELogMode mode, const std::string& path) {
    const bool ok = m_log.StartFile(mode, path);
    if (!ok) {
        ShowLogOpenFailure();
    }
    m_sink.LogStateChanged(m_log.IsOpen());
    return ok;
}

void COperCore::ShowLogOpenFailure() {
    m_sink.ShowMessage(std::string(texts::kLogOpenFailed) + m_log.GetPath() + " (" +
                       m_log.GetError() + ")");
}

void COperCore::StopLog() {
    const bool wasOpen = m_log.IsOpen();
    m_log.Stop();
    if (wasOpen) {
        m_sink.LogStateChanged(false);
    }
}

}  // namespace somatrix
