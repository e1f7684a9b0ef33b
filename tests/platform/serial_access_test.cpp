#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/serial_access.h"

namespace somatrix {
namespace {

CPortNode Node(unsigned mode, unsigned uid, unsigned gid, const std::string& group) {
    return {"/dev/ttyUSB0", mode, uid, gid, group};
}

CPortUser User(unsigned uid, std::vector<unsigned> session, std::vector<unsigned> member) {
    return {"ana", uid, std::move(session), std::move(member)};
}

TEST(SerialAccess, VerdictOnPortsThisUserCanAndCannotOpen) {
    const CPortNode dialout = Node(0660, 0, 20, "dialout");
    // A member of the node's group, the owner, root and a world-writable node may.
    EXPECT_EQ(JudgePortAccess(dialout, User(1000, {1000, 20}, {1000, 20})).m_access,
              EPortAccess::kAllowed);
    EXPECT_EQ(JudgePortAccess(Node(0600, 1000, 0, "root"), User(1000, {1000}, {1000})).m_access,
              EPortAccess::kAllowed);
    EXPECT_EQ(JudgePortAccess(Node(0600, 0, 0, "root"), User(0, {0}, {0})).m_access,
              EPortAccess::kAllowed);
    EXPECT_EQ(JudgePortAccess(Node(0666, 0, 0, "root"), User(1000, {1000}, {1000})).m_access,
              EPortAccess::kAllowed);

    // Outside the group: join it.
    const CPortAccessVerdict join = JudgePortAccess(dialout, User(1000, {1000}, {1000}));
    EXPECT_EQ(join.m_access, EPortAccess::kJoinGroup);
    EXPECT_EQ(join.m_strGroup, "dialout");
    EXPECT_EQ(join.m_strPath, "/dev/ttyUSB0");
    EXPECT_EQ(join.m_strUser, "ana");
    // Listed in the group but this session predates it: log in again.
    EXPECT_EQ(JudgePortAccess(dialout, User(1000, {1000}, {1000, 20})).m_access,
              EPortAccess::kLogInAgain);
    // Read-only for the group, or root's own group: only a udev rule helps.
    const CPortAccessVerdict rule =
        JudgePortAccess(Node(0640, 0, 20, "dialout"), User(1000, {1000}, {1000}));
    EXPECT_EQ(rule.m_access, EPortAccess::kUdevRule);
    EXPECT_EQ(rule.m_strGroup, "dialout");
    EXPECT_EQ(JudgePortAccess(Node(0660, 0, 0, "root"), User(1000, {1000}, {1000})).m_access,
              EPortAccess::kUdevRule);
    // The owner is judged by the owner bits alone, even when the group would grant it.
    EXPECT_NE(JudgePortAccess(Node(0060, 1000, 20, "dialout"), User(1000, {20}, {20})).m_access,
              EPortAccess::kAllowed);
}

TEST(SerialAccess, ReadsARealNode) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "somatrix_tty";
    std::ofstream(path).put('x');
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    CPortNode node;
    ASSERT_TRUE(ReadPortNode(path.string(), node));
    EXPECT_EQ(node.m_nMode, 0640u);
    EXPECT_EQ(node.m_strPath, path.string());
    // The file is this user's own, so the owner bits decide: read and write are granted.
    EXPECT_EQ(JudgePortAccess(node, CurrentPortUser()).m_access, EPortAccess::kAllowed);
    EXPECT_FALSE(ReadPortNode((path.string() + "_missing"), node));
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace somatrix
