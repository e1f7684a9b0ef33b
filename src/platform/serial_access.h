#pragma once
// Whether this user may open the USB serial ports the sensors appear on, and what would fix it
// when not. On Linux a port node belongs to a group (normally "dialout") that grants read and
// write; a user outside that group cannot open the port and the scan finds nothing. The judgement
// is a pure function of the node's owner and mode and of the user's groups; the system query
// around it fills those in.
#include <string>
#include <vector>

namespace somatrix {

// A serial port node as stat() sees it.
struct CPortNode {
    std::string m_strPath;  // "/dev/ttyUSB0"
    unsigned m_nMode = 0;   // permission bits (0660)
    unsigned m_nUid = 0;
    unsigned m_nGid = 0;
    std::string m_strGroup;  // name of m_nGid, "dialout"
};

// The user running the program.
struct CPortUser {
    std::string m_strName;
    unsigned m_nUid = 0;
    std::vector<unsigned> m_sessionGroups;  // the groups this process runs with
    std::vector<unsigned> m_memberGroups;   // the groups the group database lists the user in
};

enum class EPortAccess {
    kAllowed,     // read and write granted
    kJoinGroup,   // the node's group grants access; the user must join it
    kLogInAgain,  // the user was added to the group, but this session started before that
    kUdevRule,    // no group grants access: a udev rule must give the nodes to a group
};

struct CPortAccessVerdict {
    EPortAccess m_access = EPortAccess::kAllowed;
    std::string m_strPath;   // the node judged
    std::string m_strGroup;  // the group to join (kJoinGroup, kLogInAgain, kUdevRule)
    std::string m_strUser;
};

// The group a udev rule gives the bridge's nodes to when no group grants access yet.
inline constexpr const char* kSerialGroup = "dialout";
// Where that rule goes and what it says (Silicon Labs' vendor id covers every CP210x bridge).
inline constexpr const char* kUdevRulePath = "/etc/udev/rules.d/50-somatrix-cp210x.rules";
inline constexpr const char* kUdevRule =
    "SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"10c4\", MODE=\"0660\", GROUP=\"dialout\"";

// Judges one node for one user with the kernel's rules: root may, the owner by the owner bits, a
// member of the node's group by the group bits, everyone else by the other bits.
CPortAccessVerdict JudgePortAccess(const CPortNode& node, const CPortUser& user);

// Judges every USB serial port present (ttyUSB*, ttyACM* under `devFolder`) and returns the first
// that this user cannot open, else the first port; with no port present, judges the node a
// bridge would get (root, group "dialout", 0660). `present` tells which case it was.
CPortAccessVerdict CheckSerialPortAccess(bool& present, const std::string& devFolder = "/dev");

// Fills a node from the file at `path`; false when it cannot be read.
bool ReadPortNode(const std::string& path, CPortNode& node);
// The user running this process.
CPortUser CurrentPortUser();

}  // namespace somatrix
