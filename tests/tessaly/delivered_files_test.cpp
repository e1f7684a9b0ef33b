#include "qt_print.h"
#include "stand_in_system.h"

#include <QString>

#include <gtest/gtest.h>

// The batch files the register operation starts must lie beside the built program and register
// the control in the folder it was moved to.
namespace tessaly::test {
namespace {

QString BesideProgram(const char* pszName) {
    return QString::fromUtf8(TESSALY_PROGRAM_DIR) + '/' + QString::fromLatin1(pszName);
}

TEST(DeliveredFiles, ThirtyTwoBitBatchRegistersTheControlInSystem32) {
    const QString strBatch = QString::fromLatin1(ReadAll(BesideProgram("Setup_32.bat")));
    EXPECT_TRUE(strBatch.contains("regsvr32.exe \"C:\\Windows\\System32\\MSCOMM32.OCX\"",
                                  Qt::CaseInsensitive))
        << strBatch.toStdString();
    EXPECT_FALSE(strBatch.contains("SysWOW64", Qt::CaseInsensitive));
}

TEST(DeliveredFiles, SixtyFourBitBatchRegistersTheControlInSysWow64) {
    const QString strBatch = QString::fromLatin1(ReadAll(BesideProgram("Setup_64.bat")));
    EXPECT_TRUE(strBatch.contains("regsvr32.exe \"C:\\Windows\\SysWOW64\\MSCOMM32.OCX\"",
                                  Qt::CaseInsensitive))
        << strBatch.toStdString();
    EXPECT_FALSE(strBatch.contains("System32", Qt::CaseInsensitive));
}

TEST(DeliveredFiles, BatchFilesUseWindowsLineEnds) {
    for (const char* pszName : {"Setup_32.bat", "Setup_64.bat"}) {
        const QByteArray bytes = ReadAll(BesideProgram(pszName));
        ASSERT_FALSE(bytes.isEmpty()) << pszName;
        EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n")) << pszName;
    }
}

}  // namespace
}  // namespace tessaly::test
