// The sensors that report a slowly changing number: skin resistance, heart rate, body and skin
// temperature.
#include <algorithm>
#include <cmath>

#include "sensor_models.h"

namespace somatrix {

namespace {

int Round(double v) {
    return static_cast<int>(std::lround(v));
}

class CScalarSensor : public CSimSensor {
public:
    CScalarSensor(uint8_t type, const CSensorConfig& config, uint64_t seed, uint64_t periodNs)
        : CSimSensor(type, config, seed), m_nPeriodNs(periodNs) {}
    uint64_t FramePeriodNs() const override { return m_nPeriodNs; }

protected:
    virtual int Value() = 0;
    void EmitData(uint64_t tNs, CSensorOutput& out) override {
        const int v = std::clamp(Value(), 0, 0xFFFF);
        std::vector<uint8_t> payload;
        Put16(payload, v);
        EmitFrame(tNs, DataCommand(), payload, {v}, out);
    }

private:
    uint64_t m_nPeriodNs;
};

// Skin resistance: 10 frames/s in units of 100 ohms (so value / 10 is kilo-ohms and
// 10000 / value is the conductance in microsiemens). The view divides by ten before plotting,
// so the range ends at ten times the 10-bit waveforms' (1,023 kilo-ohms).
class CSkinResistanceSensor : public CScalarSensor {
public:
    CSkinResistanceSensor(uint8_t t, const CSensorConfig& c, uint64_t seed)
        : CScalarSensor(t, c, seed, kNsPerSecond / 10) {}

protected:
    int Value() override { return std::min(Round(10 * m_phys.SkinResistance()), 10230); }
};

// Body temperature: 2 frames/s in tenths of a degree. The calibration request sets an offset of
// one tenth per step of 64, raised (0xCA) or lowered (0xCD); "no change" clears it.
class CBodyTemperatureSensor : public CScalarSensor {
public:
    CBodyTemperatureSensor(uint8_t t, const CSensorConfig& c, uint64_t seed)
        : CScalarSensor(t, c, seed, kNsPerSecond / 2) {}

protected:
    void OnCommand(uint8_t type, uint8_t command, const uint8_t* payload, size_t n, uint64_t,
                   CSensorOutput&) override {
        if (type != Type() || n < 1) {
            return;
        }
        if (command == cmd::kCalibrateUp) {
            m_nOffset = payload[0] / 64;
        } else if (command == cmd::kCalibrateDown) {
            m_nOffset = -(payload[0] / 64);
        }
    }
    int Value() override { return Round(10 * m_phys.BodyTemperature()) + m_nOffset; }

private:
    int m_nOffset = 0;
};

// Skin temperature: 2 frames/s in tenths of a degree (the program does not decode them).
class CSkinTemperatureSensor : public CScalarSensor {
public:
    CSkinTemperatureSensor(uint8_t t, const CSensorConfig& c, uint64_t seed)
        : CScalarSensor(t, c, seed, kNsPerSecond / 2) {}

protected:
    int Value() override { return Round(10 * m_phys.SkinTemperature()); }
};

// Heart rate: one frame per heartbeat, sent at its R peak: beats per minute in heart-rate
// output (mode 1, the default) or the beat's RR interval in milliseconds in period output
// (mode 0).
class CHeartRateSensor : public CScalarSensor {
public:
    CHeartRateSensor(uint8_t t, const CSensorConfig& c, uint64_t seed)
        : CScalarSensor(t, c, seed, kNsPerSecond) {}

protected:
    void OnCommand(uint8_t type, uint8_t command, const uint8_t* payload, size_t n, uint64_t,
                   CSensorOutput&) override {
        if (type == Type() && command == cmd::kOutputMode && n >= 1) {
            m_bRateOutput = payload[0] != 0;
        }
    }
    void StartMeasuring(uint64_t tReply, CSensorOutput& out) override {
        const bool bWasRunning = m_bRunning;
        CScalarSensor::StartMeasuring(tReply, out);
        if (!bWasRunning) {
            m_phys.SetTime(Seconds(tReply));
            m_nNextNs = NextBeatNs();
        }
    }
    uint64_t NextFrameNs(uint64_t) override { return NextBeatNs(); }
    int Value() override {
        const double rr = m_phys.PreviousRr();
        return m_bRateOutput ? Round(60.0 / rr) : Round(1000.0 * rr);
    }

private:
    // Rounded up, so that the subject has passed the beat when the frame is made.
    uint64_t NextBeatNs() const {
        return static_cast<uint64_t>(std::ceil((m_phys.BeatStart() + m_phys.RrInterval()) * 1e9)) +
               1;
    }

    bool m_bRateOutput = true;
};

}  // namespace

std::unique_ptr<CSimSensor> MakeSlowSensor(uint8_t t, const CSensorConfig& config, uint64_t seed) {
    switch (t) {
        case type::kSkinResistance:
            return std::make_unique<CSkinResistanceSensor>(t, config, seed);
        case type::kBodyTemperature:
            return std::make_unique<CBodyTemperatureSensor>(t, config, seed);
        case type::kSkinTemperature:
            return std::make_unique<CSkinTemperatureSensor>(t, config, seed);
        case type::kHeartRate:
            return std::make_unique<CHeartRateSensor>(t, config, seed);
        default:
            return nullptr;
    }
}

}  // namespace somatrix
