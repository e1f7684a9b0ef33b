#pragma once
// Frame layout of the sensor protocol, shared by both directions:
//   FF  type  L  checksum  command  payload[L-3]
// The frame is L + 2 bytes; the checksum is (L + command + payload) mod 256. Multi-byte payload
// values are big-endian. Request composition lives here so the panel, the probe and the
// simulated sensors all build identical bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace somatrix {

inline constexpr uint8_t kFrameStart = 0xFF;
inline constexpr size_t kFrameHeadBytes = 5;      // start, type, length, checksum, command
inline constexpr uint8_t kMaxReceiveLength = 64;  // largest L accepted on receive
inline constexpr size_t kMaxFrameBytes = kMaxReceiveLength + 2;

// Frame byte positions.
inline constexpr size_t kPosType = 1;
inline constexpr size_t kPosLength = 2;
inline constexpr size_t kPosChecksum = 3;
inline constexpr size_t kPosCommand = 4;
inline constexpr size_t kPosPayload = 5;

// Command bytes. Several values mean different things by direction and by sensor type.
namespace cmd {
inline constexpr uint8_t kStart = 0xA0;           // request; also the data frame
inline constexpr uint8_t kStop = 0xA1;            // request; also the stop acknowledgement
inline constexpr uint8_t kDeviceNumber = 0xA2;    // request and reply
inline constexpr uint8_t kProductionDate = 0xA3;  // request and reply; stop request of 0xCD
inline constexpr uint8_t kGain = 0xA4;
inline constexpr uint8_t kOutputMode = 0xA7;      // heart-rate sensor
inline constexpr uint8_t kSleepV2 = 0xA8;         // blood pressure V2.0
inline constexpr uint8_t kPresence = 0xAA;        // presence request; also wake; also 0xC0's reply
inline constexpr uint8_t kWake = 0xAA;
inline constexpr uint8_t kSleep = 0xAB;           // blood pressure 0xCD
inline constexpr uint8_t kBpResult = 0xAC;        // from 0xC0
inline constexpr uint8_t kBpEnd = 0xAD;           // from 0xC0
inline constexpr uint8_t kInputSelect = 0xAF;     // gastro-intestinal sensor
inline constexpr uint8_t kCalibrateUp = 0xCA;     // thermometer
inline constexpr uint8_t kCalibrateDown = 0xCD;   // thermometer
inline constexpr uint8_t kCdStopAck = 0x53;       // from 0xCD
inline constexpr uint8_t kCdData = 0x54;          // from 0xCD
inline constexpr uint8_t kCdResult = 0x55;        // from 0xCD
inline constexpr uint8_t kCdEnd = 0x56;           // from 0xCD
inline constexpr uint8_t kPresenceReply = 0x5A;
}  // namespace cmd

// Sensor type codes of the catalogue.
namespace type {
inline constexpr uint8_t kBloodPressureV2 = 0xC0;
inline constexpr uint8_t kGastro = 0xC3;
inline constexpr uint8_t kSkinTemperature = 0xC4;
inline constexpr uint8_t kSkinResistance = 0xC5;
inline constexpr uint8_t kEmg = 0xC6;
inline constexpr uint8_t kBloodOxygen = 0xC7;
inline constexpr uint8_t kHeartRate = 0xC8;
inline constexpr uint8_t kBodyTemperature = 0xC9;
inline constexpr uint8_t kPulse = 0xCA;
inline constexpr uint8_t kInfraredPulse = 0xCB;
inline constexpr uint8_t kRespiration = 0xCC;
inline constexpr uint8_t kBloodPressure = 0xCD;
inline constexpr uint8_t kEcg = 0xCE;
inline constexpr uint8_t kHeartSound = 0xB1;
}  // namespace type

inline constexpr int kMaxGain = 16;

// Type codes the receive scanner accepts: 0xB1 and 0xC0..0xCE.
constexpr bool IsAcceptedType(uint8_t t) { return t == 0xB1 || (t >= 0xC0 && t <= 0xCE); }

// Command bytes the receive scanner accepts: 0xA0..0xAF, 0x53..0x5F, 0xCA and 0xCD.
constexpr bool IsAcceptedCommand(uint8_t c) {
    return (c >= 0xA0 && c <= 0xAF) || (c >= 0x53 && c <= 0x5F) || c == 0xCA || c == 0xCD;
}

constexpr bool IsBloodPressureType(uint8_t t) {
    return t == type::kBloodPressureV2 || t == type::kBloodPressure;
}

// (L + command + payload) mod 256 over a frame of `n` bytes laid out as above. Bytes past `n`
// are not read, so a frame shorter than its length byte claims sums what is there.
uint8_t FrameChecksum(const uint8_t* frame, size_t n);

// One composed frame: fixed storage, no allocation.
class CFrame {
public:
    const uint8_t* data() const { return m_bytes.data(); }
    size_t size() const { return m_nSize; }
    uint8_t operator[](size_t i) const { return m_bytes[i]; }
    std::span<const uint8_t> bytes() const { return {m_bytes.data(), m_nSize}; }

    // Start, type, L = payload + 3, checksum, command, payload. Payload beyond 61 bytes is cut.
    static CFrame Compose(uint8_t type, uint8_t command, std::span<const uint8_t> payload = {});

    // A frame whose checksum byte is set independently (device replies that carry a fixed
    // checksum, tests of bad checksums).
    void SetByte(size_t i, uint8_t value) { m_bytes[i] = value; }

private:
    std::array<uint8_t, kMaxFrameBytes> m_bytes{};
    size_t m_nSize = 0;
};

// The program's requests, one function per row of the request table.
CFrame StartRequest(uint8_t t);                 // FF t 03 A3 A0
CFrame StopRequest(uint8_t t);                  // FF t 03 A4 A1; FF CD 03 A6 A3 for 0xCD
CFrame DeviceNumberRequest(uint8_t t);          // FF t 03 A5 A2
CFrame ProductionDateRequest(uint8_t t);        // FF t 03 A6 A3
CFrame GainRequest(uint8_t t, int gain);        // FF t 04 c A4 g, gain clamped to 0..16
CFrame OutputModeRequest(int mode);             // FF C8 04 c A7 m
CFrame InputSelectRequest(int input);           // FF C3 04 c AF m
std::optional<CFrame> SleepRequest(uint8_t t);  // 0xC0: FF C0 03 AB A8; 0xCD: FF C0 03 AE AB
CFrame WakeRequest();                           // FF C0 03 AD AA, for both blood-pressure types
CFrame PresenceRequest(uint8_t t);              // FF t 03 AD AA
// Calibration list index 0..6: "不调[0]", "上调[1]".."上调[3]", "下调[1]".."下调[3]".
std::optional<CFrame> TemperatureCalibrationRequest(int index);

}  // namespace somatrix
