#pragma once
// Writes review files (the waveform files review mode opens): "EEG1TM", the first segment's
// time stamp, 16-bit little-endian samples at 200 samples/s, and "TM" + time stamp before each
// further segment. The signal is a resting EEG of one simulated subject: alpha waves waxing and
// waning, some theta and beta, a little noise and an eye blink every few seconds, as 12-bit
// values around 2048 (8 counts per microvolt). On request the signal is the subject's ECG
// instead, in the ECG sensor's own counts, with the chosen disturbances.
#include <cstdint>
#include <string>
#include <vector>

#include "physiology.h"

namespace somatrix {

inline constexpr int kReviewSampleRate = 200;

struct CReviewOptions {
    int m_nMinutes = 1;
    int m_nSegments = 1;  // the recording is cut into this many time-stamped segments
    uint64_t m_nSeed = 1;
    uint32_t m_nStartTime = 0;  // seconds since 1970 (UTC) of the first segment
    int m_nPauseSeconds = 60;   // recording paused this long between segments
    bool m_bEcg = false;        // the subject's ECG (the ECG sensor's counts) instead of EEG
    CSimConditions m_conditions;
};

// The R peaks of an ECG review file, in seconds of samples from its first sample.
std::vector<double> ReviewBeatTimes(const CReviewOptions& options);

// The whole file in memory.
std::vector<uint8_t> ComposeReviewFile(const CReviewOptions& options);
// False with a reason when the file cannot be written.
bool WriteReviewFile(const std::string& path, const CReviewOptions& options, std::string& error);

// The loader finds segment markers at any byte offset, so a sample must never form the bytes
// "TM" (0x54 0x4D) on its own or with the high byte of the sample before it. Returns the sample,
// nudged by one where it would.
uint16_t AvoidMarker(uint8_t previousHigh, uint16_t sample);

}  // namespace somatrix
