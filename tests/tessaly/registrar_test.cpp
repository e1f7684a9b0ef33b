#include "registrar.h"

#include "qt_print.h"
#include "stand_in_system.h"
#include "texts.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace tessaly::test {
namespace {

class RegistrarTest : public ::testing::Test {
protected:
    void SetUp() override { MakeStandIn(m_dir); }

    // Presses register once on a system of the given width; returns the started commands.
    QStringList Register(int nBits, int nTimes = 1) {
        CStandInSystem system(m_dir, nBits);
        system.m_bStartWorks = m_bStartWorks;
        CRegistrar registrar(system, [this](const QString& str) { m_log << str; });
        for (int i = 0; i < nTimes; ++i) {
            registrar.Register();
        }
        return system.m_commands;
    }
    QString System32() const { return DrivePath(m_dir, "Windows/System32/MSCOMM32.OCX"); }
    QString SysWow64() const { return DrivePath(m_dir, "Windows/SysWOW64/MSCOMM32.OCX"); }

    QTemporaryDir m_dir;
    QStringList m_log;
    bool m_bStartWorks = true;
};

TEST_F(RegistrarTest, ThirtyTwoBitMovesTheControlThenSecondPressOnlyRegisters) {
    EXPECT_EQ(Register(32, 2), QStringList({"Cmd.exe /C Setup_32.bat", "Cmd.exe /C Setup_32.bat"}));
    EXPECT_EQ(m_log, QStringList({"32位系统", "拷贝到system32", "32位系统",
                                  "注册C:/WINDOWS/system32/MSCOMM32.OCX"}));
    EXPECT_FALSE(QFile::exists(WorkPath(m_dir, "MSCOMM32.OCX")));
    EXPECT_EQ(ReadAll(System32()), QByteArray("control v1"));
    EXPECT_FALSE(QFile::exists(SysWow64()));
}

TEST_F(RegistrarTest, SixtyFourBitWithTheControlPresentOnlyRunsTheSixtyFourBitBatch) {
    WriteFile(SysWow64(), "installed");
    EXPECT_EQ(Register(64), QStringList({"Cmd.exe /C Setup_64.bat"}));
    EXPECT_EQ(m_log, QStringList({"64位系统", "注册C:/WINDOWS/sysWOW64/MSCOMM32.OCX"}));
    EXPECT_EQ(ReadAll(WorkPath(m_dir, "MSCOMM32.OCX")), QByteArray("control v1"));
    EXPECT_EQ(ReadAll(SysWow64()), QByteArray("installed"));
}

TEST_F(RegistrarTest, MissingControlIsReportedAndNothingIsRegistered) {
    QFile::remove(WorkPath(m_dir, "MSCOMM32.OCX"));
    EXPECT_TRUE(Register(64).isEmpty());
    EXPECT_EQ(m_log, QStringList({"64位系统", "拷贝到sysWOW64", texts::kNoControlFile}));
}

TEST_F(RegistrarTest, UnwritableSystemFolderIsReportedAndTheControlStays) {
    ASSERT_TRUE(QDir(DrivePath(m_dir, "Windows/SysWOW64")).removeRecursively());
    EXPECT_TRUE(Register(64).isEmpty());
    EXPECT_EQ(m_log, QStringList({"64位系统", "拷贝到sysWOW64", texts::kMoveFailed}));
    EXPECT_EQ(ReadAll(WorkPath(m_dir, "MSCOMM32.OCX")), QByteArray("control v1"));
}

TEST_F(RegistrarTest, MissingOrUnstartableBatchIsReported) {
    WriteFile(System32(), "installed");
    QFile::remove(WorkPath(m_dir, "Setup_32.bat"));
    EXPECT_TRUE(Register(32).isEmpty());
    EXPECT_EQ(m_log.last(), QStringLiteral("注册失败：当前文件夹中没有Setup_32.bat"));

    m_bStartWorks = false;
    EXPECT_TRUE(Register(64).isEmpty());
    EXPECT_EQ(m_log.last(), QStringLiteral("注册失败：无法运行“Cmd.exe /C Setup_64.bat”"));
    EXPECT_EQ(ReadAll(SysWow64()), QByteArray("control v1"));  // the move itself went through
}

}  // namespace
}  // namespace tessaly::test
