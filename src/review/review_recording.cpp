#include "review/review_recording.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <limits>
#include <new>

namespace somatrix {

void CReviewRecording::Clear() {
    CSampleArray().swap(m_samples);
    std::vector<uint32_t>().swap(m_segmentStart);
    std::vector<uint32_t>().swap(m_segmentTime);
    m_seed = {};
}

void CReviewRecording::GrowAndAddSegment(uint32_t start, uint32_t time) {
    // push_back grows geometrically and leaves the vector as it was when it throws.
    try {
        m_segmentStart.push_back(start);
    } catch (const std::bad_alloc&) {
        return;  // the table stays as it was
    }
    try {
        m_segmentTime.push_back(time);
    } catch (const std::bad_alloc&) {
        m_segmentStart.pop_back();
    }
}

void CReviewRecording::ReserveSegments(size_t segments) {
    try {
        m_segmentStart.reserve(m_segmentStart.size() + segments);
        m_segmentTime.reserve(m_segmentTime.size() + segments);
    } catch (const std::bad_alloc&) {
        // The table then grows as entries come.
    }
}

void CReviewRecording::TrimSegments() {
    if (m_segmentStart.size() < m_segmentStart.capacity() / 2) {
        try {
            m_segmentStart.shrink_to_fit();
            m_segmentTime.shrink_to_fit();
        } catch (const std::bad_alloc&) {
        }
    }
}

void CReviewRecording::AppendSamples(const uint8_t* bytes, uint32_t count) {
    m_seed = {};
    if (bytes == nullptr || count == 0 ||
        count > std::numeric_limits<uint32_t>::max() - m_samples.size()) {
        return;
    }
    const size_t old = m_samples.size();
    try {
        if (m_samples.capacity() < old + count) {
            // Grow geometrically: appending segment after segment stays linear.
            m_samples.reserve(std::max<size_t>(old + count, old + old / 2));
        }
        m_samples.resize(old + count);
    } catch (const std::bad_alloc&) {
        return;  // the recording keeps what it had
    }
    uint16_t* out = m_samples.data() + old;
    for (uint32_t i = 0; i < count; ++i) {
        out[i] = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
}

void CReviewRecording::CutSamples(uint32_t start, uint32_t end) {
    m_seed = {};
    const uint32_t count = SampleCount();
    if (start > end) {
        std::swap(start, end);
    }
    start = std::min(start, count);
    end = std::min(end, count);
    if (count == 0 || start == end) {
        return;
    }
    const uint32_t removed = end - start;

    // The segment that holds the first sample after the cut: the last one starting at or before
    // `end`. Its samples after the cut restart at `start`, later by the whole seconds between
    // its start and `end`.
    std::vector<uint32_t> newStart, newTime;
    newStart.reserve(m_segmentStart.size() + 1);
    newTime.reserve(m_segmentTime.size() + 1);
    const size_t n = m_segmentStart.size();
    const size_t holder =
        static_cast<size_t>(std::upper_bound(m_segmentStart.begin(), m_segmentStart.end(), end) -
                            m_segmentStart.begin());  // one past the holder; 0 when there is none
    for (size_t k = 0; k < n && m_segmentStart[k] < start; ++k) {
        newStart.push_back(m_segmentStart[k]);
        newTime.push_back(m_segmentTime[k]);
    }
    if (end < count && holder > 0) {
        const size_t h = holder - 1;
        const uint32_t into = end - m_segmentStart[h];
        newStart.push_back(start);
        newTime.push_back(m_segmentTime[h] + into / kSampleRate);
        // The restart carries only whole seconds. From the next whole second of the holder on,
        // a second marker gives the samples their recorded time again, so at most the samples
        // of one second read early.
        const uint64_t boundary =
            uint64_t{m_segmentStart[h]} + (uint64_t{into} / kSampleRate + 1) * kSampleRate;
        const uint64_t holderEnd = holder < n ? m_segmentStart[holder] : count;
        if (into % kSampleRate != 0 && boundary < holderEnd && boundary < count) {
            newStart.push_back(static_cast<uint32_t>(boundary) - removed);
            newTime.push_back(m_segmentTime[h] + into / kSampleRate + 1);
        }
    }
    for (size_t k = holder; k < n && end < count; ++k) {
        newStart.push_back(m_segmentStart[k] - removed);
        newTime.push_back(m_segmentTime[k]);
    }

    std::copy(m_samples.begin() + end, m_samples.end(), m_samples.begin() + start);
    m_samples.resize(count - removed);
    m_segmentStart.swap(newStart);
    m_segmentTime.swap(newTime);
}

uint32_t CReviewRecording::FormatSampleTime(uint32_t s, std::string* text) const {
    if (text != nullptr) {
        text->clear();
    }
    if (m_segmentStart.empty() || s < m_segmentStart.front()) {
        return 0;
    }
    const size_t k =
        static_cast<size_t>(std::upper_bound(m_segmentStart.begin(), m_segmentStart.end(), s) -
                            m_segmentStart.begin() - 1);
    const uint32_t d = s - m_segmentStart[k];
    const uint32_t t = m_segmentTime[k] + d / kSampleRate;
    if (text != nullptr) {
        const uint32_t ms = (d % kSampleRate) * 1000 / kSampleRate;
        const std::time_t when = static_cast<std::time_t>(t);
        std::tm local{};
#ifdef _WIN32
        const bool ok = localtime_s(&local, &when) == 0;
#else
        const bool ok = localtime_r(&when, &local) != nullptr;
#endif
        if (ok) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%04d.%02d.%02d %02d:%02d:%02d.%03u",
                          local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min, local.tm_sec, static_cast<unsigned>(ms));
            *text = buffer;
        }
    }
    return t;
}

}  // namespace somatrix
