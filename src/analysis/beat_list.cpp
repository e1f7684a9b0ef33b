#include "analysis/beat_list.h"

#include <algorithm>
#include <cmath>

namespace somatrix {

void CBeatList::Detect(const uint16_t* samples, uint32_t count, double rate, EBeatSource source) {
    m_pSamples = samples;
    m_nCount = samples ? count : 0;
    m_fRate = rate > 0 ? rate : 200;
    m_eSource = source;
    m_beats = DetectBeats(samples, m_nCount, m_fRate, source);
    m_bEdited = false;
}

void CBeatList::Set(std::vector<int64_t> beats, const uint16_t* samples, uint32_t count,
                    double rate, EBeatSource source) {
    m_pSamples = samples;
    m_nCount = samples ? count : 0;
    m_fRate = rate > 0 ? rate : 200;
    m_eSource = source;
    std::sort(beats.begin(), beats.end());
    beats.erase(std::unique(beats.begin(), beats.end()), beats.end());
    m_beats = std::move(beats);
    m_bEdited = false;
}

void CBeatList::Clear() {
    m_beats.clear();
    m_pSamples = nullptr;
    m_nCount = 0;
    m_bEdited = false;
}

int64_t CBeatList::Snap(int64_t sample) const {
    if (!m_pSamples || m_nCount == 0) {
        return sample;
    }
    const auto last = static_cast<int64_t>(m_nCount) - 1;
    const int64_t reach = std::max<int64_t>(1, std::llround(0.06 * m_fRate));
    const int64_t d = std::max<int64_t>(1, std::llround(0.04 * m_fRate));
    auto at = [&](int64_t i) {
        return static_cast<double>(m_pSamples[std::clamp<int64_t>(i, 0, last)]);
    };
    int64_t best = std::clamp<int64_t>(sample, 0, last);
    double bestScore = -1;
    for (int64_t i = std::max<int64_t>(0, sample - reach); i <= std::min(last, sample + reach);
         ++i) {
        // The same fiducial points as the detector's.
        const double score = m_eSource == EBeatSource::Ecg
                                 ? std::abs(at(i) - 0.5 * (at(i - d) + at(i + d)))
                                 : at(i + d / 2 + 1) - at(i - d / 2 - 1);
        if (score > bestScore) {
            bestScore = score;
            best = i;
        }
    }
    return best;
}

int CBeatList::Toggle(int64_t sample, int64_t tolerance) {
    auto it = std::lower_bound(m_beats.begin(), m_beats.end(), sample);
    auto nearest = m_beats.end();
    if (it != m_beats.end()) {
        nearest = it;
    }
    if (it != m_beats.begin() &&
        (nearest == m_beats.end() || sample - *(it - 1) < *nearest - sample)) {
        nearest = it - 1;
    }
    m_bEdited = true;
    if (nearest != m_beats.end() && std::abs(*nearest - sample) <= tolerance) {
        m_beats.erase(nearest);
        return -1;
    }
    const int64_t beat = Snap(sample);
    auto at = std::lower_bound(m_beats.begin(), m_beats.end(), beat);
    if (at == m_beats.end() || *at != beat) {
        m_beats.insert(at, beat);
    }
    return 1;
}

void CBeatList::Cut(int64_t start, int64_t end) {
    if (end <= start) {
        return;
    }
    std::vector<int64_t> kept;
    kept.reserve(m_beats.size());
    for (int64_t b : m_beats) {
        if (b < start) {
            kept.push_back(b);
        } else if (b >= end) {
            kept.push_back(b - (end - start));
        }
    }
    m_beats = std::move(kept);
}

std::pair<size_t, size_t> CBeatList::Within(int64_t from, int64_t to) const {
    const auto first = std::lower_bound(m_beats.begin(), m_beats.end(), from) - m_beats.begin();
    const auto last = std::lower_bound(m_beats.begin(), m_beats.end(), to) - m_beats.begin();
    return {static_cast<size_t>(first), static_cast<size_t>(std::max(first, last))};
}

std::vector<double> CBeatList::Times() const {
    std::vector<double> t;
    t.reserve(m_beats.size());
    for (int64_t b : m_beats) {
        t.push_back(static_cast<double>(b) / m_fRate);
    }
    return t;
}

}  // namespace somatrix
