#include "review/pyramid_seed_builder.h"

#include <system_error>

namespace somatrix {

namespace {

// The thread takes whole groups of 256 samples (one entry of the second level) while the load
// runs, so that no entry is made from a partial group except at the very end.
constexpr size_t kGroup = size_t{CMinMaxPyramid::kFanOut} * CMinMaxPyramid::kFanOut;

}  // namespace

CPyramidSeedBuilder::CPyramidSeedBuilder(const uint16_t* samples, size_t maxSamples)
    : m_pSamples(samples) {
    try {
        m_thread = std::thread([this, maxSamples] { Run(maxSamples); });
    } catch (const std::system_error&) {
        // No thread to spare: the first view builds the whole pyramid itself.
    }
}

CPyramidSeedBuilder::~CPyramidSeedBuilder() {
    Stop(kAbandon);
}

void CPyramidSeedBuilder::Publish(size_t count) {
    m_nState.store(count, std::memory_order_release);
    m_nState.notify_one();
}

CPyramidSeed CPyramidSeedBuilder::Finish(size_t count) {
    if (!m_thread.joinable()) {
        return {};
    }
    Stop(count | kFinal);
    return std::move(m_seed);
}

void CPyramidSeedBuilder::Stop(uint64_t state) {
    if (!m_thread.joinable()) {
        return;
    }
    m_nState.store(state, std::memory_order_release);
    m_nState.notify_one();
    m_thread.join();
}

void CPyramidSeedBuilder::Run(size_t maxSamples) {
    try {
        m_seed.m_blocks.reserve((maxSamples + CMinMaxPyramid::kFanOut - 1) /
                                CMinMaxPyramid::kFanOut);
        m_seed.m_superBlocks.reserve((maxSamples + kGroup - 1) / kGroup);
    } catch (const std::bad_alloc&) {
        m_seed = {};
        return;  // the levels stay empty, and the first view builds them
    }
    size_t done = 0;
    for (;;) {
        const uint64_t state = m_nState.load(std::memory_order_acquire);
        if ((state & kAbandon) != 0) {
            return;
        }
        const bool last = (state & kFinal) != 0;
        const size_t ready = static_cast<size_t>(state & kCountMask);
        const size_t upTo = last ? ready : ready / kGroup * kGroup;
        if (upTo > done && upTo <= maxSamples) {
            const size_t firstBlock = m_seed.m_blocks.size();
            AppendSampleBlocks(m_pSamples + done, upTo - done, m_seed.m_blocks);
            AppendBlockRanges(m_seed.m_blocks.data() + firstBlock,
                              m_seed.m_blocks.size() - firstBlock, m_seed.m_superBlocks);
            done = upTo;
        }
        if (last) {
            return;
        }
        m_nState.wait(state, std::memory_order_acquire);
    }
}

}  // namespace somatrix
