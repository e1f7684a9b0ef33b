// The line: pacing at 115200 8N1, timing independent of how the bus is driven, faults and their
// record, disconnects.
#include <gtest/gtest.h>

#include "sim_bus.h"
#include "sim_test_util.h"

namespace somatrix {
namespace {

using test::Bytes;

void StartAll(CSimBus& bus) {
    for (uint8_t t : AllSensorTypes()) {
        const CFrame f = StartRequest(t);
        bus.Write(f.data(), f.size());
    }
}

TEST(SimBus, NeverFasterThanTheLineEvenWhenSaturated) {
    for (bool saturate : {false, true}) {
        SCOPED_TRACE(saturate);
        CVirtualClock clock;
        CSimBus bus(11);
        bus.AddAllSensors();
        if (saturate) {
            CFaultPlan plan;
            plan.m_nGarbageEveryNs = kNsPerMs;  // 24 bytes every millisecond on top
            bus.SetFaults(plan);
        }
        StartAll(bus);
        uint64_t windowBytes = 0;
        uint64_t total = 0;
        uint8_t sink[4096];
        for (int ms = 1; ms <= 10000; ++ms) {
            clock.AdvanceMs(1);
            bus.AdvanceTo(clock.NowNs());
            const size_t n = bus.Read(sink, sizeof sink);
            windowBytes += n;
            total += n;
            if (ms % 100 == 0) {
                EXPECT_LE(windowBytes, kLineBytesPerSecond / 10 + 1);
                windowBytes = 0;
            }
        }
        // Consecutive frames never overlap on the line.
        const auto& sent = bus.SentFrames();
        for (size_t i = 1; i < sent.size(); ++i) {
            const uint64_t bytes = sent[i].m_nLineOffset - sent[i - 1].m_nLineOffset;
            ASSERT_GE(sent[i].m_nFirstByteNs - sent[i - 1].m_nFirstByteNs, bytes * kLineByteNs);
        }
        if (saturate) {
            EXPECT_GT(total, 11500u * 10 - 200);  // the line is full
            EXPECT_GT(bus.Stats().m_nOverflowFrames, 0u);
        } else {
            // All fourteen measuring fit on the line with room to spare.
            EXPECT_GT(total, 8000u * 10);
            EXPECT_LT(total, 10500u * 10);
            EXPECT_EQ(bus.Stats().m_nOverflowFrames, 0u);
        }
    }
}

TEST(SimBus, BytesAndTimesDoNotDependOnHowOftenTheBusIsDriven) {
    auto run = [](uint64_t stepUs) {
        CSimBus bus(12);
        bus.AddAllSensors();
        CFaultPlan plan;
        plan.m_fStrayChance = plan.m_fBitErrorChance = plan.m_fDropChance = 0.05;
        plan.m_nGarbageEveryNs = 700 * kNsPerMs;
        bus.SetFaults(plan);
        StartAll(bus);
        Bytes out;
        uint8_t chunk[8192];
        for (uint64_t t = 0; t <= 5 * kNsPerSecond; t += stepUs * 1000) {
            bus.AdvanceTo(t);
            out.insert(out.end(), chunk, chunk + bus.Read(chunk, sizeof chunk));
        }
        return std::make_pair(out, bus.SentFrames().back().m_nFirstByteNs);
    };
    const auto fine = run(250);
    const auto coarse = run(50000);
    EXPECT_EQ(fine.first, coarse.first);
    EXPECT_EQ(fine.second, coarse.second);
}

TEST(SimBus, FaultsAreAppliedAndRecorded) {
    CVirtualClock clock;
    CSimBus bus(13);
    bus.AddSensor(type::kEcg);
    CFaultPlan plan;
    plan.m_fStrayChance = 0.05;
    plan.m_fBitErrorChance = 0.05;
    plan.m_fDropChance = 0.05;
    plan.m_nGarbageEveryNs = 1000 * kNsPerMs;
    plan.m_nGarbageBytes = 10;
    plan.m_nDisconnectAfterNs = 10 * kNsPerSecond;
    bus.SetFaults(plan);
    test::Exchange(bus, clock, StartRequest(type::kEcg), 0);
    const Bytes stream = test::Collect(bus, clock, 12000);

    int kinds[4] = {};
    for (const CLineFault& f : bus.LineFaults()) {
        ++kinds[static_cast<int>(f.m_kind)];
    }
    const auto& sent = bus.SentFrames();
    ASSERT_NEAR(static_cast<double>(sent.size()), 2500, 30);
    EXPECT_NEAR(kinds[static_cast<int>(ELineFault::kStray)], 125, 40);
    EXPECT_EQ(kinds[static_cast<int>(ELineFault::kGarbage)], 9);  // at 1 s .. 9 s
    EXPECT_NEAR(kinds[static_cast<int>(ELineFault::kBitError)], 125, 40);
    EXPECT_NEAR(kinds[static_cast<int>(ELineFault::kDroppedByte)], 125, 40);

    // The record describes the stream exactly: every undamaged frame lies at its offset.
    size_t damaged = 0;
    for (const CSentFrame& f : sent) {
        damaged += f.m_bDamaged;
        if (!f.m_bDamaged && f.m_bComplete) {
            ASSERT_LE(f.m_nLineOffset + f.m_frame.size(), stream.size());
            EXPECT_TRUE(std::equal(f.m_frame.data(), f.m_frame.data() + f.m_frame.size(),
                                   stream.begin() + static_cast<std::ptrdiff_t>(f.m_nLineOffset)));
        }
    }
    EXPECT_GT(damaged, 150u);
    EXPECT_EQ(stream.size(), bus.Stats().m_nLineBytes);

    // After 10 s the line is dead: nothing arrives, nothing is heard.
    EXPECT_TRUE(bus.IsDisconnected());
    EXPECT_LE(sent.back().m_nFirstByteNs, 10 * kNsPerSecond);
    EXPECT_TRUE(test::Exchange(bus, clock, PresenceRequest(type::kEcg)).empty());
}

}  // namespace
}  // namespace somatrix
