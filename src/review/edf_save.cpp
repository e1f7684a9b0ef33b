#include "review/edf_save.h"

#include <edflib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "recording/edf_annotations.h"
#include "recording/edf_start_time.h"
#include "recording/recording_signals.h"
#include "review/file_replace.h"

namespace somatrix {

namespace {

struct CSavedSignal {
    std::string m_strLabel;
    std::string m_strUnit;
    uint32_t m_nRate = 1;
    double m_fScale = 1.0;
    double m_fOffset = 0.0;
    const uint16_t* m_pSamples = nullptr;
    uint32_t m_nFirst = 0;
    uint32_t m_nLast = 0;
    const std::vector<CSampleGap>* m_pGaps = nullptr;
};

bool InGap(const std::vector<CSampleGap>* gaps, uint32_t i, size_t& cursor) {
    if (gaps == nullptr) {
        return false;
    }
    while (cursor < gaps->size() && (*gaps)[cursor].m_nEnd <= i) {
        ++cursor;
    }
    return cursor < gaps->size() && (*gaps)[cursor].m_nStart <= i;
}

std::string Ascii(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        out += (u >= 0x20 && u < 0x7F) ? c : '_';
    }
    return out;
}

bool WriteFile(const std::string& path, const std::vector<CSavedSignal>& signals,
               int64_t startSeconds, double startFraction,
               const std::vector<CAnnotation>& annotations, long long records, std::string& error) {
    const int h = edfopen_file_writeonly(path.c_str(), EDFLIB_FILETYPE_EDFPLUS,
                                         static_cast<int>(signals.size()));
    if (h < 0) {
        error = "cannot create " + path;
        return false;
    }
    edf_set_number_of_annotation_signals(h, AnnotationSignalsFor(annotations.size(), records));
    for (size_t k = 0; k < signals.size(); ++k) {
        const CSavedSignal& s = signals[k];
        const int i = static_cast<int>(k);
        // Display value v is digital v - 32767; the digital minimum stays "no data".
        edf_set_samplefrequency(h, i, static_cast<int>(s.m_nRate));
        edf_set_digital_minimum(h, i, kNoData);
        edf_set_digital_maximum(h, i, kMaxValue - kDigitalShift);
        edf_set_physical_minimum(h, i, s.m_fOffset - s.m_fScale);
        edf_set_physical_maximum(h, i, s.m_fOffset + s.m_fScale * kMaxValue);
        edf_set_label(h, i, Ascii(s.m_strLabel).c_str());
        edf_set_physical_dimension(h, i, Ascii(s.m_strUnit).c_str());
    }
    SetEdfStartTime(h, startSeconds, static_cast<int>(std::llround(startFraction * 1000.0)));
    edf_set_equipment(h, "Somatrix");
    std::vector<int16_t> buffer;
    std::vector<size_t> cursors(signals.size(), 0);
    bool ok = true;
    for (long long r = 0; r < records && ok; ++r) {
        for (size_t k = 0; k < signals.size() && ok; ++k) {
            const CSavedSignal& s = signals[k];
            buffer.assign(s.m_nRate, static_cast<int16_t>(kNoData));
            for (uint32_t j = 0; j < s.m_nRate; ++j) {
                const uint64_t i = s.m_nFirst + static_cast<uint64_t>(r) * s.m_nRate + j;
                if (i < s.m_nLast && !InGap(s.m_pGaps, static_cast<uint32_t>(i), cursors[k])) {
                    buffer[j] = static_cast<int16_t>(std::min<int>(s.m_pSamples[i], kMaxValue) -
                                                     kDigitalShift);
                }
            }
            ok = edfwrite_digital_short_samples(h, buffer.data()) == 0;
        }
    }
    if (edfclose_file(h) != 0 || !ok) {
        error = "cannot write " + path;
        return false;
    }
    return PlaceAnnotations(path, annotations, error);
}

}  // namespace

bool SaveEdfFile(const std::string& path, const CReviewSource& source, uint32_t first,
                 uint32_t last, std::string& error) {
    last = std::min(last, source.SampleCount());
    first = std::min(first, last);
    const double from = source.SampleSeconds(first) - source.SampleSeconds(0);
    const double seconds = static_cast<double>(last - first) / source.SampleRate();
    std::vector<CSavedSignal> signals;
    if (source.Format() == ESourceFormat::kEdf) {
        for (size_t k = 0; k < source.Signals().size(); ++k) {
            const CSourceSignal& in = source.Signals()[k];
            CSavedSignal s{in.m_strLabel,
                           in.m_strUnit,
                           std::max<uint32_t>(in.m_nRate, 1),
                           in.m_fScale,
                           in.m_fOffset,
                           in.m_samples.data(),
                           0,
                           0,
                           &in.m_gaps};
            const auto n = static_cast<uint32_t>(in.m_samples.size());
            if (k == source.SelectedSignal()) {
                s.m_nFirst = first;
                s.m_nLast = last;
            } else {
                s.m_nFirst =
                    std::min<uint32_t>(n, static_cast<uint32_t>(std::llround(from * s.m_nRate)));
                s.m_nLast = std::min<uint32_t>(
                    n, static_cast<uint32_t>(std::llround((from + seconds) * s.m_nRate)));
            }
            signals.push_back(s);
        }
    } else {
        signals.push_back(
            {"EEG", "", source.SampleRate(), 1.0, 0.0, source.Samples(), first, last, nullptr});
    }
    const auto records = std::max<long long>(1, static_cast<long long>(std::ceil(seconds - 1e-9)));
    std::vector<CAnnotation> annotations;
    for (CAnnotation a : source.Annotations()) {
        if (a.m_fOnset >= from && a.m_fOnset < from + std::max(seconds, 1e-9)) {
            a.m_fOnset -= from;
            annotations.push_back(std::move(a));
        }
    }
    // The stretch starts at the time of its first sample.
    const double start = static_cast<double>(source.StartSeconds()) + source.StartFraction() +
                         (source.Format() == ESourceFormat::kEdf
                              ? from
                              : static_cast<double>(source.FormatSampleTime(first, nullptr)) -
                                    static_cast<double>(source.StartSeconds()));
    const double whole = std::floor(start);
    const std::string temporary = path + ".part";
    if (!WriteFile(temporary, signals, static_cast<int64_t>(whole), start - whole, annotations,
                   records, error)) {
        std::remove(temporary.c_str());
        return false;
    }
    return ReplaceWithTemporary(temporary, path, error);
}

}  // namespace somatrix
