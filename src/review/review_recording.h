#pragma once
// The review recording: every sample of one opened review file, concatenated in file order, and
// the table of time-stamped segments. Owned by the review display (or a command-line tool) and
// used on one thread; the wave window and the overview read the samples through a pointer and a
// count that they are handed again after every change.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "review/min_max_pyramid.h"
#include "review/review_sample_array.h"

namespace somatrix {

class CReviewRecording {
public:
    static constexpr uint32_t kSampleRate = 200;

    // Empties samples and segment table.
    void Clear();
    // Appends a segment that starts at sample `start` with time stamp `time`; a time of 0 adds
    // nothing (its samples count under the segment before).
    void AddSegment(uint32_t start, uint32_t time) {
        // A load adds one entry a second of recording: the common case stays inline.
        if (time != 0 && m_segmentStart.size() < m_segmentStart.capacity() &&
            m_segmentTime.size() < m_segmentTime.capacity()) {
            m_segmentStart.push_back(start);
            m_segmentTime.push_back(time);
        } else if (time != 0) {
            GrowAndAddSegment(start, time);
        }
    }
    // Appends `count` little-endian 16-bit samples read from `bytes`. Nothing happens for null
    // bytes, a count of 0, or when the memory or the 32-bit count would run out.
    void AppendSamples(const uint8_t* bytes, uint32_t count);
    // Removes the samples [start, end) and keeps the time of every remaining sample. Any pair
    // of indices is safe: they are ordered and clamped to the recording.
    void CutSamples(uint32_t start, uint32_t end);
    // The time stamp of sample `s` (0 with an empty segment table, and for samples before the
    // first segment, which have no recorded time); when `text` is given, the local time as
    // "%04d.%02d.%02d %02d:%02d:%02d.%03d", or empty where there is no time.
    uint32_t FormatSampleTime(uint32_t s, std::string* text) const;

    const uint16_t* Samples() const { return m_samples.data(); }
    uint32_t SampleCount() const { return static_cast<uint32_t>(m_samples.size()); }
    uint32_t SampleRate() const { return kSampleRate; }
    const std::vector<uint32_t>& SegmentStart() const { return m_segmentStart; }
    const std::vector<uint32_t>& SegmentTime() const { return m_segmentTime; }
    uint32_t SegmentCount() const { return static_cast<uint32_t>(m_segmentStart.size()); }

    // Room for `samples` more samples, so that a load appends without reallocating.
    void Reserve(size_t samples) { m_samples.reserve(m_samples.size() + samples); }
    // Room for `segments` more table entries (a request the memory cannot meet is ignored).
    void ReserveSegments(size_t segments);
    // Gives back table room that a load reserved and did not use.
    void TrimSegments();
    // Replaces the samples by `samples` (the loader fills an array in place); the segment table
    // is the caller's to keep consistent.
    void AdoptSamples(CSampleArray&& samples) {
        m_samples = std::move(samples);
        m_seed = {};
    }
    // The lowest pyramid levels the loader made beside its read, for the first view of these
    // samples; any change to the samples drops them. Taking them leaves none behind.
    void SetPyramidSeed(CPyramidSeed&& seed) { m_seed = std::move(seed); }
    CPyramidSeed TakePyramidSeed() { return std::exchange(m_seed, {}); }

private:
    void GrowAndAddSegment(uint32_t start, uint32_t time);

    CSampleArray m_samples;
    CPyramidSeed m_seed;
    std::vector<uint32_t> m_segmentStart;
    std::vector<uint32_t> m_segmentTime;
};

}  // namespace somatrix
