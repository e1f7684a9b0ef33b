#pragma once
// Deterministic random numbers for the simulator. The standard distributions differ between
// library implementations, so a seed would give other signals on another platform; this small
// generator (splitmix64) gives the same sequence everywhere.
#include <cstdint>

namespace somatrix {

// Mixes one 64-bit value into a well-spread one; the core of the generator and of hashed noise.
constexpr uint64_t SimMix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Uniform in [-1, 1) from a key, without state: signals that must not depend on how often they
// were asked for (noise at sample index i) use this.
inline double SimHashNoise(uint64_t seed, uint64_t key) {
    const uint64_t h = SimMix(seed ^ SimMix(key));
    return static_cast<double>(h >> 11) * (2.0 / 9007199254740992.0) - 1.0;
}

class CSimRandom {
public:
    explicit CSimRandom(uint64_t seed = 1) : m_nState(seed) {}

    uint64_t Next() {
        m_nState += 0x9E3779B97F4A7C15ull;
        return SimMix(m_nState);
    }
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform integer in [lo, hi].
    int Range(int lo, int hi) {
        return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1));
    }
    bool Chance(double p) { return p > 0.0 && Unit() < p; }
    uint8_t Byte() { return static_cast<uint8_t>(Next() >> 56); }

private:
    uint64_t m_nState;
};

}  // namespace somatrix
