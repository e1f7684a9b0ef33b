#pragma once
// The reply searches of the device scan. A probe read returns up to 32 bytes of whatever the
// port delivered, possibly with stray bytes before the reply, so each search slides a window
// from position 0 and takes the first position where every condition holds.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace somatrix {

// Presence reply FF t 03 c K with K = 0x5A or 0xAA and c = (3 + K) mod 256.
bool FindPresenceReply(const uint8_t* reply, size_t n, uint8_t type);

// Device-number reply FF t 07 c A2 d0 d1 d2 d3 with a valid checksum: "%02X%02X%02X%02X".
std::optional<std::string> FindDeviceNumberReply(const uint8_t* reply, size_t n, uint8_t type);

// Production-date reply FF t 07 c A3 day month year century (BCD). Sensors are known to send
// this reply with a wrong checksum byte, so the checksum is not examined.
std::optional<std::string> FindProductionDateReply(const uint8_t* reply, size_t n, uint8_t type);

}  // namespace somatrix
