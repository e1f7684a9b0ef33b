// Beat detection scored against the simulator's true beats, and timed.
//
// Accuracy: simulated subjects (several seeds) with and without noise, baseline wander, 50 Hz
// hum, electrode motion and premature beats; a detection matches a true beat within +-75 ms;
// sensitivity = matched / true beats, positive predictivity = matched / detections. The live
// heart rate (the panel's rule) from the detected beats is compared with the same rule on the
// true beats, and after a step of rate the beats are counted until it reads the new rate.
// Timing: a whole 24-hour ECG at 250 samples/s, and the cost per sample of live detection.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/beat_detector.h"
#include "analysis/live_heart_rate.h"
#include "beat_recording.h"
#include "protocol/frame.h"

using namespace somatrix;

namespace {

constexpr double kMatchSec = 0.075;
constexpr double kEdgeSec = 0.5;  // beats this close to either end are not scored

struct CScore {
    size_t m_nTrue = 0, m_nDetected = 0, m_nMatched = 0;
    size_t m_nRateChecks = 0, m_nRateWithin = 0;
    double m_fWorstRate = 0;
    void Add(const CScore& o) {
        m_nTrue += o.m_nTrue;
        m_nDetected += o.m_nDetected;
        m_nMatched += o.m_nMatched;
        m_nRateChecks += o.m_nRateChecks;
        m_nRateWithin += o.m_nRateWithin;
        m_fWorstRate = std::max(m_fWorstRate, o.m_fWorstRate);
    }
};

std::vector<double> Detect(const CSimBeatRecording& rec, EBeatSource source) {
    const std::vector<int64_t> beats =
        DetectBeats(rec.m_samples.data(), rec.m_samples.size(), rec.m_fRate, source);
    std::vector<double> times;
    for (int64_t b : beats) {
        times.push_back(static_cast<double>(b) / rec.m_fRate);
    }
    return times;
}

// The rate the live panel would show at `t`, given beats known up to then.
class CRateAt {
public:
    explicit CRateAt(const std::vector<double>& beats) : m_beats(beats) {}
    double At(double t) {
        while (m_nNext < m_beats.size() && m_beats[m_nNext] <= t + 1e-9) {
            m_rate.OnBeat(m_beats[m_nNext++]);
        }
        return m_rate.Bpm(t);
    }

private:
    const std::vector<double>& m_beats;
    size_t m_nNext = 0;
    CLiveHeartRate m_rate;
};

CScore Score(const std::vector<double>& truth, const std::vector<double>& found, double end,
             double rateFrom, double rateTo) {
    CScore s;
    auto scored = [&](double t) { return t >= kEdgeSec && t <= end - kEdgeSec; };
    size_t j = 0;
    for (double t : truth) {
        if (!scored(t)) {
            continue;
        }
        ++s.m_nTrue;
        while (j < found.size() && found[j] < t - kMatchSec) {
            ++j;
        }
        if (j < found.size() && std::abs(found[j] - t) <= kMatchSec) {
            ++s.m_nMatched;
            ++j;
        }
    }
    for (double t : found) {
        s.m_nDetected += scored(t) ? 1 : 0;
    }
    // Detections outside the scored span that matched scored beats are counted in both.
    s.m_nDetected = std::max(s.m_nDetected, s.m_nMatched);
    CRateAt trueRate(truth), foundRate(found);
    for (double t : truth) {
        if (t < rateFrom || t > rateTo) {
            continue;
        }
        // Read just after the true beat, once the detector's beat has been placed too.
        const double at = t + kMatchSec;
        const double want = trueRate.At(at);
        const double got = foundRate.At(at);
        if (want < 0) {
            continue;
        }
        ++s.m_nRateChecks;
        const double err = got < 0 ? 999.0 : std::abs(got - want);
        s.m_fWorstRate = std::max(s.m_fWorstRate, err);
        s.m_nRateWithin += err <= 2.0 ? 1 : 0;
    }
    return s;
}

struct CCase {
    const char* m_pName;
    CSimConditions m_conditions;
};

std::vector<CCase> Cases() {
    std::vector<CCase> cases;
    cases.push_back({"clean", {}});
    CSimConditions c;
    c.m_fNoiseMv = 0.1;
    cases.push_back({"noise 0.1 mV", c});
    c = {};
    c.m_fWanderMv = 0.5;
    cases.push_back({"wander 0.5 mV", c});
    c = {};
    c.m_fHumMv = 0.2;
    cases.push_back({"hum 50 Hz 0.2 mV", c});
    c = {};
    c.m_fMotionMv = 0.5;
    cases.push_back({"motion 0.5 mV", c});
    c = {};
    c.m_fEctopicChance = 0.05;
    cases.push_back({"ectopic 5%", c});
    c.m_fNoiseMv = 0.1;
    c.m_fWanderMv = 0.5;
    c.m_fHumMv = 0.2;
    c.m_fMotionMv = 0.5;
    cases.push_back({"all together", c});
    return cases;
}

void Accuracy(int seeds, double seconds) {
    struct CSensor {
        const char* m_pName;
        uint8_t m_nType;
        EBeatSource m_eSource;
    };
    const CSensor sensors[] = {{"ECG 250/s", type::kEcg, EBeatSource::Ecg},
                               {"pulse 100/s", type::kPulse, EBeatSource::Pulse},
                               {"infrared pulse 100/s", type::kInfraredPulse, EBeatSource::Pulse},
                               {"ECG in review files 200/s", type::kEcg, EBeatSource::Ecg}};
    std::printf("Accuracy: %d subjects x %.0f s, match window +-%.0f ms\n", seeds, seconds,
                1000 * kMatchSec);
    std::printf("%-26s %-18s %7s %7s %8s %8s %9s %9s\n", "signal", "conditions", "beats", "found",
                "Se %", "+P %", "HR<=2 %", "worst HR");
    for (const CSensor& sensor : sensors) {
        const double rate =
            std::string(sensor.m_pName).find("review") != std::string::npos ? 200 : 0;
        for (const CCase& c : Cases()) {
            if (sensor.m_nType != type::kEcg && c.m_conditions.m_fHumMv > 0 &&
                c.m_conditions.m_fNoiseMv == 0) {
                continue;  // the optical sensors have no mains hum
            }
            CScore total;
            for (int seed = 1; seed <= seeds; ++seed) {
                const CSimBeatRecording rec = SimulateBeatRecording(
                    sensor.m_nType, static_cast<uint64_t>(seed), c.m_conditions, seconds, rate);
                total.Add(
                    Score(rec.m_beatsSec, Detect(rec, sensor.m_eSource), seconds, 10.0, seconds));
            }
            std::printf("%-26s %-18s %7zu %7zu %8.2f %8.2f %9.2f %9.2f\n", sensor.m_pName,
                        c.m_pName, total.m_nTrue, total.m_nDetected,
                        100.0 * static_cast<double>(total.m_nMatched) /
                            static_cast<double>(std::max<size_t>(1, total.m_nTrue)),
                        100.0 * static_cast<double>(total.m_nMatched) /
                            static_cast<double>(std::max<size_t>(1, total.m_nDetected)),
                        100.0 * static_cast<double>(total.m_nRateWithin) /
                            static_cast<double>(std::max<size_t>(1, total.m_nRateChecks)),
                        total.m_fWorstRate);
        }
    }
}

// A step from the resting rate to `bpm` at 60 s: the beats after the step until the live rate
// from the detected beats is within 2 bpm of the heart's new rate (60 / the true interval that
// ends the beat); the first beat counted is the one that begins the first short interval.
void Step(int seeds, double bpm, bool bNoisy) {
    const struct {
        const char* m_pName;
        uint8_t m_nType;
        EBeatSource m_eSource;
    } sensors[] = {{"ECG", type::kEcg, EBeatSource::Ecg},
                   {"pulse", type::kPulse, EBeatSource::Pulse},
                   {"infrared pulse", type::kInfraredPulse, EBeatSource::Pulse}};
    for (const auto& sensor : sensors) {
        int worst = 0;
        double worstAfter = 0;
        for (int seed = 1; seed <= seeds; ++seed) {
            CSimConditions c;
            c.m_fStepAtSec = 60;
            c.m_fStepBpm = bpm;
            if (bNoisy) {
                c.m_fNoiseMv = 0.1;
                c.m_fWanderMv = 0.5;
                c.m_fHumMv = 0.2;
                c.m_fMotionMv = 0.5;
            }
            const double seconds = 100;
            const CSimBeatRecording rec =
                SimulateBeatRecording(sensor.m_nType, static_cast<uint64_t>(seed), c, seconds);
            const std::vector<double> found = Detect(rec, sensor.m_eSource);
            // The heart's own rate at each true beat: 60 / the interval that beat ends.
            CRateAt foundRate(found);
            int beats = 0;
            bool bReached = false;
            for (size_t k = 1; k < rec.m_beatsSec.size(); ++k) {
                const double t = rec.m_beatsSec[k];
                if (t < 60) {
                    continue;
                }
                ++beats;
                const double target = 60.0 / (t - rec.m_beatsSec[k - 1]);
                const double r = foundRate.At(t + kMatchSec);
                if (target > bpm - 10 && r > 0 && std::abs(r - target) <= 2.0) {
                    bReached = true;
                    break;
                }
            }
            worst = std::max(worst, bReached ? beats : 999);
            // Afterwards: the largest deviation from the same rule on the true beats.
            const CScore s = Score(rec.m_beatsSec, found, seconds, 75, seconds);
            worstAfter = std::max(worstAfter, s.m_fWorstRate);
        }
        std::printf(
            "step to %.0f bpm at 60 s, %-14s %-6s: within 2 bpm after at most %d beats; "
            "later worst error %.2f bpm\n",
            bpm, sensor.m_pName, bNoisy ? "noisy" : "clean", worst, worstAfter);
    }
}

void Timing() {
    const double seconds = 24 * 3600;
    const double rate = 250;
    std::printf("\nTiming\n");
    auto t0 = std::chrono::steady_clock::now();
    const CSimBeatRecording rec = SimulateBeatRecording(type::kEcg, 3, {}, seconds, rate);
    auto t1 = std::chrono::steady_clock::now();
    std::printf("simulating 24 h of ECG: %.2f s (not part of the figure)\n",
                std::chrono::duration<double>(t1 - t0).count());
    double best = 1e9;
    size_t beats = 0;
    for (int run = 0; run < 3; ++run) {
        t0 = std::chrono::steady_clock::now();
        const std::vector<int64_t> found =
            DetectBeats(rec.m_samples.data(), rec.m_samples.size(), rate, EBeatSource::Ecg);
        t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
        beats = found.size();
    }
    std::printf(
        "beat detection on 24 h of ECG at 250/s (%zu samples, %zu beats, %zu true): "
        "%.3f s (best of 3; goal < 1 s)\n",
        rec.m_samples.size(), beats, rec.m_beatsSec.size(), best);
    const double perSample = best / static_cast<double>(rec.m_samples.size());
    std::printf("live ECG: %.1f ns per sample x 250/s = %.4f %% of a core (goal < 0.2 %%)\n",
                1e9 * perSample, 100.0 * perSample * 250);

    const CSimBeatRecording pulse = SimulateBeatRecording(type::kPulse, 3, {}, 3600, 100);
    best = 1e9;
    for (int run = 0; run < 3; ++run) {
        CBeatDetector detector(EBeatSource::Pulse, 100);
        int64_t beat = 0;
        size_t n = 0;
        t0 = std::chrono::steady_clock::now();
        for (uint16_t v : pulse.m_samples) {
            n += detector.AddSample(v, &beat) ? 1 : 0;
        }
        t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
        beats = n;
    }
    const double perPulse = best / static_cast<double>(pulse.m_samples.size());
    std::printf("live pulse: %.1f ns per sample x 100/s = %.4f %% of a core (%zu beats in 1 h)\n",
                1e9 * perPulse, 100.0 * perPulse * 100, beats);
}

}  // namespace

int main(int argc, char** argv) {
    int seeds = 8;
    double seconds = 300;
    bool bTiming = true;
    bool bAccuracy = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quick") {
            seeds = 3;
            seconds = 120;
        } else if (arg == "--no-timing") {
            bTiming = false;
        } else if (arg == "--timing") {
            bAccuracy = false;
        }
    }
    if (bAccuracy) {
        Accuracy(seeds, seconds);
        std::printf("\n");
        for (bool bNoisy : {false, true}) {
            Step(seeds, 130, bNoisy);
        }
    }
    if (bTiming) {
        Timing();
    }
    return 0;
}
