#include "review/review_source.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <utility>

namespace somatrix {

namespace {

const std::vector<CSampleGap> kNoGaps;

bool LocalTime(int64_t seconds, std::tm& local) {
    const auto when = static_cast<std::time_t>(seconds);
#ifdef _WIN32
    return localtime_s(&local, &when) == 0;
#else
    return localtime_r(&when, &local) != nullptr;
#endif
}

// Removes [start, end) from a gap list and moves later gaps up by the removed count.
void CutGaps(std::vector<CSampleGap>& gaps, uint32_t start, uint32_t end) {
    const uint32_t removed = end - start;
    std::vector<CSampleGap> kept;
    for (CSampleGap g : gaps) {
        const auto map = [&](uint32_t i) {
            return i <= start ? i : (i >= end ? i - removed : start);
        };
        g = {map(g.m_nStart), map(g.m_nEnd)};
        if (g.m_nStart >= g.m_nEnd) {
            continue;
        }
        if (!kept.empty() && kept.back().m_nEnd >= g.m_nStart) {
            kept.back().m_nEnd = std::max(kept.back().m_nEnd, g.m_nEnd);
        } else {
            kept.push_back(g);
        }
    }
    gaps.swap(kept);
}

}  // namespace

void CReviewSource::Clear() {
    m_nFormat = ESourceFormat::kNone;
    m_recording.Clear();
    m_signals.clear();
    m_nSelected = 0;
    m_nStartSeconds = 0;
    m_fStartFraction = 0.0;
    m_annotations.clear();
}

void CReviewSource::AdoptReviewRecording() {
    m_nFormat = ESourceFormat::kReview;
    m_signals.clear();
    m_nSelected = 0;
    m_annotations.clear();
}

void CReviewSource::SetEdf(std::vector<CSourceSignal> channels, int64_t startSeconds,
                           double startFraction, std::vector<CAnnotation> annotations) {
    m_recording.Clear();
    m_nFormat = ESourceFormat::kEdf;
    m_signals = std::move(channels);
    m_nSelected = 0;
    m_nStartSeconds = startSeconds;
    m_fStartFraction = startFraction;
    m_annotations = std::move(annotations);
    std::stable_sort(
        m_annotations.begin(), m_annotations.end(),
        [](const CAnnotation& a, const CAnnotation& b) { return a.m_fOnset < b.m_fOnset; });
}

CPyramidSeed CReviewSource::TakePyramidSeed() {
    if (m_nFormat == ESourceFormat::kEdf) {
        return m_nSelected < m_signals.size() ? std::exchange(m_signals[m_nSelected].m_seed, {})
                                              : CPyramidSeed{};
    }
    return m_recording.TakePyramidSeed();
}

const uint16_t* CReviewSource::Samples() const {
    if (m_nFormat == ESourceFormat::kEdf && m_nSelected < m_signals.size()) {
        return m_signals[m_nSelected].m_samples.data();
    }
    return m_recording.Samples();
}

uint32_t CReviewSource::SampleCount() const {
    if (m_nFormat == ESourceFormat::kEdf) {
        return m_nSelected < m_signals.size()
                   ? static_cast<uint32_t>(m_signals[m_nSelected].m_samples.size())
                   : 0;
    }
    return m_recording.SampleCount();
}

uint32_t CReviewSource::SampleRate() const {
    if (m_nFormat == ESourceFormat::kEdf && m_nSelected < m_signals.size()) {
        return std::max<uint32_t>(m_signals[m_nSelected].m_nRate, 1);
    }
    return CReviewRecording::kSampleRate;
}

const std::vector<CSampleGap>& CReviewSource::Gaps() const {
    if (m_nFormat == ESourceFormat::kEdf && m_nSelected < m_signals.size()) {
        return m_signals[m_nSelected].m_gaps;
    }
    return kNoGaps;
}

double CReviewSource::Physical(uint16_t value) const {
    if (m_nFormat == ESourceFormat::kEdf && m_nSelected < m_signals.size()) {
        const CSourceSignal& s = m_signals[m_nSelected];
        return s.m_fOffset + s.m_fScale * value;
    }
    return value;
}

std::string CReviewSource::Unit() const {
    if (m_nFormat == ESourceFormat::kEdf && m_nSelected < m_signals.size()) {
        return m_signals[m_nSelected].m_strUnit;
    }
    return {};
}

size_t CReviewSource::SignalCount() const {
    switch (m_nFormat) {
        case ESourceFormat::kEdf:
            return m_signals.size();
        case ESourceFormat::kReview:
            return 1;
        case ESourceFormat::kNone:
            break;
    }
    return 0;
}

std::string CReviewSource::SignalLabel(size_t k) const {
    if (m_nFormat == ESourceFormat::kEdf) {
        return k < m_signals.size() ? m_signals[k].m_strLabel : std::string();
    }
    return k == 0 && m_nFormat == ESourceFormat::kReview ? "EEG" : "";
}

void CReviewSource::SelectSignal(size_t k) {
    if (m_nFormat == ESourceFormat::kEdf && k < m_signals.size()) {
        m_nSelected = k;
    }
}

int64_t CReviewSource::StartSeconds() const {
    if (m_nFormat == ESourceFormat::kEdf) {
        return m_nStartSeconds;
    }
    return m_recording.SegmentCount() > 0 ? m_recording.SegmentTime()[0] : 0;
}

uint32_t CReviewSource::FormatSampleTime(uint32_t s, std::string* text) const {
    if (m_nFormat != ESourceFormat::kEdf) {
        return m_recording.FormatSampleTime(s, text);
    }
    if (text != nullptr) {
        text->clear();
    }
    // Whole and thousandths of seconds from the start, in integers so that sample k of a whole
    // rate lands exactly on its millisecond.
    const uint64_t rate = SampleRate();
    const auto fractionMs = static_cast<uint64_t>(std::llround(m_fStartFraction * 1000.0));
    const uint64_t ms = fractionMs + uint64_t{s} * 1000 / rate;
    const int64_t t = m_nStartSeconds + static_cast<int64_t>(ms / 1000);
    std::tm local{};
    if (text != nullptr && LocalTime(t, local)) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%04d.%02d.%02d %02d:%02d:%02d.%03u",
                      local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec, static_cast<unsigned>(ms % 1000));
        *text = buffer;
    }
    return static_cast<uint32_t>(t);
}

