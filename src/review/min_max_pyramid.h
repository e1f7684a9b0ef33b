#pragma once
// Extremes of any run of review samples in logarithmic time: blocks of 16 samples, then blocks of
// 16 blocks, and so on. Built once when the wave window receives its samples, so that a render
// costs per pixel column rather than per sample. Owned by the wave view; GUI thread only.
#include <cstdint>
#include <vector>

namespace somatrix {

struct CValueRange {
    uint16_t m_nMin = 0;
    uint16_t m_nMax = 0;
};

class CMinMaxPyramid {
public:
    static constexpr uint32_t kFanOut = 16;

    // Rebuilds the levels over `count` samples; the pointer must stay valid for later queries.
    void Build(const uint16_t* samples, uint32_t count);
    void Clear();

    // Smallest and largest sample of [first, last] (inclusive, first <= last < count).
    CValueRange Range(uint32_t first, uint32_t last) const;
    // Extremes of the whole recording ({0, 0} when empty).
    CValueRange Whole() const;

private:
    const uint16_t* m_pSamples = nullptr;
    uint32_t m_nCount = 0;
    // m_levels[k] holds one entry per block of 16^(k+1) samples (the last block may be partial).
    std::vector<std::vector<CValueRange>> m_levels;
};

}  // namespace somatrix
