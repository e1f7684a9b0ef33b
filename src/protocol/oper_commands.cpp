// The operation panel's commands: measurement start and stop, device reads, gain, sleep and
// wake, calibration, mode, the device port, and the enable rules of its controls.
#include "protocol/oper_core.h"
#include "protocol/oper_texts.h"

namespace somatrix {

namespace {

bool IsGainType(uint8_t t) {
    return t == type::kPulse || t == type::kInfraredPulse || t == type::kRespiration ||
           t == type::kHeartSound;
}

}  // namespace

uint8_t COperCore::SelectedType() const {
    return m_nSelected >= 0 ? m_catalogue.At(m_nSelected).m_nType : 0;
}

bool COperCore::SelectedOnline() const {
    return m_nSelected >= 0 && m_catalogue.At(m_nSelected).m_bOnline;
}

bool COperCore::Send(const CFrame& frame) {
    std::string error = "no serial link";
    if (m_pLink && m_pLink->Write(frame.data(), frame.size(), error)) {
        return true;
    }
    m_sink.ShowMessage(error);
    return false;
}

bool COperCore::OpenDevicePort(const std::string& port) {
    if (!m_pLink) {
        return false;
    }
    if (m_pLink->IsOpen()) {
        return m_pLink->CurrentPort() == port;
    }
    std::string error;
    if (!m_pLink->Open(port, error)) {
        return false;  // the caller shows its own message
    }
    m_bStoppedByDevice = false;
    return m_pLink->IsOpen();
}

void COperCore::CloseDevicePort() {
    if (!IsPortOpen()) {
        return;
    }
    std::string error;
    if (!m_pLink->Close(error)) {
        m_sink.ShowMessage(error);
    }
}

bool COperCore::EnsurePortOpen() {
    if (!IsPortOpen() && m_devicePort.IsKnown() && OpenDevicePort(m_devicePort.m_strName)) {
        // The link is up now: the gain, calibration, mode, sleep and wake controls may be used.
        RefreshControls();
    }
    if (IsPortOpen()) {
        return true;
    }
    m_sink.ShowMessage(m_devicePort.IsKnown() ? texts::kPortOpenFailed : texts::kNoValidPort);
    return false;
}

void COperCore::SendStopRequest(uint8_t t) {
    if (!Send(StopRequest(t))) {
        return;
    }
    CMeasurementFlags flags = m_flags;
    flags.m_bStopRequested = 1;
    SetFlags(flags);
}

void COperCore::OnStart() {
    if (m_nSelected < 0) {
        m_sink.ShowMessage(texts::kChooseDevice);
        return;
    }
    if (!EnsurePortOpen()) {
        return;
    }
    m_sink.SetMeasuring(true);
    m_sink.SetValues(-1, -1, -1, -1);
    if (!Send(StartRequest(SelectedType()))) {
        return;
    }
    CMeasurementFlags flags = m_flags;
    flags.m_bStartRequested = 1;
    SetFlags(flags);
    m_bStoppedByDevice = false;
    BeginCounting();
    RefreshControls();
}

void COperCore::OnStop() {
    m_sink.SetMeasuring(false);
    if (!m_flags.m_bMeasuring || m_nSelected < 0) {
        return;
    }
    if (m_pLink && !IsPortOpen() && m_devicePort.IsKnown()) {
        OpenDevicePort(m_devicePort.m_strName);
    }
    if (m_pLink && !IsPortOpen()) {
        // No request can reach the device: the measurement ends here, so Stop never stays
        // enabled without effect.
        SetFlags(CMeasurementFlags{});
        RefreshControls();
        return;
    }
    SendStopRequest(SelectedType());
    RefreshControls();
}

void COperCore::OnReadDeviceNumber() {
    if (m_nSelected >= 0 && EnsurePortOpen()) {
        Send(DeviceNumberRequest(SelectedType()));
    }
}

void COperCore::OnReadProductionDate() {
    if (m_nSelected >= 0 && EnsurePortOpen()) {
        Send(ProductionDateRequest(SelectedType()));
    }
}

void COperCore::OnGainDown() {
    if (m_nGain <= 0 || m_nSelected < 0) {
        return;
    }
    --m_nGain;
    m_sink.SetGainText(m_nGain);
    Send(GainRequest(SelectedType(), m_nGain));
    RefreshControls();
}

void COperCore::OnGainUp() {
    if (m_nGain >= kMaxGain || m_nSelected < 0) {
        return;
    }
    ++m_nGain;
    m_sink.SetGainText(m_nGain);
    Send(GainRequest(SelectedType(), m_nGain));
    RefreshControls();
}

void COperCore::OnSleep() {
    if (m_nSelected < 0) {
        return;
    }
    if (const auto request = SleepRequest(SelectedType())) {
        Send(*request);
    }
}

void COperCore::OnWake() {
    if (m_nSelected >= 0 && IsBloodPressureType(SelectedType())) {
        Send(WakeRequest());
    }
}

void COperCore::OnCalibration(int index) {
    if (index < 0 || m_nSelected < 0 || SelectedType() != type::kBodyTemperature) {
        return;
    }
    if (const auto request = TemperatureCalibrationRequest(index)) {
        Send(*request);
        m_reconnect.NoteCalibration(index);
    }
}

void COperCore::OnMode(int index) {
    if (index < 0 || m_nSelected < 0) {
        return;
    }
    if (SelectedType() == type::kHeartRate) {
        Send(OutputModeRequest(index));
    } else if (SelectedType() == type::kGastro) {
        Send(InputSelectRequest(index));
    }
    m_reconnect.NoteMode(index);
}

void COperCore::OnMaxMin(bool on) { m_decoder.SetMaxMinSwitch(on); }

CControlStates COperCore::ComputeControlStates() const {
    CControlStates s;
    if (m_bScanning) {
        return s;  // everything waits for the scan to end
    }
    const bool online = SelectedOnline();
    const bool ready = m_nOnlineCount > 0 && online;
    const bool linkUp = m_flags.m_bMeasuring || IsPortOpen();
    const uint8_t t = SelectedType();
    s.m_bStart = ready && !m_flags.m_bMeasuring;
    s.m_bStop = m_flags.m_bMeasuring != 0;
    s.m_bMaxMin = s.m_bReadDeviceNumber = s.m_bReadDate = ready;
    const bool gain = online && IsGainType(t) && linkUp;
    s.m_bGainDown = gain && m_nGain > 0;
    s.m_bGainUp = gain && m_nGain < kMaxGain;
    s.m_bSleep = s.m_bWake = online && IsBloodPressureType(t) && IsPortOpen();
    s.m_bCalibration = online && t == type::kBodyTemperature && linkUp;
    s.m_bMode = online && (t == type::kHeartRate || t == type::kGastro) && linkUp;
    s.m_bScan = s.m_bDeviceList = !m_flags.m_bMeasuring;
    s.m_bSlowScan = s.m_bOnlineOnly = true;
    LimitWhileWaiting(s);
    return s;
}

void COperCore::RefreshControls() {
    m_sink.SetControlStates(ComputeControlStates());
    if (SelectedOnline()) {
        if (SelectedType() == type::kHeartRate) {
            m_sink.SetModeItems({"0-周期输出", "1-心率输出"});
        } else if (SelectedType() == type::kGastro) {
            m_sink.SetModeItems({"0-胃信号输入", "1-肠信号输入"});
        }
    }
}

}  // namespace somatrix
