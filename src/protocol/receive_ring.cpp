#include "protocol/receive_ring.h"

#include <algorithm>
#include <cstring>

namespace somatrix {

void CReceiveRing::Write(const uint8_t* data, size_t n) {
    if (n > kCapacity) {
        // Only the newest kCapacity bytes can be kept; everything held goes too.
        m_nDropped += n - kCapacity + m_nHeld;
        data += n - kCapacity;
        n = kCapacity;
        m_nRead = 0;
        m_nHeld = 0;
    }
    const size_t free = kCapacity - m_nHeld;
    if (n > free) {
        m_nDropped += n - free;
        Advance(n - free);
    }
    size_t write = (m_nRead + m_nHeld) & kMask;
    const size_t first = std::min(n, kCapacity - write);
    std::memcpy(m_buffer.data() + write, data, first);
    std::memcpy(m_buffer.data(), data + first, n - first);
    m_nHeld += n;
}

bool CReceiveRing::Read(uint8_t* dst, size_t n) {
    if (n > m_nHeld) {
        return false;
    }
    const size_t first = std::min(n, kCapacity - m_nRead);
    std::memcpy(dst, m_buffer.data() + m_nRead, first);
    std::memcpy(dst + first, m_buffer.data(), n - first);
    Advance(n);
    return true;
}

size_t CReceiveRing::SkipUntil(uint8_t value) {
    size_t skipped = 0;
    while (m_nHeld > 0) {
        const size_t run = std::min(m_nHeld, kCapacity - m_nRead);
        const void* hit = std::memchr(m_buffer.data() + m_nRead, value, run);
        const size_t n = hit ? static_cast<size_t>(static_cast<const uint8_t*>(hit) -
                                                   (m_buffer.data() + m_nRead))
                             : run;
        Advance(n);
        skipped += n;
        if (hit) {
            break;
        }
    }
    return skipped;
}

}  // namespace somatrix
