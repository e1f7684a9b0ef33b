// The sensors that stream a waveform: one frame per sample (ECG, pulses, respiration, blood
// oxygen, gastro-intestinal) or a block of samples per frame (heart sound, EMG).
#include <algorithm>
#include <cmath>

#include "sensor_models.h"
#include "sim_random.h"

namespace somatrix {

namespace {

constexpr uint64_t PeriodOf(uint64_t framesPerSecond) {
    return kNsPerSecond / framesPerSecond;
}

// The waveform sensors digitise with 10 bits, their baseline at mid-scale: the live plot's
// default zoom shows 0 to about 1,110.
constexpr int kBaseline10 = 512;

int Clamp10(double v) {
    return std::clamp(static_cast<int>(std::lround(v)), 0, 1023);
}

// One 16-bit value per frame: ECG, pulse, infrared pulse, respiration.
class CScalarWaveSensor : public CSimSensor {
public:
    using CSimSensor::CSimSensor;

protected:
    virtual int Sample() = 0;
    void EmitData(uint64_t tNs, CSensorOutput& out) override {
        const int v = Sample();
        std::vector<uint8_t> payload;
        Put16(payload, v);
        EmitFrame(tNs, DataCommand(), payload, {v}, out);
    }
};

// ECG: 250 frames/s, 10-bit values around 512, 1 mV = 300 counts (the R wave stands some 360
// counts above the baseline).
class CEcgSensor : public CScalarWaveSensor {
public:
    using CScalarWaveSensor::CScalarWaveSensor;
    uint64_t FramePeriodNs() const override { return PeriodOf(250); }

protected:
    int Sample() override { return EcgCounts(m_phys.EcgMillivolts()); }
};

// Pulse (0xCA) and infrared pulse (0xCB): 100 frames/s; the amplitude follows the gain.
class CPulseSensor : public CScalarWaveSensor {
public:
    CPulseSensor(uint8_t type, const CSensorConfig& config, uint64_t seed, double perGain)
        : CScalarWaveSensor(type, config, seed), m_fPerGain(perGain) {}
    uint64_t FramePeriodNs() const override { return PeriodOf(100); }

protected:
    int Sample() override { return PulseCounts(m_phys.PulseWave(), m_fPerGain, m_nGain); }

private:
    double m_fPerGain;
};

// Respiration: 50 frames/s; the amplitude follows the gain (the 10-bit range holds gain 8).
class CRespirationSensor : public CScalarWaveSensor {
public:
    using CScalarWaveSensor::CScalarWaveSensor;
    uint64_t FramePeriodNs() const override { return PeriodOf(50); }

protected:
    int Sample() override { return Clamp10(kBaseline10 + 55 * m_nGain * m_phys.Respiration()); }
};

// Heart sound: 2000 samples/s of 8 bits, 50 samples a frame (40 frames/s); the amplitude
// follows the gain.
class CHeartSoundSensor : public CSimSensor {
public:
    using CSimSensor::CSimSensor;
    static constexpr int kSamples = 50;
    static constexpr uint64_t kSampleNs = 500000;
    uint64_t FramePeriodNs() const override { return kSamples * kSampleNs; }

protected:
    void EmitData(uint64_t tNs, CSensorOutput& out) override {
        std::vector<uint8_t> payload(kSamples);
        std::vector<int> values(kSamples);
        for (int k = 0; k < kSamples; ++k) {
            // The frame at t carries the samples of the 25 ms that end at t.
            const uint64_t back = static_cast<uint64_t>(kSamples - 1 - k) * kSampleNs;
            const uint64_t ts = tNs >= back ? tNs - back : 0;
            m_phys.SetTime(Seconds(ts));
            const double noise = 1.5 * SimHashNoise(m_phys.Seed(), ts / kSampleNs);
            const double v = 128 + 7.5 * m_nGain * m_phys.HeartSound() + noise;
            values[k] = std::clamp(static_cast<int>(std::lround(v)), 0, 255);
            payload[k] = static_cast<uint8_t>(values[k]);
        }
        EmitFrame(tNs, DataCommand(), payload, std::move(values), out);
    }
};

// EMG: 1000 samples/s, 24 samples a frame (one frame every 24 ms), rectified, with bursts.
class CEmgSensor : public CSimSensor {
public:
    using CSimSensor::CSimSensor;
    static constexpr int kSamples = 24;
    uint64_t FramePeriodNs() const override { return kSamples * 1000000ull; }

protected:
    void EmitData(uint64_t tNs, CSensorOutput& out) override {
        std::vector<uint8_t> payload;
        std::vector<int> values(kSamples);
        const uint64_t last = tNs / 1000000ull;  // sample index at 1 kHz
        for (int k = 0; k < kSamples; ++k) {
            const uint64_t index = last + 1 >= kSamples ? last + 1 - kSamples + k : k;
            values[k] = m_phys.EmgSample(index);
            Put16(payload, values[k]);
        }
        EmitFrame(tNs, DataCommand(), payload, std::move(values), out);
    }
};

// Blood oxygen: 50 frames/s of plethysmogram (8 bits), saturation and pulse rate.
class CBloodOxygenSensor : public CSimSensor {
public:
    using CSimSensor::CSimSensor;
    uint64_t FramePeriodNs() const override { return PeriodOf(50); }

protected:
    void EmitData(uint64_t tNs, CSensorOutput& out) override {
        const int volume =
            std::clamp(static_cast<int>(std::lround(30 + 180 * m_phys.PulseWave())), 0, 255);
        const int spo2 = static_cast<int>(std::lround(m_phys.Spo2()));
        const int rate = static_cast<int>(std::lround(m_phys.HeartRate()));
        const uint8_t payload[3] = {static_cast<uint8_t>(volume), static_cast<uint8_t>(spo2),
                                    static_cast<uint8_t>(rate)};
        EmitFrame(tNs, DataCommand(), payload, {volume, spo2, rate}, out);
    }
};

// Gastro-intestinal: 20 frames/s, two leads; input 0 measures the stomach's slow wave,
// input 1 the intestine's faster rhythm.
class CGastroSensor : public CSimSensor {
public:
    using CSimSensor::CSimSensor;
    uint64_t FramePeriodNs() const override { return PeriodOf(20); }

protected:
    void OnCommand(uint8_t type, uint8_t command, const uint8_t* payload, size_t n, uint64_t,
                   CSensorOutput&) override {
        if (type == Type() && command == cmd::kInputSelect && n >= 1) {
            m_bIntestinal = payload[0] == 1;
        }
    }
    void EmitData(uint64_t tNs, CSensorOutput& out) override {
        const int a = m_phys.GastroSample(m_bIntestinal, 0);
        const int b = m_phys.GastroSample(m_bIntestinal, 1);
        std::vector<uint8_t> payload;
        Put16(payload, a);
        Put16(payload, b);
        EmitFrame(tNs, DataCommand(), payload, {a, b}, out);
    }

private:
    bool m_bIntestinal = false;
};

}  // namespace

int EcgCounts(double millivolts) {
    return Clamp10(kBaseline10 + kEcgCountsPerMv * millivolts);
}

int PulseCounts(double wave, double countsPerGain, int gain) {
    return Clamp10(kBaseline10 + (wave - 0.45) * countsPerGain * gain);
}

std::unique_ptr<CSimSensor> MakeWaveformSensor(uint8_t t, const CSensorConfig& config,
                                               uint64_t seed) {
    switch (t) {
        case type::kEcg:
            return std::make_unique<CEcgSensor>(t, config, seed);
        case type::kPulse:
            return std::make_unique<CPulseSensor>(t, config, seed, kPulseCountsPerGain);
        case type::kInfraredPulse:
            return std::make_unique<CPulseSensor>(t, config, seed, kInfraredCountsPerGain);
        case type::kRespiration:
            return std::make_unique<CRespirationSensor>(t, config, seed);
        case type::kHeartSound:
            return std::make_unique<CHeartSoundSensor>(t, config, seed);
        case type::kEmg:
            return std::make_unique<CEmgSensor>(t, config, seed);
        case type::kBloodOxygen:
            return std::make_unique<CBloodOxygenSensor>(t, config, seed);
        case type::kGastro:
            return std::make_unique<CGastroSensor>(t, config, seed);
        default:
            return nullptr;
    }
}

}  // namespace somatrix
