#include "protocol/frame.h"

#include <algorithm>

namespace somatrix {

uint8_t FrameChecksum(const uint8_t* frame, size_t n) {
    if (n <= kPosLength) {
        return 0;
    }
    unsigned sum = frame[kPosLength];
    const size_t end = std::min<size_t>(n, size_t{frame[kPosLength]} + 2);
    for (size_t i = kPosCommand; i < end; ++i) {
        sum += frame[i];
    }
    return static_cast<uint8_t>(sum);
}

CFrame CFrame::Compose(uint8_t type, uint8_t command, std::span<const uint8_t> payload) {
    CFrame f;
    const size_t nPayload = std::min(payload.size(), kMaxFrameBytes - kFrameHeadBytes);
    f.m_nSize = kFrameHeadBytes + nPayload;
    f.m_bytes[0] = kFrameStart;
    f.m_bytes[kPosType] = type;
    f.m_bytes[kPosLength] = static_cast<uint8_t>(nPayload + 3);
    f.m_bytes[kPosCommand] = command;
    std::copy_n(payload.begin(), nPayload, f.m_bytes.begin() + kPosPayload);
    f.m_bytes[kPosChecksum] = FrameChecksum(f.m_bytes.data(), f.m_nSize);
    return f;
}

namespace {
CFrame WithByte(uint8_t type, uint8_t command, int value) {
    const uint8_t b = static_cast<uint8_t>(value);
    return CFrame::Compose(type, command, std::span<const uint8_t>(&b, 1));
}
}  // namespace

CFrame StartRequest(uint8_t t) { return CFrame::Compose(t, cmd::kStart); }

CFrame StopRequest(uint8_t t) {
    return t == type::kBloodPressure ? CFrame::Compose(t, cmd::kProductionDate)
                                     : CFrame::Compose(t, cmd::kStop);
}

CFrame DeviceNumberRequest(uint8_t t) { return CFrame::Compose(t, cmd::kDeviceNumber); }

CFrame ProductionDateRequest(uint8_t t) { return CFrame::Compose(t, cmd::kProductionDate); }

CFrame GainRequest(uint8_t t, int gain) {
    return WithByte(t, cmd::kGain, std::clamp(gain, 0, kMaxGain));
}

CFrame OutputModeRequest(int mode) { return WithByte(type::kHeartRate, cmd::kOutputMode, mode); }

CFrame InputSelectRequest(int input) { return WithByte(type::kGastro, cmd::kInputSelect, input); }

std::optional<CFrame> SleepRequest(uint8_t t) {
    if (t == type::kBloodPressureV2) {
        return CFrame::Compose(type::kBloodPressureV2, cmd::kSleepV2);
    }
    if (t == type::kBloodPressure) {
        return CFrame::Compose(type::kBloodPressureV2, cmd::kSleep);
    }
    return std::nullopt;
}

CFrame WakeRequest() { return CFrame::Compose(type::kBloodPressureV2, cmd::kWake); }

CFrame PresenceRequest(uint8_t t) { return CFrame::Compose(t, cmd::kPresence); }

std::optional<CFrame> TemperatureCalibrationRequest(int index) {
    if (index >= 0 && index <= 3) {
        return WithByte(type::kBodyTemperature, cmd::kCalibrateUp, index * 64);
    }
    if (index >= 4 && index <= 6) {
        return WithByte(type::kBodyTemperature, cmd::kCalibrateDown, (index - 3) * 64);
    }
    return std::nullopt;
}

}  // namespace somatrix
