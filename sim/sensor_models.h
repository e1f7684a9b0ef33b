#pragma once
// Factories of the concrete sensor models, one per group of similar sensors. Internal to the
// simulator: everything else goes through MakeSimSensor.
#include <memory>

#include "sim_sensor.h"

namespace somatrix {

// How the ECG and pulse sensors digitise: 10 bits around 512; ECG 300 counts per mV; the pulse
// waves' amplitude per gain step (the panel starts at gain 3).
inline constexpr double kEcgCountsPerMv = 300.0;
inline constexpr double kPulseCountsPerGain = 110.0;
inline constexpr double kInfraredCountsPerGain = 95.0;
inline constexpr int kInitialGain = 3;
int EcgCounts(double millivolts);
int PulseCounts(double wave, double countsPerGain, int gain);

// ECG, pulse, infrared pulse, respiration, heart sound, EMG, blood oxygen, gastro-intestinal.
std::unique_ptr<CSimSensor> MakeWaveformSensor(uint8_t type, const CSensorConfig& config,
                                               uint64_t seed);
// Skin resistance, heart rate, body and skin temperature.
std::unique_ptr<CSimSensor> MakeSlowSensor(uint8_t type, const CSensorConfig& config,
                                           uint64_t seed);
// Both blood-pressure generations, 0xC0 and 0xCD.
std::unique_ptr<CSimSensor> MakeBloodPressureSensor(uint8_t type, const CSensorConfig& config,
                                                    uint64_t seed);

}  // namespace somatrix
