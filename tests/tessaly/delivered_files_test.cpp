#include "stand_in_system.h"

#include <gtest/gtest.h>

namespace tessaly::test {
namespace {

// The batch files lie beside the built program, register the control in the folder it was
// moved to, and keep the line ends cmd expects.
TEST(DeliveredFiles, EachBatchRegistersTheControlInItsOwnSystemFolder) {
    const struct {
        const char* pszName;
        const char* pszFolder;
        const char* pszOtherFolder;
    } batches[] = {{"Setup_32.bat", "System32", "SysWOW64"},
                   {"Setup_64.bat", "SysWOW64", "System32"}};
    for (const auto& batch : batches) {
        const QByteArray bytes =
            ReadAll(QStringLiteral(TESSALY_PROGRAM_DIR "/") + QLatin1String(batch.pszName));
        const QString strText = QString::fromLatin1(bytes);
        const QString strRegister =
            QStringLiteral("regsvr32.exe \"C:\\Windows\\%1\\MSCOMM32.OCX\"").arg(batch.pszFolder);
        EXPECT_TRUE(strText.contains(strRegister, Qt::CaseInsensitive)) << batch.pszName;
        EXPECT_FALSE(strText.contains(batch.pszOtherFolder, Qt::CaseInsensitive)) << batch.pszName;
        EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n")) << batch.pszName;
    }
}

}  // namespace
}  // namespace tessaly::test
