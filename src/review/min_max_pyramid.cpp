#include "review/min_max_pyramid.h"

#include <algorithm>

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define SOMATRIX_BLOCKS_SSE41 1
#endif

namespace somatrix {

namespace {

constexpr size_t kFanOut = CMinMaxPyramid::kFanOut;

#ifdef SOMATRIX_BLOCKS_SSE41
// Whole blocks of 16 with SSE4.1, which every x86-64 processor of the last fifteen years has:
// unsigned minimum and maximum of the block's two halves, then the one-instruction horizontal
// minimum for both (the maximum as the minimum of the complement). A fifth of the instructions
// that the plain loop needs without unsigned 16-bit comparisons.
__attribute__((target("sse4.1"))) void AppendWholeBlocksSse41(const uint16_t* samples,
                                                              size_t blocks, CRangeArray& out) {
    const __m128i ones = _mm_set1_epi32(-1);
    for (size_t b = 0; b < blocks; ++b) {
        const auto* block = reinterpret_cast<const __m128i*>(samples + b * kFanOut);
        const __m128i first = _mm_loadu_si128(block);
        const __m128i second = _mm_loadu_si128(block + 1);
        const __m128i lo = _mm_minpos_epu16(_mm_min_epu16(first, second));
        const __m128i hi = _mm_minpos_epu16(_mm_xor_si128(_mm_max_epu16(first, second), ones));
        out.push_back({static_cast<uint16_t>(_mm_extract_epi16(lo, 0)),
                       static_cast<uint16_t>(~_mm_extract_epi16(hi, 0))});
    }
}

bool HasSse41() {
    static const bool has = __builtin_cpu_supports("sse4.1");
    return has;
}
#endif

void Widen(CValueRange& r, const CValueRange& o) {
    r.m_nMin = std::min(r.m_nMin, o.m_nMin);
    r.m_nMax = std::max(r.m_nMax, o.m_nMax);
}

}  // namespace

void AppendSampleBlocks(const uint16_t* samples, size_t count, CRangeArray& out) {
    const size_t whole = count / kFanOut;
    size_t b = 0;
#ifdef SOMATRIX_BLOCKS_SSE41
    if (HasSse41()) {
        AppendWholeBlocksSse41(samples, whole, out);
        b = whole;
    }
#endif
    for (; b < whole; ++b) {
        // A fixed count of 16 from neutral starting values lets the compiler vectorise the
        // block; this pass over every sample is most of the cost of a load's first view.
        const uint16_t* block = samples + b * kFanOut;
        uint16_t lo = 0xFFFF;
        uint16_t hi = 0;
        for (size_t k = 0; k < kFanOut; ++k) {
            lo = std::min(lo, block[k]);
            hi = std::max(hi, block[k]);
        }
        out.push_back({lo, hi});
    }
    if (whole * kFanOut < count) {
        const size_t first = whole * kFanOut;
        CValueRange r{samples[first], samples[first]};
        for (size_t i = first + 1; i < count; ++i) {
            r.m_nMin = std::min(r.m_nMin, samples[i]);
            r.m_nMax = std::max(r.m_nMax, samples[i]);
        }
        out.push_back(r);
    }
}

void AppendBlockRanges(const CValueRange* ranges, size_t count, CRangeArray& out) {
    for (size_t first = 0; first < count; first += kFanOut) {
        const size_t end = std::min(first + kFanOut, count);
        CValueRange r = ranges[first];
        for (size_t i = first + 1; i < end; ++i) {
            Widen(r, ranges[i]);
        }
        out.push_back(r);
    }
}

void CMinMaxPyramid::Clear() {
    m_pSamples = nullptr;
    m_nCount = 0;
    m_levels.clear();
}

void CMinMaxPyramid::Build(const uint16_t* samples, uint32_t count, CPyramidSeed seed) {
    Clear();
    if (samples == nullptr || count == 0) {
        return;
    }
    m_pSamples = samples;
    m_nCount = count;
    const size_t blocks = (size_t{count} + kFanOut - 1) / kFanOut;
    if (seed.m_blocks.size() == blocks) {
        const size_t superBlocks = (blocks + kFanOut - 1) / kFanOut;
        const bool withSuper = seed.m_superBlocks.size() == superBlocks;
        m_levels.push_back(std::move(seed.m_blocks));
        if (withSuper) {
            m_levels.push_back(std::move(seed.m_superBlocks));
        }
    } else {
        CRangeArray level;
        level.reserve(blocks);
        AppendSampleBlocks(samples, count, level);
        m_levels.push_back(std::move(level));
    }
    while (m_levels.back().size() > 1) {
        const CRangeArray& below = m_levels.back();
        CRangeArray up;
        up.reserve((below.size() + kFanOut - 1) / kFanOut);
        AppendBlockRanges(below.data(), below.size(), up);
        m_levels.push_back(std::move(up));
    }
}

CValueRange CMinMaxPyramid::Whole() const {
    if (m_levels.empty()) {
        return {};
    }
    return m_levels.back().front();
}

CValueRange CMinMaxPyramid::Range(uint32_t first, uint32_t last) const {
    CValueRange r{m_pSamples[first], m_pSamples[first]};
    // Walk up from the samples: at each level take the loose entries at both ends until the
    // remaining run is whole blocks of the next level.
    uint64_t lo = first;
    uint64_t hi = static_cast<uint64_t>(last) + 1;  // exclusive
    const auto value = [&](size_t level, uint64_t i) -> CValueRange {
        if (level == 0) {
            return {m_pSamples[i], m_pSamples[i]};
        }
        return m_levels[level - 1][i];
    };
    for (size_t level = 0; lo < hi; ++level) {
        const uint64_t loUp = (lo + kFanOut - 1) / kFanOut;
        const uint64_t hiUp = hi / kFanOut;
        if (level == m_levels.size() || loUp >= hiUp) {
            for (uint64_t i = lo; i < hi; ++i) {
                Widen(r, value(level, i));
            }
            break;
        }
        for (uint64_t i = lo; i < loUp * kFanOut; ++i) {
            Widen(r, value(level, i));
        }
        for (uint64_t i = hiUp * kFanOut; i < hi; ++i) {
            Widen(r, value(level, i));
        }
        lo = loUp;
        hi = hiUp;
    }
    return r;
}

}  // namespace somatrix
