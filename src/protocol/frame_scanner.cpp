#include "protocol/frame_scanner.h"

#include <cstring>

#include "protocol/frame.h"

namespace somatrix {

void CFrameScanner::Receive(CReceiveRing& ring, const uint8_t* data, size_t n,
                            CFrameHandler& handler) {
    while (n > 0) {
        size_t piece = n < ring.Free() ? n : ring.Free();
        if (piece == 0) {
            // Only a ring full of one unfinished frame could get here, and no frame is that
            // long; the ring's own overflow rule then gives up the oldest bytes.
            piece = n < CReceiveRing::kCapacity ? n : CReceiveRing::kCapacity;
        }
        ring.Write(data, piece);
        data += piece;
        n -= piece;
        Scan(ring, handler);
    }
}

void CFrameScanner::Scan(CReceiveRing& ring, CFrameHandler& handler) {
    for (;;) {
        const size_t held = ring.Held();
        if (held < kFrameHeadBytes) {
            return;
        }
        if (ring.Peek(0) != kFrameStart) {
            // No frame can start before the next start byte.
            m_stats.m_nSkippedBytes += ring.SkipUntil(kFrameStart);
            continue;
        }
        if (!IsAcceptedType(ring.Peek(kPosType)) || !IsAcceptedCommand(ring.Peek(kPosCommand))) {
            ring.Advance(1);
            ++m_stats.m_nSkippedBytes;
            continue;
        }
        const size_t length = ring.Peek(kPosLength);
        if (length > kMaxReceiveLength) {
            ring.Advance(3);
            m_stats.m_nSkippedBytes += 3;
            continue;
        }
        const size_t n = length + 2;
        if (held < n) {
            return;  // the rest of this frame has not arrived yet
        }
        std::memset(m_frame.data(), 0, m_nDirty);
        ring.Read(m_frame.data(), n);
        m_nDirty = n;
        if (FrameChecksum(m_frame.data(), n) == m_frame[kPosChecksum] ||
            m_frame[kPosCommand] == cmd::kProductionDate) {
            ++m_stats.m_nFrames;
            handler.OnFrame(m_frame.data(), n);
        } else {
            ++m_stats.m_nBadChecksums;
        }
    }
}

}  // namespace somatrix