double CReviewSource::SampleSeconds(uint32_t s) const {
    if (m_nFormat == ESourceFormat::kReview && m_recording.SegmentCount() > 0) {
        // Segment time plus the position in the segment, from the first segment's time.
        const auto& starts = m_recording.SegmentStart();
        const auto& times = m_recording.SegmentTime();
        const size_t k =
            static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), s) - starts.begin());
        if (k > 0) {
            return static_cast<double>(times[k - 1]) - times[0] +
                   static_cast<double>(s - starts[k - 1]) / CReviewRecording::kSampleRate;
        }
    }
    return static_cast<double>(s) / SampleRate();
}

uint32_t CReviewSource::SampleAt(double seconds) const {
    if (!(seconds > 0)) {
        return 0;
    }
    const double index = std::ceil(seconds * SampleRate() - 1e-6);
    return static_cast<uint32_t>(std::min(index, static_cast<double>(SampleCount())));
}

size_t CReviewSource::AddAnnotation(CAnnotation annotation) {
    const auto at =
        std::upper_bound(m_annotations.begin(), m_annotations.end(), annotation.m_fOnset,
                         [](double onset, const CAnnotation& a) { return onset < a.m_fOnset; });
    const auto index = static_cast<size_t>(at - m_annotations.begin());
    m_annotations.insert(at, std::move(annotation));
    return index;
}

void CReviewSource::RenameAnnotation(size_t k, const std::string& text) {
    if (k < m_annotations.size()) {
        m_annotations[k].m_strText = text;
    }
}

void CReviewSource::RemoveAnnotation(size_t k) {
    if (k < m_annotations.size()) {
        m_annotations.erase(m_annotations.begin() + static_cast<std::ptrdiff_t>(k));
    }
}

void CReviewSource::CutSamples(uint32_t start, uint32_t end) {
    if (start > end) {
        std::swap(start, end);
    }
    end = std::min(end, SampleCount());
    start = std::min(start, end);
    if (start == end) {
        return;
    }
    const double from = static_cast<double>(start) / SampleRate();
    const double to = static_cast<double>(end) / SampleRate();
    if (m_nFormat == ESourceFormat::kReview) {
        m_recording.CutSamples(start, end);
    } else if (m_nFormat == ESourceFormat::kEdf) {
        for (size_t k = 0; k < m_signals.size(); ++k) {
            CSourceSignal& signal = m_signals[k];
            signal.m_seed = {};
            const auto n = static_cast<uint32_t>(signal.m_samples.size());
            const uint32_t a =
                k == m_nSelected
                    ? start
                    : std::min(n, static_cast<uint32_t>(std::llround(from * signal.m_nRate)));
            const uint32_t b =
                k == m_nSelected
                    ? end
                    : std::min(n, static_cast<uint32_t>(std::llround(to * signal.m_nRate)));
            if (a >= b) {
                continue;
            }
            signal.m_samples.erase(signal.m_samples.begin() + a, signal.m_samples.begin() + b);
            CutGaps(signal.m_gaps, a, b);
        }
    }
    const double span = to - from;
    std::vector<CAnnotation> kept;
    for (CAnnotation a : m_annotations) {
        if (a.m_fOnset >= from && a.m_fOnset < to) {
            continue;
        }
        if (a.m_fOnset >= to) {
            a.m_fOnset -= span;
        }
        kept.push_back(std::move(a));
    }
    m_annotations.swap(kept);
}

void CReviewSource::ToReviewRecording(uint32_t first, uint32_t last, CReviewRecording& out) const {
    out.Clear();
    last = std::min(last, SampleCount());
    first = std::min(first, last);
    out.AddSegment(0, FormatSampleTime(first, nullptr));
    CSampleArray samples;
    samples.assign(Samples() + first, Samples() + last);
    out.AdoptSamples(std::move(samples));
}

}  // namespace somatrix
