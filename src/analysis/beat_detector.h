#pragma once
// Beat detection in ECG and pulse waves, one sample at a time.
//
// ECG: a QRS detector after Pan and Tompkins: a 5-15 Hz band-pass, a five-point derivative,
// squaring and a 150 ms moving-window integral; the integral's peaks are sorted into QRS and
// noise by two adaptive thresholds that follow the running signal and noise peak levels, with a
// 200 ms refractory period, a slope test that rejects T waves within 360 ms of a QRS, and a
// search back for a missed beat once no QRS has come for 166 % of the average RR interval.
// Pulse waves: the slope-sum function (the rising slopes of the low-passed wave summed over
// 128 ms) feeds the same peak classifier; the fiducial point is the steepest upstroke just after
// the foot.
//
// All times scale with the sample rate. The first two seconds teach the thresholds; the beats
// found in them are reported when they end. The same object serves the live panel and whole
// recordings, so both give the same beats for the same samples.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/biquad.h"

namespace somatrix {

enum class EBeatSource { Ecg, Pulse };  // ECG: QRS detector; Pulse: pulse / infrared pulse waves

class CBeatDetector {
public:
    CBeatDetector(EBeatSource source, double sampleRate);

    // Feeds the next sample. Returns true when a beat is confirmed; *beatSample is the index
    // (counted from the first sample fed) of the beat's fiducial point (R peak / pulse upstroke),
    // which lies in the past by the detector's delay.
    bool AddSample(double value, int64_t* beatSample);
    // The end of the samples: classifies what is still pending (a recording shorter than the
    // learning period, the beats waiting to be reported) and appends those beats to `beats`.
    void Finish(std::vector<int64_t>& beats);
    void Reset();

    EBeatSource Source() const { return m_eSource; }
    double SampleRate() const { return m_fRate; }

private:
    struct CPeak {
        int64_t m_nIndex = 0;  // where the feature peaked
        double m_fHeight = 0;  // the feature's value there
        double m_fSlope = 0;   // steepest slope within the peak (T-wave test)
    };

    void Start(double value);
    double Feature(double value, double* slope);
    void TrackPeak(double feature, double slope);
    void OnPeak(const CPeak& peak);
    void UpdateSearchLimit();
    bool TooEarly(int64_t since) const;
    void AddNoisePeak(const CPeak& peak);
    int64_t FindFiducial(int64_t peakIndex) const;
    void Learn(int64_t samplesSeen);
    void Classify(const CPeak& peak);
    void AcceptBeat(const CPeak& peak, bool bSearchBack);
    void SearchBack();
    void Relearn();
    double Threshold() const { return m_fNoiseLevel + 0.25 * (m_fSignalLevel - m_fNoiseLevel); }
    double Raw(int64_t index) const { return m_raw[static_cast<size_t>(index) & m_nRawMask]; }

    EBeatSource m_eSource;
    double m_fRate;
    // Durations in samples.
    int64_t m_nLearn = 0, m_nRefractory = 0, m_nTWave = 0, m_nWindow = 0, m_nFiducialBack = 0,
            m_nSlopeSpan = 0, m_nLost = 0, m_nMaxPeakLag = 0, m_nDerivativeStep = 1;

    // Front end.
    CBiquad m_highPass, m_lowPass;
    std::vector<double> m_history;  // filtered values for the derivative
    size_t m_nHistoryMask = 0;
    std::vector<double> m_window;  // the moving window's terms
    size_t m_nWindowAt = 0;
    double m_fWindowSum = 0;
    double m_fWindowScale = 1;  // the window's mean, without a division per sample
    std::vector<double> m_raw;  // the input, for the fiducial point
    size_t m_nRawMask = 0;
    int64_t m_nIndex = 0;

    // Peak tracking on the feature.
    bool m_bInPeak = false;
    CPeak m_candidate;
    double m_fPrevFeature = 0;

    // Learning period.
    bool m_bLearned = false;
    double m_fLearnMax = 0;
    double m_fLearnSum = 0;
    std::vector<CPeak> m_learnPeaks;

    // Classifier state.
    double m_fSignalLevel = 0, m_fNoiseLevel = 0;
    bool m_bHaveBeat = false;
    int64_t m_nLastBeatPeak = 0;  // feature index of the last QRS
    double m_fLastBeatSlope = 0;
    std::vector<int64_t> m_recentRr;  // last eight RR intervals in samples
    size_t m_nRrAt = 0;
    std::vector<CPeak> m_noisePeaks;  // noise peaks since the last beat, for the search back
    int64_t m_nSearchLimit = 0;       // 166 % of the average RR interval
    int64_t m_nAverageRr = 0;         // 0 until there is one
    bool m_bSearched = false;         // searched back since the last new peak
    int64_t m_nLostSince = 0;         // the last beat or the last relearning
    int64_t m_nLastFiducial = -1;

    std::vector<int64_t> m_pending;  // confirmed beats not yet reported
    size_t m_nPendingAt = 0;
};

// Whole-file detection: runs the streaming detector over samples [0, count) -> beat sample indices.
template <typename T>
std::vector<int64_t> DetectBeats(const T* samples, size_t count, double sampleRate,
                                 EBeatSource source) {
    CBeatDetector detector(source, sampleRate);
    std::vector<int64_t> beats;
    int64_t beat = 0;
    for (size_t i = 0; i < count; ++i) {
        if (detector.AddSample(static_cast<double>(samples[i]), &beat)) {
            beats.push_back(beat);
        }
    }
    detector.Finish(beats);
    return beats;
}

}  // namespace somatrix
