#include "host_system.h"

#include "architecture.h"
#include "qt_print.h"
#include "stand_in_system.h"

#include <QFile>

#include <gtest/gtest.h>

namespace tessaly::test {
namespace {

class HostSystemTest : public ::testing::Test {
protected:
    void SetUp() override { MakeStandIn(m_dir, "new control"); }

    QTemporaryDir m_dir;
    CHostSystem m_host{CPathMapper(m_dir.filePath("drive"), m_dir.filePath("work"))};
};

TEST_F(HostSystemTest, WindowsPathsFindStandInFilesInAnyCase) {
    EXPECT_FALSE(m_host.FileExists("C:/WINDOWS/sysWOW64/MSCOMM32.OCX"));
    WriteFile(DrivePath(m_dir, "Windows/SysWOW64/mscomm32.ocx"), "x");
    EXPECT_TRUE(m_host.FileExists("C:/WINDOWS/sysWOW64/MSCOMM32.OCX"));
    EXPECT_TRUE(m_host.FileExists("c:\\windows\\SYSWOW64\\MSCOMM32.OCX"));
    EXPECT_TRUE(m_host.FileExists("setup_64.BAT"));  // relative: the current folder
}

TEST_F(HostSystemTest, PathsOutsideTheStandInAreUnreachable) {
    WriteFile(m_dir.filePath("outside"), "x");
    for (const char* pszPath :
         {"D:/drive/outside", "C:/../outside", "..\\outside", "/etc/hostname", ""}) {
        EXPECT_FALSE(m_host.FileExists(pszPath)) << pszPath;
    }
#ifndef _WIN32
    // Without a stand-in a drive path is no file here, not a strange name in the current folder.
    EXPECT_EQ(CPathMapper(QString(), m_dir.path()).Resolve("C:/WINDOWS/x"), std::nullopt);
#endif
}

TEST_F(HostSystemTest, MoveReplacesAnExistingTarget) {
    const QString strTarget = DrivePath(m_dir, "Windows/System32/MSCOMM32.OCX");
    WriteFile(strTarget, "old control");
    EXPECT_EQ(m_host.MoveReplacing("MSCOMM32.OCX", "C:\\Windows\\System32\\MSCOMM32.OCX"),
              EMoveResult::kMoved);
    EXPECT_EQ(ReadAll(strTarget), QByteArray("new control"));
    EXPECT_FALSE(QFile::exists(WorkPath(m_dir, "MSCOMM32.OCX")));
    // Nothing left to move: the target stays as it is.
    EXPECT_EQ(m_host.MoveReplacing("MSCOMM32.OCX", "C:\\Windows\\System32\\MSCOMM32.OCX"),
              EMoveResult::kSourceMissing);
    EXPECT_EQ(ReadAll(strTarget), QByteArray("new control"));
}

TEST_F(HostSystemTest, MoveToAnUnreachablePlaceKeepsTheSource) {
    EXPECT_EQ(m_host.MoveReplacing("MSCOMM32.OCX", "D:\\Windows\\System32\\MSCOMM32.OCX"),
              EMoveResult::kFailed);
    EXPECT_EQ(ReadAll(WorkPath(m_dir, "MSCOMM32.OCX")), QByteArray("new control"));
}

#ifndef _WIN32
TEST_F(HostSystemTest, StartsCommandsThatExistOnly) {
    EXPECT_TRUE(m_host.StartHidden("true"));
    EXPECT_FALSE(m_host.StartHidden("Cmd.exe /C Setup_32.bat"));
    EXPECT_FALSE(m_host.StartHidden(""));
}
#endif

TEST(Architecture, SixtyFourBitsByTheRuleOfEachPlatform) {
    // Windows: only x64 (9) and Itanium (6); x86, ARM and ARM64 count as 32.
    for (unsigned n : {9u, 6u}) {
        EXPECT_EQ(BitsOfWindowsArchitecture(n), 64) << n;
    }
    for (unsigned n : {0u, 5u, 12u, 0xFFFFu}) {
        EXPECT_EQ(BitsOfWindowsArchitecture(n), 32) << n;
    }
    // Elsewhere every 64-bit processor.
    for (const char* psz : {"x86_64", "arm64", "ia64", "riscv64", "s390x", "sparcv9"}) {
        EXPECT_EQ(BitsOfCpuName(psz), 64) << psz;
    }
    for (const char* psz : {"i386", "arm", "mips", "riscv32", ""}) {
        EXPECT_EQ(BitsOfCpuName(psz), 32) << psz;
    }
}

}  // namespace
}  // namespace tessaly::test
