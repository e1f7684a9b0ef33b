#pragma once
// The signals a recording of each sensor type holds, as the decoder delivers them: which reading
// each one takes, its label and physical dimension (ASCII, as the EDF header requires), and the
// factor from the decoded integer to the physical value. Framework-free.
#include <cstdint>
#include <string>
#include <vector>

namespace somatrix {

struct CSignalSpec {
    std::string m_strLabel;
    std::string m_strUnit;
    int m_nReading = 0;     // 0, 1 or 2: the first, second or third reading of a frame
    double m_fScale = 1.0;  // physical value of one decoded count
    // Waveforms take every sample at the rate the sensor delivers; held readings (slow values)
    // are written once a second, the latest value received.
    bool m_bHeld = false;
};

// Decoded readings run 0..kMaxValue; digital value = reading - kDigitalShift, so that the
// digital minimum stays free to mean "no data".
inline constexpr int kNoData = -32768;
inline constexpr int kDigitalShift = 32767;
inline constexpr int kMaxValue = 65534;

// The ASCII name of the sensor in file names and the EDF header ("ECG", "SPO2", ...).
std::string SensorTag(uint8_t type);

// The signals of a recording of `type` (at least one).
std::vector<CSignalSpec> RecordingSignals(uint8_t type);

// The digital value of a reading (-1 or less: no data; above kMaxValue: clipped).
inline int16_t DigitalOf(int reading) {
    if (reading < 0) {
        return static_cast<int16_t>(kNoData);
    }
    return static_cast<int16_t>((reading > kMaxValue ? kMaxValue : reading) - kDigitalShift);
}

}  // namespace somatrix
