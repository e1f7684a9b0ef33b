#include "analysis/source_beats.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace somatrix {

namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

}  // namespace

std::optional<EBeatSource> BeatSourceOf(const CReviewSource& source, size_t k) {
    if (source.Format() != ESourceFormat::kEdf) {
        return EBeatSource::Ecg;
    }
    const std::string label = Lower(source.SignalLabel(k));
    if (StartsWith(label, "ecg") || StartsWith(label, "ekg") ||
        label.find("心电") != std::string::npos) {
        return EBeatSource::Ecg;
    }
    // A review file saved as EDF+ keeps its one signal's name "EEG": it is read as the review
    // file itself is.
    if (label == "eeg" && source.SignalCount() == 1) {
        return EBeatSource::Ecg;
    }
    const bool bRate = label.find("rate") != std::string::npos;
    if (!bRate && (label.find("pulse") != std::string::npos || StartsWith(label, "pleth") ||
                   StartsWith(label, "ppg") || label.find("脉搏") != std::string::npos)) {
        return EBeatSource::Pulse;
    }
    return std::nullopt;
}

std::vector<double> DetectSourceBeats(const CReviewSource& source, EBeatSource kind) {
    std::vector<double> beats;
    const uint32_t count = source.SampleCount();
    if (count == 0 || source.SampleRate() == 0) {
        return beats;
    }
    CBeatDetector detector(kind, static_cast<double>(source.SampleRate()));
    const uint16_t* samples = source.Samples();
    std::vector<int64_t> found;
    int64_t beat = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (detector.AddSample(source.Physical(samples[i]), &beat)) {
            found.push_back(beat);
        }
    }
    detector.Finish(found);
    beats.reserve(found.size());
    for (int64_t b : found) {
        beats.push_back(source.SampleSeconds(static_cast<uint32_t>(b)));
    }
    return beats;
}

std::vector<double> BeatAnnotations(const CReviewSource& source) {
    std::vector<double> beats;
    for (const CAnnotation& a : source.Annotations()) {
        if (a.m_strText == kBeatAnnotation) {
            beats.push_back(a.m_fOnset);
        }
    }
    std::sort(beats.begin(), beats.end());
    return beats;
}

std::vector<double> SourceBeats(const CReviewSource& source, bool* fromAnnotations) {
    if (fromAnnotations) {
        *fromAnnotations = false;
    }
    const std::optional<EBeatSource> kind = BeatSourceOf(source, source.SelectedSignal());
    if (!kind) {
        return {};
    }
    if (*kind == EBeatSource::Ecg) {
        std::vector<double> stored = BeatAnnotations(source);
        if (!stored.empty()) {
            if (fromAnnotations) {
                *fromAnnotations = true;
            }
            return stored;
        }
    }
    return DetectSourceBeats(source, *kind);
}

void StoreBeatAnnotations(CReviewSource& source, const std::vector<double>& beatsSec) {
    for (size_t k = source.Annotations().size(); k-- > 0;) {
        if (source.Annotations()[k].m_strText == kBeatAnnotation) {
            source.RemoveAnnotation(k);
        }
    }
    for (double t : beatsSec) {
        source.AddAnnotation({t, -1.0, kBeatAnnotation});
    }
}

}  // namespace somatrix
