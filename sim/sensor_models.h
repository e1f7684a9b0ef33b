#pragma once
// Factories of the concrete sensor models, one per group of similar sensors. Internal to the
// simulator: everything else goes through MakeSimSensor.
#include <memory>

#include "sim_sensor.h"

namespace somatrix {

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
