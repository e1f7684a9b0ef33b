#include "sim_sensor.h"

#include <algorithm>

#include "sim_random.h"

namespace somatrix {

namespace {
uint8_t Bcd(int v) {
    return static_cast<uint8_t>(((v / 10) % 10) << 4 | (v % 10));
}
}  // namespace

CSimSensor::CSimSensor(uint8_t type, const CSensorConfig& config, uint64_t seed)
    : m_phys(seed), m_nType(type), m_config(config) {
    m_phys.SetConditions(config.m_conditions);
    // Per-device facts differ between sensor types of one subject, so they mix in the type code.
    CSimRandom rnd(SimMix(seed) ^ type);
    m_nDeviceNumber = config.m_nDeviceNumber != 0
                          ? config.m_nDeviceNumber
                          : (0x20000000u | uint32_t{type} << 16 | (rnd.Next() & 0xFFFF));
    m_nYear = config.m_nYear != 0 ? config.m_nYear : rnd.Range(2015, 2023);
    m_nMonth = config.m_nMonth != 0 ? config.m_nMonth : rnd.Range(1, 12);
    m_nDay = config.m_nDay != 0 ? config.m_nDay : rnd.Range(1, 28);
}

std::array<uint8_t, 4> CSimSensor::DateBcd() const {
    return {Bcd(m_nDay), Bcd(m_nMonth), Bcd(m_nYear % 100), Bcd(m_nYear / 100)};
}

uint8_t CSimSensor::DataCommand() const {
    return m_nType == type::kBloodPressure ? cmd::kCdData : cmd::kStart;
}

uint8_t CSimSensor::StopAckCommand() const {
    return m_nType == type::kBloodPressure ? cmd::kCdStopAck : cmd::kStop;
}

bool CSimSensor::IsAddressed(uint8_t type, uint8_t /*command*/) const {
    return type == m_nType;
}

void CSimSensor::EmitFrame(uint64_t readyNs, uint8_t command, std::span<const uint8_t> payload,
                           std::vector<int> values, CSensorOutput& out) const {
    out.Emit(readyNs, CFrame::Compose(m_nType, command, payload), std::move(values));
}

void CSimSensor::Put16(std::vector<uint8_t>& payload, int value) {
    const int v = std::clamp(value, 0, 0xFFFF);
    payload.push_back(static_cast<uint8_t>(v >> 8));
    payload.push_back(static_cast<uint8_t>(v & 0xFF));
}

void CSimSensor::OnRequest(const uint8_t* frame, size_t n, uint64_t tNs, CSensorOutput& out) {
    if (m_config.m_bSilent || n < kFrameHeadBytes) {
        return;
    }
    const uint8_t type = frame[kPosType];
    const uint8_t command = frame[kPosCommand];
    if (!IsAddressed(type, command)) {
        return;
    }
    const uint64_t tReply = tNs + m_config.m_nLatencyNs;
    const uint8_t* payload = frame + kPosPayload;
    const size_t nPayload = n - kFrameHeadBytes;
    // Frames with the blood-pressure sleep/wake type byte are not this sensor's common requests
    // unless that byte is its own type.
    if (type == m_nType) {
        switch (command) {
            case cmd::kPresence:
                EmitFrame(tReply,
                          m_nType == type::kBloodPressureV2 ? cmd::kPresence : cmd::kPresenceReply,
                          {}, {}, out);
                if (m_nType != type::kBloodPressureV2) {
                    return;
                }
                break;  // for 0xC0 the same frame is also the wake request
            case cmd::kDeviceNumber: {
                const uint8_t b[4] = {static_cast<uint8_t>(m_nDeviceNumber >> 24),
                                      static_cast<uint8_t>(m_nDeviceNumber >> 16),
                                      static_cast<uint8_t>(m_nDeviceNumber >> 8),
                                      static_cast<uint8_t>(m_nDeviceNumber)};
                EmitFrame(tReply, cmd::kDeviceNumber, b, {}, out);
                return;
            }
            case cmd::kProductionDate:
                if (m_nType == type::kBloodPressure) {
                    StopMeasuring(tReply, out);  // 0xCD's stop request
                } else {
                    const auto date = DateBcd();
                    EmitFrame(tReply, cmd::kProductionDate, date, {}, out);
                }
                return;
            case cmd::kStart:
                StartMeasuring(tReply, out);
                return;
            case cmd::kGain:
                // Only the pulse, infrared pulse, respiration and heart-sound models use it.
                if (nPayload >= 1) {
                    m_nGain = std::min<int>(payload[0], kMaxGain);
                }
                return;
            case cmd::kStop:
                if (m_nType != type::kBloodPressure) {
                    StopMeasuring(tReply, out);
                }
                return;
            default:
                break;
        }
    }
    OnCommand(type, command, payload, nPayload, tReply, out);
}

void CSimSensor::OnCommand(uint8_t, uint8_t, const uint8_t*, size_t, uint64_t, CSensorOutput&) {}

void CSimSensor::StartMeasuring(uint64_t tReply, CSensorOutput&) {
    if (!m_bRunning) {
        m_bRunning = true;
        m_nNextNs = tReply;
    }
}

void CSimSensor::StopMeasuring(uint64_t tReply, CSensorOutput& out) {
    m_bRunning = false;
    EmitFrame(tReply, StopAckCommand(), {}, {}, out);
}

void CSimSensor::Produce(uint64_t tNs, CSensorOutput& out) {
    while (m_bRunning && m_nNextNs <= tNs) {
        const uint64_t t = m_nNextNs;
        m_phys.SetTime(Seconds(t));
        EmitData(t, out);
        m_nNextNs = NextFrameNs(t);
    }
}

}  // namespace somatrix

#include "sensor_models.h"

namespace somatrix {

std::unique_ptr<CSimSensor> MakeSimSensor(uint8_t type, const CSensorConfig& config,
                                          uint64_t seed) {
    if (IsBloodPressureType(type)) {
        return MakeBloodPressureSensor(type, config, seed);
    }
    if (auto sensor = MakeWaveformSensor(type, config, seed)) {
        return sensor;
    }
    return MakeSlowSensor(type, config, seed);
}

const std::vector<uint8_t>& AllSensorTypes() {
    static const std::vector<uint8_t> types = {0xC0, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8,
                                               0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xB1};
    return types;
}

}  // namespace somatrix
