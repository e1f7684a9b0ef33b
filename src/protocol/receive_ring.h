#pragma once
// The 2048-byte ring between the serial link's receive events and the frame scanner. Owned by the
// operation panel's hub for its whole life and never emptied; used on the hub's thread only.
// The receive path never writes more than is free (CFrameScanner::Receive feeds a large receive
// event in pieces and scans between them). Should a write still bring more bytes than are free,
// it keeps the newest bytes: the oldest held bytes are given up first (they are the ones the
// scanner could not use) and counted as dropped.
#include <array>
#include <cstddef>
#include <cstdint>

namespace somatrix {

class CReceiveRing {
public:
    static constexpr size_t kCapacity = 2048;

    void Write(const uint8_t* data, size_t n);
    // Moves `n` bytes out; false with nothing taken when fewer are held (true at once for 0).
    bool Read(uint8_t* dst, size_t n);

    size_t Held() const { return m_nHeld; }
    size_t Free() const { return kCapacity - m_nHeld; }
    // The byte `k` positions after the read position; k < Held().
    uint8_t Peek(size_t k) const { return m_buffer[(m_nRead + k) & kMask]; }
    // Gives up `n` held bytes (at most Held()).
    void Advance(size_t n) {
        n = n < m_nHeld ? n : m_nHeld;
        m_nRead = (m_nRead + n) & kMask;
        m_nHeld -= n;
    }
    // Gives up held bytes up to the next `value` (or all of them); returns how many.
    size_t SkipUntil(uint8_t value);

    uint64_t Dropped() const { return m_nDropped; }

private:
    static constexpr size_t kMask = kCapacity - 1;
    static_assert((kCapacity & kMask) == 0, "capacity must be a power of two");

    std::array<uint8_t, kCapacity> m_buffer{};
    size_t m_nRead = 0;
    size_t m_nHeld = 0;
    uint64_t m_nDropped = 0;
};

}  // namespace somatrix
