// The receive ring and the frame scanner: splitting, wrapping, resynchronisation and overflow.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "protocol/fake_link.h"
#include "protocol/frame.h"
#include "protocol/frame_scanner.h"
#include "protocol/receive_ring.h"

namespace somatrix {
namespace {

using test::MakeFrame;
using Bytes = std::vector<uint8_t>;

struct CCollector : CFrameHandler {
    std::vector<Bytes> m_frames;
    void OnFrame(const uint8_t* frame, size_t n) override {
        // The bytes behind the frame must read as zero.
        for (size_t i = n; i < kFrameBufferBytes; ++i) {
            ASSERT_EQ(frame[i], 0) << "stale byte at " << i;
        }
        m_frames.emplace_back(frame, frame + n);
    }
};

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

std::vector<Bytes> ScanAll(const Bytes& stream, size_t chunk) {
    CReceiveRing ring;
    CFrameScanner scanner;
    CCollector sink;
    for (size_t pos = 0; pos < stream.size(); pos += chunk) {
        const size_t n = std::min(chunk, stream.size() - pos);
        scanner.Receive(ring, stream.data() + pos, n, sink);
    }
    EXPECT_EQ(ring.Dropped(), 0u) << "chunk " << chunk;
    return sink.m_frames;
}

TEST(ReceiveRing, ReadsWrapAndRefuseWhenShort) {
    CReceiveRing ring;
    Bytes block(1500);
    std::iota(block.begin(), block.end(), 0);
    ring.Write(block.data(), block.size());
    Bytes out(1500);
    ASSERT_TRUE(ring.Read(out.data(), 1400));
    ring.Write(block.data(), block.size());  // wraps past the end of the storage
    EXPECT_EQ(ring.Held(), 1600u);
    EXPECT_FALSE(ring.Read(out.data(), 1601));
    EXPECT_EQ(ring.Held(), 1600u);  // nothing taken by a refused read
    ASSERT_TRUE(ring.Read(out.data(), 100));
    EXPECT_EQ(out[0], static_cast<uint8_t>(1400));
    ASSERT_TRUE(ring.Read(out.data(), 1500));
    EXPECT_EQ(out, block);
    EXPECT_TRUE(ring.Read(out.data(), 0));
    EXPECT_EQ(ring.Dropped(), 0u);
}

TEST(ReceiveRing, OverflowKeepsTheNewestBytesAndCountsTheRest) {
    CReceiveRing ring;
    Bytes first(2000, 0x11);
    ring.Write(first.data(), first.size());
    Bytes second(100);
    std::iota(second.begin(), second.end(), 1);
    ring.Write(second.data(), second.size());
    EXPECT_EQ(ring.Held(), CReceiveRing::kCapacity);
    EXPECT_EQ(ring.Dropped(), 52u);
    Bytes out(CReceiveRing::kCapacity);
    ASSERT_TRUE(ring.Read(out.data(), out.size()));
    EXPECT_EQ(Bytes(out.end() - 100, out.end()), second);

    // A single write larger than the whole ring keeps its own last 2048 bytes.
    Bytes huge(5000);
    std::iota(huge.begin(), huge.end(), 0);
    ring.Write(first.data(), 10);
    ring.Write(huge.data(), huge.size());
    EXPECT_EQ(ring.Dropped(), 52u + 10u + 5000u - 2048u);
    ASSERT_TRUE(ring.Read(out.data(), out.size()));
    EXPECT_EQ(out, Bytes(huge.end() - 2048, huge.end()));
}

TEST(FrameScanner, FramesAreFoundWhateverTheReceiveEventsLookLike) {
    const Bytes a = MakeFrame(0xCE, 0xA0, {0x01, 0x02});
    const Bytes b = MakeFrame(0xB1, 0xA0, Bytes(50, 7));
    const Bytes c = MakeFrame(0xC7, 0xA0, {60, 98, 72});
    const Bytes stream = Concat({{0x00, 0x13, 0xFF}, a, {0xFF, 0xFF}, b, {0x42}, c});
    const std::vector<Bytes> expected = {a, b, c};
    for (size_t chunk = 1; chunk <= stream.size(); ++chunk) {
        EXPECT_EQ(ScanAll(stream, chunk), expected) << "chunk " << chunk;
    }
    // Split once at every point: nothing is dispatched before its last byte arrives.
    for (size_t cut = 0; cut <= stream.size(); ++cut) {
        CReceiveRing ring;
        CFrameScanner scanner;
        CCollector sink;
        ring.Write(stream.data(), cut);
        scanner.Scan(ring, sink);
        const size_t endOfA = 3 + a.size();
        EXPECT_EQ(sink.m_frames.size() >= 1, cut >= endOfA) << "cut " << cut;
        ring.Write(stream.data() + cut, stream.size() - cut);
        scanner.Scan(ring, sink);
        EXPECT_EQ(sink.m_frames, expected) << "cut " << cut;
    }
}

TEST(FrameScanner, ReceiveEventsOfUpTo64KiBLoseNoFrame) {
    // 1200 frames of three sizes with a stray byte after every fifth: about 39 KiB.
    Bytes stream;
    std::vector<Bytes> expected;
    for (int i = 0; i < 1200; ++i) {
        const uint8_t v = static_cast<uint8_t>(i);
        const Bytes f = i % 3 == 0   ? MakeFrame(0xCA, 0xA0, {static_cast<uint8_t>(i >> 8), v})
                        : i % 3 == 1 ? MakeFrame(0xB1, 0xA0, Bytes(50, v))
                                     : MakeFrame(0xC6, 0xA0, Bytes(48, v));
        stream.insert(stream.end(), f.begin(), f.end());
        expected.push_back(f);
        if (i % 5 == 4) {
            stream.push_back(0x42);
        }
    }
    ASSERT_GT(stream.size(), 32768u);
    for (const size_t chunk : {size_t{1}, size_t{63}, size_t{2047}, size_t{2048}, size_t{2049},
                               size_t{3000}, size_t{4200}, size_t{16384}, size_t{65536}}) {
        EXPECT_EQ(ScanAll(stream, chunk), expected) << "chunk " << chunk;
    }
}

TEST(FrameScanner, FramesWrappingTheRingEndAreReadWhole) {
    CReceiveRing ring;
    CFrameScanner scanner;
    CCollector sink;
    const Bytes frame = MakeFrame(0xB1, 0xA0, Bytes(50, 0x33));  // 55 bytes
    // 2048 / 55 is not whole: frames straddle the storage end on every lap.
    for (int i = 0; i < 200; ++i) {
        ring.Write(frame.data(), frame.size());
        scanner.Scan(ring, sink);
    }
    ASSERT_EQ(sink.m_frames.size(), 200u);
    for (const Bytes& f : sink.m_frames) {
        ASSERT_EQ(f, frame);
    }
    EXPECT_EQ(scanner.Stats().m_nBadChecksums, 0u);
}

TEST(FrameScanner, ResynchronisesOnGarbageLengthsAndChecksums) {
    const Bytes good = MakeFrame(0xCA, 0xA0, {0x01, 0xF4});
    Bytes badSum = MakeFrame(0xCA, 0xA0, {0x01, 0x90});
    badSum[3] ^= 0x01;
    Bytes dateBadSum = MakeFrame(0xCA, 0xA3, {0x20, 0x07, 0x15, 0x20});
    dateBadSum[3] = 0x00;
    // L = 65: start, type and length are dropped, the scan resumes at the old checksum byte,
    // which here begins a frame of its own.
    const Bytes tooLong = Concat({{0xFF, 0xCE, 65}, good});
    // Unknown command and type bytes after a start byte.
    const Bytes junk = {0xFF, 0xCE, 0x03, 0x00, 0x10, 0xFF, 0xCF, 0x03, 0xA3, 0xA0};
    // Type codes 0xC1 and 0xC2 are accepted though no sensor has them.
    const Bytes c1 = MakeFrame(0xC1, 0xA0, {0x00, 0x05});
    // A length below 3 yields a 2- to 4-byte frame that is consumed; its sum (L alone) does not
    // match the cleared checksum position, so it is dropped.
    const Bytes shortLen = {0xFF, 0xC8, 0x01, 0xA0, 0xA0};
    const Bytes stream = Concat({badSum, good, dateBadSum, tooLong, junk, c1, shortLen, good});
    const std::vector<Bytes> frames = ScanAll(stream, stream.size());
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[0], good);
    EXPECT_EQ(frames[1], dateBadSum);  // production-date replies pass whatever their checksum
    EXPECT_EQ(frames[2], good);        // found behind the dropped over-long head
    EXPECT_EQ(frames[3], c1);
    EXPECT_EQ(frames[4], good);
}

TEST(FrameScanner, PartialFrameWaitsAndFewerThanFiveBytesStay) {
    CReceiveRing ring;
    CFrameScanner scanner;
    CCollector sink;
    const Bytes f = MakeFrame(0xCC, 0xA0, {0x02, 0x00});
    ring.Write(f.data(), 6);
    scanner.Scan(ring, sink);
    EXPECT_TRUE(sink.m_frames.empty());
    EXPECT_EQ(ring.Held(), 6u);
    ring.Write(f.data() + 6, 1);
    scanner.Scan(ring, sink);
    EXPECT_EQ(sink.m_frames.size(), 1u);
    EXPECT_EQ(ring.Held(), 0u);
    const Bytes four = {0x01, 0x02, 0x03, 0x04};
    ring.Write(four.data(), four.size());
    scanner.Scan(ring, sink);
    EXPECT_EQ(ring.Held(), 4u);
}

}  // namespace
}  // namespace somatrix
