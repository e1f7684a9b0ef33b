#include "host_system.h"

#include "stand_in_system.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tessaly::test {
namespace {

class HostSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        MakeStandIn(m_dir, "new control");
    }
    CHostSystem Host() const {
        return CHostSystem(CPathMapper(m_dir.filePath("drive"), m_dir.filePath("work")));
    }

    QTemporaryDir m_dir;
};

TEST_F(HostSystemTest, MoveReplacesAnExistingTarget) {
    const QString strTarget = DrivePath(m_dir, "Windows/System32/MSCOMM32.OCX");
    WriteFile(strTarget, "old control");
    CHostSystem host = Host();

    EXPECT_EQ(host.MoveReplacing("MSCOMM32.OCX", "C:\\Windows\\System32\\MSCOMM32.OCX"),
              EMoveResult::kMoved);
    EXPECT_EQ(ReadAll(strTarget), QByteArray("new control"));
    EXPECT_FALSE(QFile::exists(WorkPath(m_dir, "MSCOMM32.OCX")));
}

TEST_F(HostSystemTest, MoveWithoutSourceChangesNothing) {
    QFile::remove(WorkPath(m_dir, "MSCOMM32.OCX"));
    const QString strTarget = DrivePath(m_dir, "Windows/System32/MSCOMM32.OCX");
    WriteFile(strTarget, "old control");
    CHostSystem host = Host();

    EXPECT_EQ(host.MoveReplacing("MSCOMM32.OCX", "C:\\Windows\\System32\\MSCOMM32.OCX"),
              EMoveResult::kSourceMissing);
    EXPECT_EQ(ReadAll(strTarget), QByteArray("old control"));
}

TEST_F(HostSystemTest, MoveToAnUnreachableDriveFailsAndKeepsTheSource) {
    CHostSystem host = Host();
    EXPECT_EQ(host.MoveReplacing("MSCOMM32.OCX", "D:\\Windows\\System32\\MSCOMM32.OCX"),
              EMoveResult::kFailed);
    EXPECT_EQ(ReadAll(WorkPath(m_dir, "MSCOMM32.OCX")), QByteArray("new control"));
}

TEST_F(HostSystemTest, FileExistsLooksOnTheStandInDrive) {
    CHostSystem host = Host();
    EXPECT_FALSE(host.FileExists("C:/WINDOWS/system32/MSCOMM32.OCX"));
    WriteFile(DrivePath(m_dir, "Windows/System32/MSCOMM32.OCX"), "x");
    EXPECT_TRUE(host.FileExists("C:/WINDOWS/system32/MSCOMM32.OCX"));
    EXPECT_TRUE(host.FileExists("Setup_64.bat"));
}

TEST_F(HostSystemTest, NativeBitsAreThirtyTwoOrSixtyFour) {
    const int nBits = CHostSystem().GetNativeBits();
    EXPECT_TRUE(nBits == 32 || nBits == 64) << nBits;
    EXPECT_EQ(nBits, sizeof(void*) == 8 ? 64 : nBits);  // a 64-bit program runs on a 64-bit system
}

#ifndef _WIN32
TEST_F(HostSystemTest, StartsAHarmlessCommandWithoutWaiting) {
    CHostSystem host = Host();
    EXPECT_TRUE(host.StartHidden("true"));
}

TEST_F(HostSystemTest, WindowsCommandCannotStartHere) {
    CHostSystem host = Host();
    EXPECT_FALSE(host.StartHidden("Cmd.exe /C Setup_32.bat"));
    EXPECT_FALSE(host.StartHidden(""));
}
#endif

}  // namespace
}  // namespace tessaly::test
