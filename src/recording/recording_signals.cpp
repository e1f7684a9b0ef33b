#include "recording/recording_signals.h"

#include "protocol/frame.h"

namespace somatrix {

std::string SensorTag(uint8_t t) {
    switch (t) {
        case type::kBloodPressure:
        case type::kBloodPressureV2:
            return "BP";
        case type::kGastro:
            return "GI";
        case type::kSkinTemperature:
            return "SKINTEMP";
        case type::kSkinResistance:
            return "GSR";
        case type::kEmg:
            return "EMG";
        case type::kBloodOxygen:
            return "SPO2";
        case type::kHeartRate:
            return "HR";
        case type::kBodyTemperature:
            return "TEMP";
        case type::kPulse:
            return "PULSE";
        case type::kInfraredPulse:
            return "IRPULSE";
        case type::kRespiration:
            return "RESP";
        case type::kEcg:
            return "ECG";
        case type::kHeartSound:
            return "HS";
        default:
            return "SENSOR";
    }
}

std::vector<CSignalSpec> RecordingSignals(uint8_t t) {
    switch (t) {
        case type::kBloodPressure:
        case type::kBloodPressureV2:
            return {{"Cuff pressure", "mmHg", 0, 1.0, false}};
        case type::kGastro:
            return {{"GI lead 1", "", 0, 1.0, false}, {"GI lead 2", "", 1, 1.0, false}};
        case type::kSkinTemperature:
            return {{"Skin temperature", "", 0, 1.0, true}};
        case type::kSkinResistance:
            // Units of 100 ohms.
            return {{"Skin resistance", "kOhm", 0, 0.1, false}};
        case type::kEmg:
            return {{"EMG", "", 0, 1.0, false}};
        case type::kBloodOxygen:
            return {{"Pleth", "", 0, 1.0, false},
                    {"SpO2", "%", 1, 1.0, true},
                    {"Pulse rate", "bpm", 2, 1.0, true}};
        case type::kHeartRate:
            return {{"Heart rate", "bpm", 0, 1.0, true}};
        case type::kBodyTemperature:
            // Tenths of a degree.
            return {{"Temperature", "degC", 0, 0.1, true}};
        case type::kPulse:
            return {{"Pulse", "", 0, 1.0, false}};
        case type::kInfraredPulse:
            return {{"IR pulse", "", 0, 1.0, false}};
        case type::kRespiration:
            return {{"Respiration", "", 0, 1.0, false}};
        case type::kEcg:
            return {{"ECG", "", 0, 1.0, false}};
        case type::kHeartSound:
            return {{"Heart sound", "", 0, 1.0, false}};
        default:
            return {{"Signal", "", 0, 1.0, false}};
    }
}

}  // namespace somatrix
