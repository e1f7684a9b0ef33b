#include "review/source_beats.h"

#include <algorithm>
#include <cctype>

#include "review/review_source.h"

namespace somatrix {

EBeatSource BeatSourceOfLabel(const std::string& label) {
    std::string lower(label);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    const bool pulse =
        lower.find("pulse") != std::string::npos || lower.find("ppg") != std::string::npos ||
        lower.find("pleth") != std::string::npos || label.find("脉搏") != std::string::npos;
    return pulse ? EBeatSource::Pulse : EBeatSource::Ecg;
}

std::vector<double> SourceBeatTimes(const CReviewSource& source) {
    std::vector<double> times;
    for (const CAnnotation& annotation : source.Annotations()) {
        if (annotation.m_strText == "R") {
            times.push_back(annotation.m_fOnset);
        }
    }
    if (!times.empty()) {
        std::sort(times.begin(), times.end());
        return times;
    }
    const double rate = source.SampleRate();
    if (source.Empty() || rate <= 0.0) {
        return times;
    }
    const EBeatSource kind = BeatSourceOfLabel(source.SignalLabel(source.SelectedSignal()));
    for (const int64_t beat : DetectBeats(source.Samples(), source.SampleCount(), rate, kind)) {
        times.push_back(double(beat) / rate);
    }
    return times;
}

}  // namespace somatrix
