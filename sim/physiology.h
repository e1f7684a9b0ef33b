#pragma once
// One simulated subject: the body every simulated sensor measures. The constants (heart rate,
// breathing rate, pressures, temperatures) are drawn from the seed, so a seed is one reproducible
// person; sensors built from the same seed agree with each other (the ECG's beats are the pulse
// wave's beats and the oximeter's pulse rate).
//
// Time is in seconds and must not go backwards between calls to SetTime: the beat sequence is
// walked forward, which keeps every query constant work. Each sensor owns its own instance.
#include <cstdint>
#include <vector>

namespace somatrix {

struct CSubjectTraits {
    double m_fHeartRate = 72;        // beats per minute at rest
    double m_fBreathRate = 15;       // breaths per minute
    double m_fSpo2 = 98;             // percent
    double m_fBodyTemp = 36.8;       // degrees Celsius
    double m_fSkinTemp = 32.5;       // degrees Celsius
    double m_fSkinResistance = 300;  // kilo-ohms
    int m_nSystolic = 120;           // mmHg
    int m_nDiastolic = 80;           // mmHg
};

// Disturbances and events a subject can be given; all off by default. Amplitudes are in mV of
// ECG; the pulse waves take noise, wander and motion as the same share of their own height.
struct CSimConditions {
    double m_fNoiseMv = 0;        // broadband (muscle) noise, peak
    double m_fWanderMv = 0;       // slow baseline wander besides the breathing's own
    double m_fHumMv = 0;          // 50 Hz mains hum
    double m_fMotionMv = 0;       // electrode motion: a jolt every eight seconds or so
    double m_fEctopicChance = 0;  // chance of a beat being a premature ventricular one
    double m_fStepAtSec = -1;     // exercise step: from this time on (negative: none) ...
    double m_fStepBpm = 0;        // ... the heart beats at this rate

    bool Any() const {
        return m_fNoiseMv > 0 || m_fWanderMv > 0 || m_fHumMv > 0 || m_fMotionMv > 0 ||
               m_fEctopicChance > 0 || m_fStepAtSec >= 0;
    }
};

class CPhysiology {
public:
    // The pulse wave's foot reaches the fingertip this long after the R peak.
    static constexpr double kPulseDelaySec = 0.18;

    explicit CPhysiology(uint64_t seed);
    void SetConditions(const CSimConditions& conditions);
    const CSimConditions& Conditions() const { return m_conditions; }

    const CSubjectTraits& Traits() const { return m_traits; }
    uint64_t Seed() const { return m_nSeed; }

    // Moves the subject to time t (seconds, never decreasing).
    void SetTime(double t);
    double Time() const { return m_fTime; }

    // Beat timing: time since the last R peak, the current RR interval, the beat's number.
    double SinceBeat() const { return m_fTime - m_fBeatStart; }
    double RrInterval() const { return m_fRr; }
    double PreviousRr() const { return m_fPrevRr; }  // the interval that ended at BeatStart
    double BeatStart() const { return m_fBeatStart; }
    uint64_t BeatIndex() const { return m_nBeat; }
    double HeartRate() const { return 60.0 / m_fRr; }
    // The resting rate, or the exercise rate once the step has come.
    double RateAt(double t) const;
    // Whether beat `beat` is a premature ventricular beat (never two in a row).
    bool IsEctopic(uint64_t beat) const;
    // The R peaks of this subject from time 0 up to `end` seconds (a fresh walk; the ground
    // truth for beat detection). The pulse waves' feet follow each by kPulseDelaySec.
    std::vector<double> BeatTimes(double end) const;

    double EcgMillivolts() const;    // P-QRS-T, about -0.4 .. 1.3 mV
    double PulseWave() const;        // fingertip volume pulse, about 0 .. 1
    double Respiration() const;      // chest expansion, -1 (exhaled) .. 1 (inhaled)
    double HeartSound() const;       // S1 and S2 vibrations, about -1 .. 1
    double Spo2() const;             // percent
    double BodyTemperature() const;  // degrees Celsius
    double SkinTemperature() const;  // degrees Celsius
    double SkinResistance() const;   // kilo-ohms, with slow responses every half minute or so
    // Rectified surface EMG at sample `index` (1000 samples/s), 0 .. about 1600, with contraction
    // bursts every few seconds and now and then an artefact spike above 2048.
    int EmgSample(uint64_t index) const;
    // Gastric slow wave (about 3 per minute) or intestinal rhythm (about 11 per minute) at one of
    // two electrode sites; 10-bit values around 512.
    int GastroSample(bool bIntestinal, int lead) const;

private:
    double RrOfBeat(uint64_t beat, double start) const;
    double BreathPhase() const;
    double Noise(uint64_t key) const;
    double Artefacts(double scale) const;
    double Motion() const;

    uint64_t m_nSeed;
    CSubjectTraits m_traits;
    CSimConditions m_conditions;
    double m_fTime = 0;
    double m_fBeatStart = 0;
    double m_fRr = 0.8;
    double m_fPrevRr = 0.8;
    uint64_t m_nBeat = 0;
};

}  // namespace somatrix
