#include "platform/serial_access.h"

#include <algorithm>

#include "platform/port_names.h"

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace somatrix {

namespace {

bool Contains(const std::vector<unsigned>& groups, unsigned gid) {
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

// Read and write for the class the bits at `shift` belong to.
bool GrantsReadWrite(unsigned mode, unsigned shift) {
    return ((mode >> shift) & 06u) == 06u;
}

}  // namespace

CPortAccessVerdict JudgePortAccess(const CPortNode& node, const CPortUser& user) {
    CPortAccessVerdict verdict;
    verdict.m_strPath = node.m_strPath;
    verdict.m_strUser = user.m_strName;
    verdict.m_strGroup = node.m_strGroup;
    // The kernel looks at exactly one class: owner, else group, else other.
    bool allowed = false;
    if (user.m_nUid == 0) {
        allowed = true;
    } else if (user.m_nUid == node.m_nUid) {
        allowed = GrantsReadWrite(node.m_nMode, 6);
    } else if (Contains(user.m_sessionGroups, node.m_nGid)) {
        allowed = GrantsReadWrite(node.m_nMode, 3);
    } else {
        allowed = GrantsReadWrite(node.m_nMode, 0);
    }
    if (allowed) {
        verdict.m_access = EPortAccess::kAllowed;
        return verdict;
    }
    // Joining the node's group helps only when the group bits grant access and the group is not
    // root's own (a rule is the proper way then, not making the user a root-group member).
    const bool groupHelps = GrantsReadWrite(node.m_nMode, 3) && node.m_nGid != 0 &&
                            !Contains(user.m_sessionGroups, node.m_nGid);
    if (groupHelps) {
        verdict.m_access = Contains(user.m_memberGroups, node.m_nGid) ? EPortAccess::kLogInAgain
                                                                      : EPortAccess::kJoinGroup;
        return verdict;
    }
    verdict.m_access = EPortAccess::kUdevRule;
    verdict.m_strGroup = kSerialGroup;
    return verdict;
}

#ifndef _WIN32

bool ReadPortNode(const std::string& path, CPortNode& node) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return false;
    }
    node.m_strPath = path;
    node.m_nMode = info.st_mode & 07777u;
    node.m_nUid = info.st_uid;
    node.m_nGid = info.st_gid;
    const group* g = getgrgid(info.st_gid);
    node.m_strGroup = g != nullptr ? g->gr_name : std::to_string(info.st_gid);
    return true;
}

CPortUser CurrentPortUser() {
    CPortUser user;
    user.m_nUid = geteuid();
    const passwd* pw = getpwuid(user.m_nUid);
    user.m_strName = pw != nullptr ? pw->pw_name : std::to_string(user.m_nUid);
    const int count = getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> groups(static_cast<size_t>(count));
        const int n = getgroups(count, groups.data());
        for (int i = 0; i < n; ++i) {
            user.m_sessionGroups.push_back(groups[static_cast<size_t>(i)]);
        }
    }
    user.m_sessionGroups.push_back(getegid());
    if (pw != nullptr) {
        int n = 64;
        std::vector<gid_t> groups(static_cast<size_t>(n));
        if (getgrouplist(pw->pw_name, pw->pw_gid, groups.data(), &n) < 0 && n > 64) {
            groups.resize(static_cast<size_t>(n));
            getgrouplist(pw->pw_name, pw->pw_gid, groups.data(), &n);
        }
        groups.resize(static_cast<size_t>(std::max(n, 0)));
        user.m_memberGroups.assign(groups.begin(), groups.end());
    }
    return user;
}

CPortAccessVerdict CheckSerialPortAccess(bool& present, const std::string& devFolder) {
    const CPortUser user = CurrentPortUser();
    std::vector<CPortNode> nodes;
    for (const std::string& name : ListUsbSerialPorts("/sys/class/tty")) {
        CPortNode node;
        if (ReadPortNode(devFolder + "/" + name, node)) {
            nodes.push_back(node);
        }
    }
    present = !nodes.empty();
    if (!present) {
        // What udev gives a bridge on Debian and its relatives when it is plugged in.
        CPortNode typical;
        typical.m_strPath = devFolder + "/ttyUSB0";
        typical.m_nMode = 0660;
        typical.m_strGroup = kSerialGroup;
        const group* g = getgrnam(kSerialGroup);
        typical.m_nGid = g != nullptr ? g->gr_gid : 20;
        return JudgePortAccess(typical, user);
    }
    CPortAccessVerdict first = JudgePortAccess(nodes.front(), user);
    for (const CPortNode& node : nodes) {
        CPortAccessVerdict verdict = JudgePortAccess(node, user);
        if (verdict.m_access != EPortAccess::kAllowed) {
            return verdict;
        }
    }
    return first;
}

#else

bool ReadPortNode(const std::string&, CPortNode&) {
    return false;
}

CPortUser CurrentPortUser() {
    return {};
}

CPortAccessVerdict CheckSerialPortAccess(bool& present, const std::string&) {
    present = false;
    return {};
}

#endif

}  // namespace somatrix
