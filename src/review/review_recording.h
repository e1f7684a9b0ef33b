#pragma once
// The review recording: every sample of one opened review file, concatenated in file order, and
// the table of time-stamped segments. Owned by the review display (or a command-line tool) and
// used on one thread; the wave window and the overview read the samples through a pointer and a
// count that they are handed again after every change.
#include <cstdint>
#include <string>
#include <vector>

namespace somatrix {

class CReviewRecording {
public:
    static constexpr uint32_t kSampleRate = 200;

    // Empties samples and segment table.
    void Clear();
    // Appends a segment that starts at sample `start` with time stamp `time`; a time of 0 adds
    // nothing (its samples count under the segment before).
    void AddSegment(uint32_t start, uint32_t time);
    // Appends `count` little-endian 16-bit samples read from `bytes`.
    void AppendSamples(const uint8_t* bytes, uint32_t count);
    // Removes the samples [start, end) and keeps the time of every remaining sample.
    void CutSamples(uint32_t start, uint32_t end);
    // The time stamp of sample `s` (0 with an empty segment table); when `text` is given, the
    // local time as "%04d.%02d.%02d %02d:%02d:%02d.%03d" (left empty with no segment).
    uint32_t FormatSampleTime(uint32_t s, std::string* text) const;

    const uint16_t* Samples() const { return m_samples.data(); }
    uint32_t SampleCount() const { return static_cast<uint32_t>(m_samples.size()); }
    uint32_t SampleRate() const { return kSampleRate; }
    const std::vector<uint32_t>& SegmentStart() const { return m_segmentStart; }
    const std::vector<uint32_t>& SegmentTime() const { return m_segmentTime; }
    uint32_t SegmentCount() const { return static_cast<uint32_t>(m_segmentStart.size()); }

    // Room for `samples` more samples, so that a load appends without reallocating.
    void Reserve(size_t samples) { m_samples.reserve(samples); }

private:
    std::vector<uint16_t> m_samples;
    std::vector<uint32_t> m_segmentStart;
    std::vector<uint32_t> m_segmentTime;
};

}  // namespace somatrix
