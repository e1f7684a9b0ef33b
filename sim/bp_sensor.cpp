// Both blood-pressure generations (0xC0 V2.0 and 0xCD). A start runs one oscillometric cycle:
// the pump inflates the cuff to about 180 mmHg (status bit set), the valve lets it down at about
// 4 mmHg/s while the arterial pulse rides on the cuff pressure as oscillations that peak near the
// mean arterial pressure (status bit clear), and below the diastolic pressure the cuff is dumped
// and the result frame follows. A stop during the cycle dumps the cuff and sends an end frame
// with code 1 before the acknowledgement. Sleep (type byte 0xC0 for both generations) makes the
// sensor refuse to measure until it is woken; it still answers presence and reads.
#include <algorithm>
#include <cmath>

#include "sensor_models.h"
#include "sim_random.h"

namespace somatrix {

namespace {

constexpr uint64_t kFrameNs = kNsPerSecond / 50;
constexpr double kInflateRate = 25.0;  // mmHg/s
constexpr double kDeflateRate = 4.0;   // mmHg/s
constexpr double kDumpRate = 50.0;     // mmHg/s
inline constexpr int kEndStoppedByRequest = 1;

class CBloodPressureSensor : public CSimSensor {
public:
    using CSimSensor::CSimSensor;
    uint64_t FramePeriodNs() const override { return kFrameNs; }

protected:
    bool IsAddressed(uint8_t type, uint8_t command) const override {
        if (type == Type()) {
            return true;
        }
        // 0xCD's sleep and wake requests carry the type byte 0xC0.
        return type == type::kBloodPressureV2 && (command == cmd::kSleep || command == cmd::kWake);
    }

    void OnCommand(uint8_t type, uint8_t command, const uint8_t*, size_t, uint64_t,
                   CSensorOutput&) override {
        if (type != type::kBloodPressureV2) {
            return;
        }
        const uint8_t sleep = Type() == type::kBloodPressureV2 ? cmd::kSleepV2 : cmd::kSleep;
        if (command == sleep) {
            m_bAsleep = true;
            m_bRunning = false;  // the pump and valve power down mid-cycle without a word
        } else if (command == cmd::kWake) {
            m_bAsleep = false;
        }
    }

    void StartMeasuring(uint64_t tReply, CSensorOutput&) override {
        if (m_bAsleep || m_bRunning) {
            return;
        }
        m_bRunning = true;
        m_nNextNs = tReply;
        m_nCycleStartNs = tReply;
        ++m_nCycle;
        const uint64_t seed = m_phys.Seed();
        const auto& traits = m_phys.Traits();
        m_nSystolic = traits.m_nSystolic + static_cast<int>(4 * SimHashNoise(seed, m_nCycle * 3));
        m_nDiastolic =
            traits.m_nDiastolic + static_cast<int>(3 * SimHashNoise(seed, m_nCycle * 3 + 1));
        m_bIrregular = SimHashNoise(seed, m_nCycle * 3 + 2) > 0.85;
        m_fTarget = std::max(180.0, m_nSystolic + 30.0);
        m_fPressure = 0;
        m_nPhase = kInflate;
    }

    void StopMeasuring(uint64_t tReply, CSensorOutput& out) override {
        if (m_bRunning) {
            const uint8_t code = kEndStoppedByRequest;
            EmitFrame(tReply, EndCommand(), {&code, 1}, {code}, out);
        }
        CSimSensor::StopMeasuring(tReply, out);
    }

    void EmitData(uint64_t tNs, CSensorOutput& out) override {
        const double dt = Seconds(kFrameNs);
        bool bInflating = false;
        double oscillation = 0;
        switch (m_nPhase) {
            case kInflate:
                bInflating = true;
                m_fPressure = std::min(m_fTarget, m_fPressure + kInflateRate * dt);
                // The pump's ripple.
                oscillation = 0.8 * std::sin(2 * 3.14159265 * 8 * Seconds(tNs - m_nCycleStartNs));
                if (m_fPressure >= m_fTarget) {
                    m_nPhase = kDeflate;
                }
                break;
            case kDeflate:
                m_fPressure -= kDeflateRate * dt;
                oscillation = Oscillation();
                if (m_fPressure <= m_nDiastolic - 15) {
                    m_nPhase = kDump;
                }
                break;
            case kDump:
                m_fPressure = std::max(0.0, m_fPressure - kDumpRate * dt);
                break;
        }
        const int p = std::clamp(static_cast<int>(std::lround(m_fPressure + oscillation)), 0, 4095);
        const int status = bInflating ? 0x10 : 0;
        const uint8_t payload[2] = {static_cast<uint8_t>((p >> 8) | status),
                                    static_cast<uint8_t>(p & 0xFF)};
        EmitFrame(tNs, DataCommand(), payload, {p, status}, out);
        if (m_nPhase == kDump && m_fPressure <= 0) {
            EmitResult(tNs + kFrameNs, out);
        }
    }

private:
    enum EPhase { kInflate, kDeflate, kDump };

    // Oscillation amplitude is largest at the mean arterial pressure and fades towards the
    // systolic and diastolic pressures; its shape is the pulse wave.
    double Oscillation() const {
        const double map = m_nDiastolic + (m_nSystolic - m_nDiastolic) / 3.0;
        const double width = (m_nSystolic - m_nDiastolic) * 0.55;
        const double d = (m_fPressure - map) / width;
        const double amplitude = 4.0 * std::exp(-d * d);
        return amplitude * (m_phys.PulseWave() - 0.3);
    }

    uint8_t EndCommand() const {
        return Type() == type::kBloodPressure ? cmd::kCdEnd : cmd::kBpEnd;
    }

    void EmitResult(uint64_t tNs, CSensorOutput& out) {
        const int rate = static_cast<int>(std::lround(m_phys.HeartRate()));
        const uint8_t payload[5] = {
            static_cast<uint8_t>(((m_nSystolic >> 8) & 0x7F) | (m_bIrregular ? 0x80 : 0)),
            static_cast<uint8_t>(m_nSystolic & 0xFF), static_cast<uint8_t>(m_nDiastolic >> 8),
            static_cast<uint8_t>(m_nDiastolic & 0xFF), static_cast<uint8_t>(rate)};
        const uint8_t command = Type() == type::kBloodPressure ? cmd::kCdResult : cmd::kBpResult;
        EmitFrame(tNs, command, payload, {m_nSystolic, m_nDiastolic, rate, m_bIrregular ? 0x80 : 0},
                  out);
        m_bRunning = false;
    }

    bool m_bAsleep = false;
    EPhase m_nPhase = kInflate;
    uint64_t m_nCycleStartNs = 0;
    uint64_t m_nCycle = 0;
    double m_fTarget = 180;
    double m_fPressure = 0;
    int m_nSystolic = 120;
    int m_nDiastolic = 80;
    bool m_bIrregular = false;
};

}  // namespace

std::unique_ptr<CSimSensor> MakeBloodPressureSensor(uint8_t t, const CSensorConfig& config,
                                                    uint64_t seed) {
    return std::make_unique<CBloodPressureSensor>(t, config, seed);
}

}  // namespace somatrix
