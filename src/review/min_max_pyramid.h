#pragma once
// Extremes of any run of review samples in logarithmic time: blocks of 16 samples, then blocks of
// 16 blocks, and so on. Built once when the wave window receives its samples, so that a render
// costs per pixel column rather than per sample. Owned by the wave view; GUI thread only.
#include <cstdint>
#include <vector>

#include "review/review_sample_array.h"

namespace somatrix {

struct CValueRange {
    uint16_t m_nMin = 0;
    uint16_t m_nMax = 0;
};

// One level of the pyramid; its entries are not zeroed on allocation.
using CRangeArray = std::vector<CValueRange, CSampleAllocator<CValueRange>>;

// The lowest levels of a pyramid, made where the samples pass anyway (the loader makes them
// beside its read), so that the first view need not walk every sample again.
struct CPyramidSeed {
    CRangeArray m_blocks;       // one entry per 16 samples
    CRangeArray m_superBlocks;  // one entry per 256 samples
};

// Extremes of every whole or partial block of `kFanOut` values of `ranges`, appended to `out`.
void AppendBlockRanges(const CValueRange* ranges, size_t count, CRangeArray& out);
// Extremes of the 16-sample blocks of `samples` (the last block may be partial), appended.
void AppendSampleBlocks(const uint16_t* samples, size_t count, CRangeArray& out);

class CMinMaxPyramid {
public:
    static constexpr uint32_t kFanOut = 16;

    // Rebuilds the levels over `count` samples; the pointer must stay valid for later queries.
    // A seed of the right sizes for these samples becomes the lowest levels as it is.
    void Build(const uint16_t* samples, uint32_t count, CPyramidSeed seed = {});
    void Clear();

    // Smallest and largest sample of [first, last] (inclusive, first <= last < count).
    CValueRange Range(uint32_t first, uint32_t last) const;
    // Extremes of the whole recording ({0, 0} when empty).
    CValueRange Whole() const;

private:
    const uint16_t* m_pSamples = nullptr;
    uint32_t m_nCount = 0;
    // m_levels[k] holds one entry per block of 16^(k+1) samples (the last block may be partial).
    std::vector<CRangeArray> m_levels;
};

}  // namespace somatrix
