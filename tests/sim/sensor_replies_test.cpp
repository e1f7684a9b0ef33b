// Each sensor's answer to each request, byte for byte, on a bus holding all fourteen.
#include <gtest/gtest.h>

#include "sim_bus.h"
#include "sim_test_util.h"

namespace somatrix {
namespace {

using test::Bytes;
using test::Exchange;
using test::ToBytes;

struct CAllSensors {
    CVirtualClock clock;
    CSimBus bus{7};
    CAllSensors() {
        CSensorConfig config;
        config.m_nDeviceNumber = 0x01A2003F;
        config.m_nYear = 2015;
        config.m_nMonth = 7;
        config.m_nDay = 20;
        bus.AddAllSensors(config);
    }
};

TEST(SensorReplies, PresenceDeviceNumberDateAndStopOfEveryType) {
    CAllSensors s;
    for (uint8_t t : AllSensorTypes()) {
        SCOPED_TRACE(testing::Message() << std::hex << int{t});
        const Bytes presence = t == type::kBloodPressureV2 ? Bytes{0xFF, t, 0x03, 0xAD, 0xAA}
                                                           : Bytes{0xFF, t, 0x03, 0x5D, 0x5A};
        EXPECT_EQ(Exchange(s.bus, s.clock, PresenceRequest(t)), presence);
        // Checksum 07 + A2 + 01 + A2 + 00 + 3F = 0x18B.
        EXPECT_EQ(Exchange(s.bus, s.clock, DeviceNumberRequest(t)),
                  (Bytes{0xFF, t, 0x07, 0x8B, 0xA2, 0x01, 0xA2, 0x00, 0x3F}));
        if (t == type::kBloodPressure) {
            // 0xA3 is this type's stop request, acknowledged with 0x53.
            EXPECT_EQ(Exchange(s.bus, s.clock, ProductionDateRequest(t)),
                      (Bytes{0xFF, 0xCD, 0x03, 0x56, 0x53}));
            EXPECT_EQ(Exchange(s.bus, s.clock, StopRequest(t)),
                      (Bytes{0xFF, 0xCD, 0x03, 0x56, 0x53}));
            // The general stop command means nothing to it.
            EXPECT_TRUE(Exchange(s.bus, s.clock, CFrame::Compose(t, cmd::kStop)).empty());
        } else {
            EXPECT_EQ(Exchange(s.bus, s.clock, ProductionDateRequest(t)),
                      (Bytes{0xFF, t, 0x07, 0x06, 0xA3, 0x20, 0x07, 0x15, 0x20}));
            EXPECT_EQ(Exchange(s.bus, s.clock, StopRequest(t)), (Bytes{0xFF, t, 0x03, 0xA4, 0xA1}));
        }
        // Settings are taken silently.
        EXPECT_TRUE(Exchange(s.bus, s.clock, GainRequest(t, 5)).empty());
    }
}

TEST(SensorReplies, FramesForOtherOrUnknownTypesOrWithBadChecksumsGoUnanswered) {
    CAllSensors s;
    EXPECT_TRUE(Exchange(s.bus, s.clock, PresenceRequest(0xC1)).empty());
    EXPECT_TRUE(Exchange(s.bus, s.clock, PresenceRequest(0xB2)).empty());
    CFrame bad = PresenceRequest(type::kEcg);
    bad.SetByte(kPosChecksum, 0xAE);
    EXPECT_TRUE(Exchange(s.bus, s.clock, bad).empty());
    EXPECT_TRUE(Exchange(s.bus, s.clock, OutputModeRequest(0)).empty());
    EXPECT_TRUE(Exchange(s.bus, s.clock, *TemperatureCalibrationRequest(2)).empty());

    // A request split over two writes and preceded by noise is still heard.
    s.bus.AdvanceTo(s.clock.NowNs());
    const Bytes noise = {0x00, 0xFF, 0x13, 0xFF, 0xC7};
    const CFrame request = PresenceRequest(type::kSkinResistance);
    s.bus.Write(noise.data(), noise.size());
    s.bus.Write(request.data(), 2);
    s.bus.Write(request.data() + 2, request.size() - 2);
    EXPECT_EQ(test::Collect(s.bus, s.clock, 150), (Bytes{0xFF, 0xC5, 0x03, 0x5D, 0x5A}));
}

TEST(SensorReplies, SilentAndSlowSensors) {
    CVirtualClock clock;
    CSimBus bus(1);
    CSensorConfig silent;
    silent.m_bSilent = true;
    bus.AddSensor(type::kPulse, silent);
    CSensorConfig slow;
    slow.m_nLatencyNs = 300 * kNsPerMs;
    bus.AddSensor(type::kEcg, slow);

    EXPECT_TRUE(Exchange(bus, clock, PresenceRequest(type::kPulse), 600).empty());
    EXPECT_TRUE(Exchange(bus, clock, StartRequest(type::kPulse), 600).empty());
    // The normal 150 ms wait misses the slow sensor; the slow scan's 600 ms catches it.
    EXPECT_TRUE(Exchange(bus, clock, PresenceRequest(type::kEcg), 150).empty());
    // The reply is late, not lost.
    EXPECT_EQ(test::Collect(bus, clock, 500), (Bytes{0xFF, 0xCE, 0x03, 0x5D, 0x5A}));
    EXPECT_EQ(Exchange(bus, clock, PresenceRequest(type::kEcg), 600),
              (Bytes{0xFF, 0xCE, 0x03, 0x5D, 0x5A}));
}

TEST(SensorReplies, BloodPressureSleepAndWakeCarryTypeC0ForBothGenerations) {
    CAllSensors s;
    // 0xCD's sleep request (FF C0 03 AE AB) puts only 0xCD to sleep: its start is ignored...
    EXPECT_TRUE(Exchange(s.bus, s.clock, *SleepRequest(type::kBloodPressure)).empty());
    EXPECT_TRUE(Exchange(s.bus, s.clock, StartRequest(type::kBloodPressure), 500).empty());
    // ...while 0xC0 still measures.
    const Bytes v2 = Exchange(s.bus, s.clock, StartRequest(type::kBloodPressureV2), 100);
    ASSERT_GE(v2.size(), 7u);
    EXPECT_EQ(v2[kPosType], type::kBloodPressureV2);
    EXPECT_EQ(v2[kPosCommand], cmd::kStart);
    // 0xC0's own sleep (FF C0 03 AB A8) stops it mid-cycle without a word.
    Exchange(s.bus, s.clock, *SleepRequest(type::kBloodPressureV2));
    EXPECT_TRUE(test::Collect(s.bus, s.clock, 200).empty());
    EXPECT_TRUE(Exchange(s.bus, s.clock, StartRequest(type::kBloodPressureV2), 200).empty());

    // One wake frame, identical to 0xC0's presence request, wakes both; 0xC0 answers it.
    EXPECT_EQ(Exchange(s.bus, s.clock, WakeRequest()), (Bytes{0xFF, 0xC0, 0x03, 0xAD, 0xAA}));
    const Bytes cd = Exchange(s.bus, s.clock, StartRequest(type::kBloodPressure), 100);
    ASSERT_GE(cd.size(), 7u);
    EXPECT_EQ(cd[kPosType], type::kBloodPressure);
    EXPECT_EQ(cd[kPosCommand], cmd::kCdData);
    EXPECT_FALSE(Exchange(s.bus, s.clock, StartRequest(type::kBloodPressureV2), 100).empty());
}

}  // namespace
}  // namespace somatrix
