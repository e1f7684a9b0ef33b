#pragma once
// A simulated sensor: one type code, its device number and production date, its reply latency,
// and the measurement it runs. The bus hands it every checked request seen on the line; it
// answers only frames addressed to its own type code (plus the blood-pressure sleep and wake
// frames, which carry 0xC0 for both blood-pressure types) and, while measuring, emits its data
// frames at its own rate. Every frame goes out through CSensorOutput with the time at which the
// sensor has it ready and the values it carries, which the bus keeps as ground truth.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "physiology.h"
#include "protocol/frame.h"
#include "sim_clock.h"

namespace somatrix {

class CSensorOutput {
public:
    virtual ~CSensorOutput() = default;
    // `values`: what a decoder should read back from the frame (samples, pressures, codes).
    virtual void Emit(uint64_t readyNs, const CFrame& frame, std::vector<int> values) = 0;
};

struct CSensorConfig {
    uint32_t m_nDeviceNumber = 0;  // 0: derived from the type code and the seed
    int m_nYear = 0;               // production date; 0: derived from the seed
    int m_nMonth = 0;
    int m_nDay = 0;
    uint64_t m_nLatencyNs = 3000000;  // from a request's last byte to the reply being ready
    bool m_bSilent = false;           // never answers anything, never measures
    CSimConditions m_conditions;      // noise, artefacts, ectopic beats, exercise
};

class CSimSensor {
public:
    CSimSensor(uint8_t type, const CSensorConfig& config, uint64_t seed);
    virtual ~CSimSensor() = default;

    uint8_t Type() const { return m_nType; }
    uint32_t DeviceNumber() const { return m_nDeviceNumber; }
    // Day, month, year within century, century, each binary-coded decimal, as the reply carries.
    std::array<uint8_t, 4> DateBcd() const;
    const CSensorConfig& Config() const { return m_config; }
    bool IsRunning() const { return m_bRunning; }
    int Gain() const { return m_nGain; }
    // Nominal time between data frames while measuring.
    virtual uint64_t FramePeriodNs() const = 0;

    // A checked request frame whose last byte reached the sensor at `tNs`.
    void OnRequest(const uint8_t* frame, size_t n, uint64_t tNs, CSensorOutput& out);
    // Emits every data frame due up to `tNs`.
    void Produce(uint64_t tNs, CSensorOutput& out);

protected:
    // The type-specific requests (gain, modes, calibration, sleep); the common ones are handled
    // before. `tReply` is when an answer or the command's effect is due.
    virtual void OnCommand(uint8_t type, uint8_t command, const uint8_t* payload, size_t n,
                           uint64_t tReply, CSensorOutput& out);
    // Whether a frame with this type byte is meant for this sensor.
    virtual bool IsAddressed(uint8_t type, uint8_t command) const;
    virtual void StartMeasuring(uint64_t tReply, CSensorOutput& out);
    virtual void StopMeasuring(uint64_t tReply, CSensorOutput& out);
    // One data frame for time `tNs`; the sensor's subject has been moved there.
    virtual void EmitData(uint64_t tNs, CSensorOutput& out) = 0;
    // When the frame after the one at `tNs` is due (the heart-rate sensor sends one per beat).
    virtual uint64_t NextFrameNs(uint64_t tNs) { return tNs + FramePeriodNs(); }

    uint8_t DataCommand() const;
    uint8_t StopAckCommand() const;
    void EmitFrame(uint64_t readyNs, uint8_t command, std::span<const uint8_t> payload,
                   std::vector<int> values, CSensorOutput& out) const;
    // Big-endian 16-bit payload helper.
    static void Put16(std::vector<uint8_t>& payload, int value);
    static double Seconds(uint64_t ns) { return static_cast<double>(ns) / 1e9; }

    CPhysiology m_phys;
    bool m_bRunning = false;
    uint64_t m_nNextNs = 0;
    int m_nGain = 3;  // the panel's initial gain

private:
    uint8_t m_nType;
    CSensorConfig m_config;
    uint32_t m_nDeviceNumber;
    int m_nYear, m_nMonth, m_nDay;
};

// The sensor model for a catalogue type code; null for a code no sensor has.
std::unique_ptr<CSimSensor> MakeSimSensor(uint8_t type, const CSensorConfig& config, uint64_t seed);
// The fourteen type codes in catalogue order.
const std::vector<uint8_t>& AllSensorTypes();

}  // namespace somatrix
