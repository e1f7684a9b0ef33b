#include "registrar.h"

#include "qt_print.h"
#include "stand_in_system.h"
#include "texts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tessaly::test {
namespace {

class RegistrarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        MakeStandIn(m_dir);
    }

    // Runs the operation once on a system of the given width; the log lines are collected.
    void Register(CStandInSystem& system) {
        CRegistrar registrar(system, [this](const QString& str) { m_log << str; });
        registrar.Register();
    }

    QString System32(const QString& strName) const {
        return DrivePath(m_dir, QStringLiteral("Windows/System32/") + strName);
    }
    QString SysWow64(const QString& strName) const {
        return DrivePath(m_dir, QStringLiteral("Windows/SysWOW64/") + strName);
    }

    QTemporaryDir m_dir;
    QStringList m_log;
};

TEST_F(RegistrarTest, ThirtyTwoBitMovesControlIntoSystem32AndRunsItsBatch) {
    CStandInSystem system(m_dir, 32);
    Register(system);

    EXPECT_EQ(m_log, QStringList({"32位系统", "拷贝到system32"}));
    EXPECT_EQ(system.m_commands, QStringList({"Cmd.exe /C Setup_32.bat"}));
    EXPECT_FALSE(QFile::exists(WorkPath(m_dir, "MSCOMM32.OCX")));
    EXPECT_EQ(ReadAll(System32("MSCOMM32.OCX")), QByteArray("control v1"));
    EXPECT_FALSE(QFile::exists(SysWow64("MSCOMM32.OCX")));
}

TEST_F(RegistrarTest, ThirtyTwoBitWithControlPresentOnlyRegisters) {
    WriteFile(System32("MSCOMM32.OCX"), "installed");
    CStandInSystem system(m_dir, 32);
    Register(system);

    EXPECT_EQ(m_log, QStringList({"32位系统", "注册C:/WINDOWS/system32/MSCOMM32.OCX"}));
    EXPECT_EQ(system.m_commands, QStringList({"Cmd.exe /C Setup_32.bat"}));
    EXPECT_EQ(ReadAll(WorkPath(m_dir, "MSCOMM32.OCX")), QByteArray("control v1"));
    EXPECT_EQ(ReadAll(System32("MSCOMM32.OCX")), QByteArray("installed"));
}

TEST_F(RegistrarTest, SixtyFourBitMovesControlIntoSysWow64AndRunsItsBatch) {
    CStandInSystem system(m_dir, 64);
    Register(system);

    EXPECT_EQ(m_log, QStringList({"64位系统", "拷贝到sysWOW64"}));
    EXPECT_EQ(system.m_commands, QStringList({"Cmd.exe /C Setup_64.bat"}));
    EXPECT_FALSE(QFile::exists(WorkPath(m_dir, "MSCOMM32.OCX")));
    EXPECT_EQ(ReadAll(SysWow64("MSCOMM32.OCX")), QByteArray("control v1"));
    EXPECT_FALSE(QFile::exists(System32("MSCOMM32.OCX")));
}

TEST_F(RegistrarTest, SixtyFourBitWithControlPresentOnlyRunsTheSixtyFourBitBatch) {
    WriteFile(SysWow64("MSCOMM32.OCX"), "installed");
    CStandInSystem system(m_dir, 64);
    Register(system);

    EXPECT_EQ(m_log, QStringList({"64位系统", "注册C:/WINDOWS/sysWOW64/MSCOMM32.OCX"}));
    EXPECT_EQ(system.m_commands, QStringList({"Cmd.exe /C Setup_64.bat"}));
    EXPECT_TRUE(QFile::exists(WorkPath(m_dir, "MSCOMM32.OCX")));
}

TEST_F(RegistrarTest, SixtyFourBitIgnoresAControlInSystem32) {
    WriteFile(System32("MSCOMM32.OCX"), "64-bit folder copy");
    CStandInSystem system(m_dir, 64);
    Register(system);

    EXPECT_EQ(m_log, QStringList({"64位系统", "拷贝到sysWOW64"}));
    EXPECT_EQ(ReadAll(SysWow64("MSCOMM32.OCX")), QByteArray("control v1"));
}

TEST_F(RegistrarTest, SecondPressFindsTheMovedControlAndOnlyRegisters) {
    CStandInSystem system(m_dir, 32);
    Register(system);
    Register(system);

    EXPECT_EQ(m_log, QStringList({"32位系统", "拷贝到system32", "32位系统",
                                  "注册C:/WINDOWS/system32/MSCOMM32.OCX"}));
    EXPECT_EQ(system.m_commands,
              QStringList({"Cmd.exe /C Setup_32.bat", "Cmd.exe /C Setup_32.bat"}));
    EXPECT_EQ(ReadAll(System32("MSCOMM32.OCX")), QByteArray("control v1"));
}

TEST_F(RegistrarTest, MissingControlIsReportedAndNothingIsRegistered) {
    QFile::remove(WorkPath(m_dir, "MSCOMM32.OCX"));
    CStandInSystem system(m_dir, 64);
    Register(system);

    EXPECT_EQ(m_log, QStringList({"64位系统", "拷贝到sysWOW64", texts::kNoControlFile}));
    EXPECT_TRUE(system.m_commands.isEmpty());
}

TEST_F(RegistrarTest, UnwritableSystemFolderIsReportedAndTheControlStays) {
    // No SysWOW64 folder on the stand-in drive: the move cannot land anywhere.
    ASSERT_TRUE(QDir(DrivePath(m_dir, "Windows/SysWOW64")).removeRecursively());
    CStandInSystem system(m_dir, 64);
    Register(system);

    EXPECT_EQ(m_log, QStringList({"64位系统", "拷贝到sysWOW64", texts::kMoveFailed}));
    EXPECT_TRUE(system.m_commands.isEmpty());
    EXPECT_EQ(ReadAll(WorkPath(m_dir, "MSCOMM32.OCX")), QByteArray("control v1"));
}

TEST_F(RegistrarTest, MissingBatchFileIsReportedInsteadOfStarted) {
    QFile::remove(WorkPath(m_dir, "Setup_32.bat"));
    WriteFile(System32("MSCOMM32.OCX"), "installed");
    CStandInSystem system(m_dir, 32);
    Register(system);

    EXPECT_EQ(m_log.last(), texts::kNoBatchFile.arg("Setup_32.bat"));
    EXPECT_EQ(m_log.last(), QStringLiteral("注册失败：当前文件夹中没有Setup_32.bat"));
    EXPECT_TRUE(system.m_commands.isEmpty());
}

TEST_F(RegistrarTest, CommandThatCannotStartIsReported) {
    CStandInSystem system(m_dir, 64);
    system.m_bStartWorks = false;
    Register(system);

    EXPECT_EQ(m_log, QStringList({"64位系统", "拷贝到sysWOW64",
                                  QStringLiteral("注册失败：无法运行“Cmd.exe /C Setup_64.bat”")}));
}

TEST_F(RegistrarTest, ArchitectureBitsAreSixtyFourOnlyForASixtyFourBitSystem) {
    CStandInSystem system64(m_dir, 64);
    CStandInSystem system32(m_dir, 32);
    EXPECT_EQ(CRegistrar(system64, [](const QString&) {}).GetArchitectureBits(), 64);
    EXPECT_EQ(CRegistrar(system32, [](const QString&) {}).GetArchitectureBits(), 32);
}

}  // namespace
}  // namespace tessaly::test
