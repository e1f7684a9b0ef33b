#pragma once
// Makes a pyramid's lowest levels on a second thread while a loader is still reading: it follows
// the samples the loader reports as final, so that the first view after a load costs little
// more than the load itself. Created, fed and finished by one loading thread.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>

#include "review/min_max_pyramid.h"

namespace somatrix {

class CPyramidSeedBuilder {
public:
    // `samples` has room for `maxSamples`; the loader fills it from the front.
    CPyramidSeedBuilder(const uint16_t* samples, size_t maxSamples);
    // Abandons the work when Finish was not called (a load that failed).
    ~CPyramidSeedBuilder();
    CPyramidSeedBuilder(const CPyramidSeedBuilder&) = delete;
    CPyramidSeedBuilder& operator=(const CPyramidSeedBuilder&) = delete;

    // False when no thread could be started: the pyramid is then built the ordinary way.
    bool IsRunning() const { return m_thread.joinable(); }
    // Samples [0, count) are in place and will not change again.
    void Publish(size_t count);
    // All `count` samples are final: waits for the thread and hands over its levels.
    CPyramidSeed Finish(size_t count);

private:
    void Run(size_t maxSamples);
    void Stop(uint64_t state);

    static constexpr uint64_t kFinal = uint64_t{1} << 62;
    static constexpr uint64_t kAbandon = uint64_t{1} << 63;
    static constexpr uint64_t kCountMask = kFinal - 1;

    const uint16_t* m_pSamples;
    std::atomic<uint64_t> m_nState{0};  // samples published, with the two flags above
    CPyramidSeed m_seed;                // the thread's until joined
    std::thread m_thread;
};

}  // namespace somatrix
