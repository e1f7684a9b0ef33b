#pragma once
// The rate a sensor delivers, measured from the arrival times of its samples: a least-squares
// line through (arrival time, samples so far) of every batch that arrived together, so that
// samples handed over in bursts (a USB transfer, a frame of 24 samples) still give their true
// rate. Framework-free; the recorder owns one for its first seconds.
#include <cstdint>
#include <vector>

namespace somatrix {

class CRateEstimate {
public:
    // `count` samples arrived at `ns` (nanoseconds, any monotonic origin).
    void Add(int64_t ns, uint32_t count = 1);
    // Samples per second rounded to a whole number (at least 1), or to a multiple of ten within
    // a quarter of a percent; 0 when nothing arrived.
    uint32_t Rate() const;
    // Nanoseconds from the first arrival to the last.
    int64_t SpanNs() const;
    uint64_t Samples() const { return m_nSamples; }
    void Clear();

private:
    struct CBatch {
        int64_t m_nNs = 0;
        uint64_t m_nTotal = 0;  // samples that had arrived once this batch was in
    };
    std::vector<CBatch> m_batches;
    uint64_t m_nSamples = 0;
};

}  // namespace somatrix
