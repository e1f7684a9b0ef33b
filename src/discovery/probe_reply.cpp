#include "discovery/probe_reply.h"

#include "protocol/frame.h"
#include "protocol/oper_core.h"

namespace somatrix {

namespace {

constexpr size_t kPresenceBytes = 5;
constexpr size_t kInfoReplyBytes = 9;  // FF t 07 c cmd + four data bytes
constexpr uint8_t kInfoReplyLength = 7;

// Head of a four-data-byte reply to `command` at position j (the caller keeps j + 8 < n).
bool IsInfoReplyHead(const uint8_t* r, uint8_t type, uint8_t command) {
    return r[0] == kFrameStart && r[kPosType] == type && r[kPosLength] == kInfoReplyLength &&
           r[kPosCommand] == command;
}

}  // namespace

bool FindPresenceReply(const uint8_t* reply, size_t n, uint8_t type) {
    if (n < kPresenceBytes) {
        return false;
    }
    for (size_t j = 0; j + kPresenceBytes <= n; ++j) {
        const uint8_t* r = reply + j;
        const uint8_t command = r[kPosCommand];
        if (r[0] == kFrameStart && r[kPosType] == type && r[kPosLength] == 3 &&
            r[kPosChecksum] == static_cast<uint8_t>(r[kPosLength] + command) &&
            (command == cmd::kPresenceReply || command == cmd::kPresence)) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> FindDeviceNumberReply(const uint8_t* reply, size_t n, uint8_t type) {
    if (n < kInfoReplyBytes) {
        return std::nullopt;
    }
    for (size_t j = 0; j + kInfoReplyBytes <= n; ++j) {
        const uint8_t* r = reply + j;
        if (IsInfoReplyHead(r, type, cmd::kDeviceNumber) &&
            r[kPosChecksum] == FrameChecksum(r, kInfoReplyBytes)) {
            return FormatDeviceNumber(r + kPosPayload);
        }
    }
    return std::nullopt;
}

std::optional<std::string> FindProductionDateReply(const uint8_t* reply, size_t n, uint8_t type) {
    if (n < kInfoReplyBytes) {
        return std::nullopt;
    }
    for (size_t j = 0; j + kInfoReplyBytes <= n; ++j) {
        const uint8_t* r = reply + j;
        if (IsInfoReplyHead(r, type, cmd::kProductionDate)) {
            return FormatProductionDate(r + kPosPayload);
        }
    }
    return std::nullopt;
}

}  // namespace somatrix
