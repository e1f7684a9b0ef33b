#pragma once
// Cuts checked frames out of the receive ring and hands each to a handler, resynchronising on
// garbage: a bad head byte is skipped, a length above 64 drops three bytes, a bad checksum drops
// the whole frame (except production-date replies, which are passed on whatever their checksum).
// Runs on the hub's thread inside each receive event; allocates nothing.
#include <array>
#include <cstddef>
#include <cstdint>

#include "protocol/receive_ring.h"

namespace somatrix {

// The frame buffer a handler sees: zero beyond the frame, so decoders that read a fixed number of
// bytes past a short frame read zeros, never stale data or memory outside the buffer.
inline constexpr size_t kFrameBufferBytes = 1024;

class CFrameHandler {
public:
    virtual ~CFrameHandler() = default;
    // `frame` points to a kFrameBufferBytes buffer holding the frame at offset 0.
    virtual void OnFrame(const uint8_t* frame, size_t n) = 0;
};

struct CScanStats {
    uint64_t m_nFrames = 0;          // frames handed on
    uint64_t m_nBadChecksums = 0;    // frames consumed and dropped
    uint64_t m_nSkippedBytes = 0;    // bytes given up while resynchronising
};

class CFrameScanner {
public:
    // Runs until the ring holds no complete frame.
    void Scan(CReceiveRing& ring, CFrameHandler& handler);
    // One receive event of any size: written into the ring in pieces no larger than its free
    // space, with a scan after each piece. A scan leaves at most one partial frame behind, so
    // every complete frame of the event is handed on, however the bytes were split.
    void Receive(CReceiveRing& ring, const uint8_t* data, size_t n, CFrameHandler& handler);
    const CScanStats& Stats() const { return m_stats; }

private:
    std::array<uint8_t, kFrameBufferBytes> m_frame{};
    size_t m_nDirty = 0;  // bytes of m_frame written since it was last cleared
    CScanStats m_stats;
};

}  // namespace somatrix
