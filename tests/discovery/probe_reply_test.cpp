#include "discovery/probe_reply.h"

#include <gtest/gtest.h>

#include "discovery/fake_ports.h"
#include "protocol/catalogue.h"

namespace somatrix {
namespace {

using testing::Bytes;
using testing::Reply;

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(ProbeReply, PresenceWindowSearch) {
    const Bytes a5 = Reply(0xCA, 0x5A);  // FF CA 03 5D 5A
    const Bytes aa = Reply(0xCA, 0xAA);  // FF CA 03 AD AA
    EXPECT_EQ(a5, (Bytes{0xFF, 0xCA, 0x03, 0x5D, 0x5A}));
    EXPECT_TRUE(FindPresenceReply(a5.data(), a5.size(), 0xCA));
    EXPECT_TRUE(FindPresenceReply(aa.data(), aa.size(), 0xCA));

    // Stray bytes, including a false start, before the reply.
    const Bytes stray = Concat({0x00, 0xFF, 0xFF, 0xCA, 0x13}, a5);
    EXPECT_TRUE(FindPresenceReply(stray.data(), stray.size(), 0xCA));
    // The reply ending exactly at the last byte read is found; one byte short is not.
    EXPECT_FALSE(FindPresenceReply(stray.data(), stray.size() - 1, 0xCA));

    // Another type, another command, a wrong checksum or length: no presence.
    EXPECT_FALSE(FindPresenceReply(a5.data(), a5.size(), 0xCB));
    const Bytes other = Reply(0xCA, 0x5B);
    EXPECT_FALSE(FindPresenceReply(other.data(), other.size(), 0xCA));
    Bytes badSum = a5;
    badSum[3] = 0x5C;
    EXPECT_FALSE(FindPresenceReply(badSum.data(), badSum.size(), 0xCA));
    const Bytes badLength{0xFF, 0xCA, 0x04, 0x5E, 0x5A};
    EXPECT_FALSE(FindPresenceReply(badLength.data(), badLength.size(), 0xCA));
    EXPECT_FALSE(FindPresenceReply(a5.data(), 4, 0xCA));
    EXPECT_FALSE(FindPresenceReply(a5.data(), 0, 0xCA));
}

TEST(ProbeReply, DeviceNumberNeedsItsChecksum) {
    const Bytes reply = Reply(0xC7, 0xA2, {0x01, 0xA2, 0x00, 0x3F});
    EXPECT_EQ(reply[3], static_cast<uint8_t>(7 + 0xA2 + 0x01 + 0xA2 + 0x00 + 0x3F));
    EXPECT_EQ(FindDeviceNumberReply(reply.data(), reply.size(), 0xC7), "01A2003F");

    const Bytes stray = Concat({0xFF, 0xC7, 0x07}, reply);
    EXPECT_EQ(FindDeviceNumberReply(stray.data(), stray.size(), 0xC7), "01A2003F");
    EXPECT_FALSE(FindDeviceNumberReply(stray.data(), stray.size() - 1, 0xC7));

    Bytes badSum = reply;
    badSum[3] ^= 0x01;
    EXPECT_FALSE(FindDeviceNumberReply(badSum.data(), badSum.size(), 0xC7));
    EXPECT_FALSE(FindDeviceNumberReply(reply.data(), reply.size(), 0xC8));
    // The first valid window wins when two replies were read.
    const Bytes two = Concat(reply, Reply(0xC7, 0xA2, {0xDE, 0xAD, 0xBE, 0xEF}));
    EXPECT_EQ(FindDeviceNumberReply(two.data(), two.size(), 0xC7), "01A2003F");
}

TEST(ProbeReply, ProductionDateIgnoresItsChecksumAndStaysBounded) {
    Bytes reply = Reply(0xCA, 0xA3, {0x15, 0x03, 0x20, 0x20});
    EXPECT_EQ(FindProductionDateReply(reply.data(), reply.size(), 0xCA), "2020-03-15");
    reply[3] = 0x00;  // sensors send this reply with a wrong checksum
    EXPECT_EQ(FindProductionDateReply(reply.data(), reply.size(), 0xCA), "2020-03-15");

    const Bytes stray = Concat({0x5A, 0x00}, Reply(0xCA, 0xA3, {0x05, 0x12, 0x99, 0x19}));
    EXPECT_EQ(FindProductionDateReply(stray.data(), stray.size(), 0xCA), "1999-12-05");
    EXPECT_FALSE(FindProductionDateReply(reply.data(), 8, 0xCA));
    EXPECT_FALSE(FindProductionDateReply(reply.data(), reply.size(), 0xCB));

    // Digits that are not BCD give the widest text, which still fits the catalogue field.
    const Bytes wild = Reply(0xCA, 0xA3, {0xFF, 0xFF, 0xFF, 0xFF});
    const auto text = FindProductionDateReply(wild.data(), wild.size(), 0xCA);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "16665-165-165");
    EXPECT_LT(text->size(), sizeof(_ZP_Device_Info{}.m_szDate));
}

}  // namespace
}  // namespace somatrix
