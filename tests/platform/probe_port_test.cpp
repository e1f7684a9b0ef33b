#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/serial_probe_port.h"
#include "protocol/frame.h"
#include "pty_pair.h"

namespace somatrix {
namespace {

using testing::CPtyPair;

// Reads what arrived, allowing the terminal a moment to pass the bytes on.
std::vector<uint8_t> ReadArrived(CProbePort& port, size_t expected) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 200 && bytes.size() < expected; ++i) {
        uint8_t buffer[64] = {};
        const size_t n = port.Read(buffer, 32);
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (n == 0) {
            QThread::msleep(5);
        }
    }
    return bytes;
}

TEST(SerialProbePort, ExchangesOverATerminal) {
    CPtyPair pty;
    ASSERT_FALSE(pty.Path().empty());
    std::unique_ptr<CProbePort> port = OpenSerialProbePort(pty.Path());
    ASSERT_TRUE(port);
    // While it is open, a second opener is refused and told that the port is taken.
    bool busy = false;
    EXPECT_FALSE(OpenSerialProbePort(pty.Path(), &busy));
    EXPECT_TRUE(busy);
    EXPECT_FALSE(OpenSerialProbePort("/dev/somatrix-no-such-port", &busy));
    EXPECT_FALSE(busy);

    uint8_t nothing[32];
    EXPECT_EQ(port->Read(nothing, 32), 0u);  // returns at once when nothing has arrived

    const CFrame presence = PresenceRequest(0xCA);
    port->Write(presence.data(), presence.size());
    EXPECT_EQ(pty.Receive(5), (std::vector<uint8_t>{0xFF, 0xCA, 0x03, 0xAD, 0xAA}));

    // At most 32 bytes a read, in order.
    std::vector<uint8_t> reply(40);
    for (size_t i = 0; i < reply.size(); ++i) {
        reply[i] = static_cast<uint8_t>(0xF0 - i);
    }
    pty.Send(reply);
    std::vector<uint8_t> first = ReadArrived(*port, 32);
    ASSERT_EQ(first.size(), 32u);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), reply.begin()));
    EXPECT_EQ(ReadArrived(*port, 8), std::vector<uint8_t>(reply.begin() + 32, reply.end()));

    // A purge drops what has arrived.
    pty.Send({0xFF, 0xCA, 0x03, 0x5D, 0x5A});
    QThread::msleep(50);
    port->Purge();
    port->ClearErrors();
    EXPECT_EQ(port->Read(nothing, 32), 0u);

    // The far end hanging up leaves reads empty, never failing.
    pty.Unplug();
    EXPECT_EQ(port->Read(nothing, 32), 0u);
}

TEST(SerialProbePort, RefusesWhatIsNoSerialPort) {
    EXPECT_FALSE(OpenSerialProbePort("/dev/somatrix-no-such-port"));
    EXPECT_FALSE(OpenSerialProbePort("ttySomatrixMissing"));
    const std::string plain = std::filesystem::temp_directory_path() / "somatrix_probe_plain";
    std::FILE* f = std::fopen(plain.c_str(), "w");
    ASSERT_TRUE(f);
    std::fclose(f);
    EXPECT_FALSE(OpenSerialProbePort(plain));
    std::filesystem::remove(plain);
}

}  // namespace
}  // namespace somatrix
