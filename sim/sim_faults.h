#pragma once
// What can go wrong on a simulated line, and the record of what went over it. The record is the
// ground truth a test compares the receive path against: every frame as the sensor composed it,
// the values it carries, where it lies in the byte stream and whether the line damaged it.
#include <cstdint>
#include <vector>

#include "protocol/frame.h"

namespace somatrix {

// Chances are per frame put on the line; zero everywhere means a clean line.
struct CFaultPlan {
    double m_fStrayChance = 0;       // one to three random bytes slip in before the frame
    double m_fBitErrorChance = 0;    // one bit of one of the frame's bytes is flipped
    double m_fDropChance = 0;        // one of the frame's bytes is lost
    uint64_t m_nGarbageEveryNs = 0;  // a burst of random bytes this often; 0 never
    int m_nGarbageBytes = 24;
    uint64_t m_nDisconnectAfterNs = 0;  // the line goes dead at this time; 0 never

    // Faults of data frames only, each of which a receiver can count exactly: replies to the
    // scan's requests are never touched, so a faulty line still finds its sensors.
    double m_fCorruptChance = 0;  // the frame's checksum byte is wrong
    double m_fJunkChance = 0;     // one to three bytes, none of them 0xFF, before the frame
    double m_fLoseChance = 0;     // the frame is lost whole
    // (a lost or corrupted frame is never followed by another: no two frames missing in a row)
    double m_fStallChance = 0;  // the line stalls before the frame
    uint64_t m_nStallNs = 500000000;
};

enum class ELineFault { kStray, kGarbage, kBitError, kDroppedByte, kCorrupt, kJunk, kLost, kStall };

// What the data-frame faults did so far: the figures a receiver's counters must show.
struct CInjectedFaults {
    uint64_t m_nCorrupted = 0;  // frames sent with a wrong checksum
    uint64_t m_nJunkBytes = 0;  // bytes inserted before frames
    uint64_t m_nLost = 0;       // frames never sent
    uint64_t m_nStalls = 0;     // stalls of the line
};

struct CLineFault {
    ELineFault m_kind;
    uint64_t m_nLineOffset;  // index in the byte stream of the first byte concerned
    uint32_t m_nBytes;       // bytes inserted (stray, garbage), 1 otherwise
};

struct CSentFrame {
    uint64_t m_nReadyNs = 0;      // when the sensor had the frame ready
    uint64_t m_nFirstByteNs = 0;  // when its first byte had fully arrived at the far end
    uint64_t m_nLineOffset = 0;   // index of its first byte in the byte stream
    uint32_t m_nLineBytes = 0;    // bytes it took on the line (one less after a dropped byte)
    CFrame m_frame;               // as composed, before any damage
    std::vector<int> m_values;    // what a decoder should read from it
    bool m_bDamaged = false;      // bit error or dropped byte
    bool m_bComplete = false;     // its last byte arrived (false when the line died under it)

    uint8_t Type() const { return m_frame[kPosType]; }
    uint8_t Command() const { return m_frame[kPosCommand]; }
};

}  // namespace somatrix
