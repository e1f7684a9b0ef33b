#include "protocol/frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace somatrix {
namespace {

std::vector<uint8_t> Bytes(const CFrame& f) { return {f.data(), f.data() + f.size()}; }
using V = std::vector<uint8_t>;

TEST(FrameRequests, EveryRowOfTheRequestTable) {
    EXPECT_EQ(Bytes(StartRequest(0xCE)), (V{0xFF, 0xCE, 0x03, 0xA3, 0xA0}));
    EXPECT_EQ(Bytes(StopRequest(0xCA)), (V{0xFF, 0xCA, 0x03, 0xA4, 0xA1}));
    EXPECT_EQ(Bytes(StopRequest(0xCD)), (V{0xFF, 0xCD, 0x03, 0xA6, 0xA3}));
    EXPECT_EQ(Bytes(StopRequest(0xC0)), (V{0xFF, 0xC0, 0x03, 0xA4, 0xA1}));
    EXPECT_EQ(Bytes(DeviceNumberRequest(0xB1)), (V{0xFF, 0xB1, 0x03, 0xA5, 0xA2}));
    EXPECT_EQ(Bytes(ProductionDateRequest(0xC7)), (V{0xFF, 0xC7, 0x03, 0xA6, 0xA3}));
    EXPECT_EQ(Bytes(GainRequest(0xCA, 3)), (V{0xFF, 0xCA, 0x04, 0xAB, 0xA4, 0x03}));
    EXPECT_EQ(Bytes(GainRequest(0xB1, 15)), (V{0xFF, 0xB1, 0x04, 0xB7, 0xA4, 0x0F}));
    EXPECT_EQ(Bytes(GainRequest(0xB1, 99)), (V{0xFF, 0xB1, 0x04, 0xB8, 0xA4, 0x10}));
    EXPECT_EQ(Bytes(OutputModeRequest(1)), (V{0xFF, 0xC8, 0x04, 0xAC, 0xA7, 0x01}));
    EXPECT_EQ(Bytes(InputSelectRequest(1)), (V{0xFF, 0xC3, 0x04, 0xB4, 0xAF, 0x01}));
    EXPECT_EQ(Bytes(*SleepRequest(0xC0)), (V{0xFF, 0xC0, 0x03, 0xAB, 0xA8}));
    EXPECT_EQ(Bytes(*SleepRequest(0xCD)), (V{0xFF, 0xC0, 0x03, 0xAE, 0xAB}));
    EXPECT_FALSE(SleepRequest(0xCA).has_value());
    EXPECT_EQ(Bytes(WakeRequest()), (V{0xFF, 0xC0, 0x03, 0xAD, 0xAA}));
    EXPECT_EQ(Bytes(PresenceRequest(0xC5)), (V{0xFF, 0xC5, 0x03, 0xAD, 0xAA}));
}

TEST(FrameRequests, TemperatureCalibrationCoversTheSevenListItems) {
    EXPECT_EQ(Bytes(*TemperatureCalibrationRequest(0)), (V{0xFF, 0xC9, 0x04, 0xCE, 0xCA, 0x00}));
    EXPECT_EQ(Bytes(*TemperatureCalibrationRequest(3)), (V{0xFF, 0xC9, 0x04, 0x8E, 0xCA, 0xC0}));
    EXPECT_EQ(Bytes(*TemperatureCalibrationRequest(5)), (V{0xFF, 0xC9, 0x04, 0x51, 0xCD, 0x80}));
    EXPECT_EQ(Bytes(*TemperatureCalibrationRequest(6)), (V{0xFF, 0xC9, 0x04, 0x91, 0xCD, 0xC0}));
    EXPECT_FALSE(TemperatureCalibrationRequest(-1).has_value());
    EXPECT_FALSE(TemperatureCalibrationRequest(7).has_value());
}

TEST(FrameLayout, ChecksumCoversLengthCommandAndPayloadOnly) {
    const uint8_t payload[] = {0x12, 0x34, 0xFF};
    const CFrame f = CFrame::Compose(0xC8, 0xA0, payload);
    ASSERT_EQ(f.size(), 8u);
    EXPECT_EQ(f[2], 6);
    EXPECT_EQ(f[3], static_cast<uint8_t>(6 + 0xA0 + 0x12 + 0x34 + 0xFF));
    // Start byte and type code do not enter the sum.
    uint8_t copy[8];
    std::copy(f.data(), f.data() + 8, copy);
    copy[0] = 0x00;
    copy[1] = 0x11;
    EXPECT_EQ(FrameChecksum(copy, 8), f[3]);
    // A frame claiming more bytes than are present sums only what is there.
    copy[2] = 40;
    EXPECT_EQ(FrameChecksum(copy, 8), static_cast<uint8_t>(40 + 0xA0 + 0x12 + 0x34 + 0xFF));
}

TEST(FrameLayout, AcceptedTypeAndCommandRanges) {
    int types = 0;
    int commands = 0;
    for (int b = 0; b < 256; ++b) {
        types += IsAcceptedType(static_cast<uint8_t>(b));
        commands += IsAcceptedCommand(static_cast<uint8_t>(b));
    }
    EXPECT_EQ(types, 16);     // 0xB1 and 0xC0..0xCE
    EXPECT_EQ(commands, 31);  // 16 + 13 + 2
    EXPECT_TRUE(IsAcceptedType(0xC1));
    EXPECT_FALSE(IsAcceptedType(0xCF));
    EXPECT_FALSE(IsAcceptedType(0xB0));
    EXPECT_TRUE(IsAcceptedCommand(0x5F));
    EXPECT_FALSE(IsAcceptedCommand(0x52));
    EXPECT_FALSE(IsAcceptedCommand(0xB0));
}

}  // namespace
}  // namespace somatrix
