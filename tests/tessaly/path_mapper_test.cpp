#include "path_mapper.h"

#include "qt_print.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tessaly::test {
namespace {

class PathMapperTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QDir(m_dir.path()).mkpath("drive/Windows/SysWOW64");
        QDir(m_dir.path()).mkpath("work");
    }
    CPathMapper Mapper() const {
        return CPathMapper(m_dir.filePath("drive"), m_dir.filePath("work"));
    }

    QTemporaryDir m_dir;
};

TEST_F(PathMapperTest, DrivePathsFindExistingFoldersInAnyCase) {
    const QString strExpected = m_dir.filePath("drive/Windows/SysWOW64/MSCOMM32.OCX");
    EXPECT_EQ(Mapper().Resolve("C:/WINDOWS/sysWOW64/MSCOMM32.OCX"), strExpected);
    EXPECT_EQ(Mapper().Resolve("C:\\Windows\\sysWOW64\\MSCOMM32.OCX"), strExpected);
    EXPECT_EQ(Mapper().Resolve("c:\\windows\\SYSWOW64\\MSCOMM32.OCX"), strExpected);
}

TEST_F(PathMapperTest, ExistingFileIsFoundInAnyCase) {
    QFile file(m_dir.filePath("work/mscomm32.ocx"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(Mapper().Resolve("MSCOMM32.OCX"), m_dir.filePath("work/mscomm32.ocx"));
}

TEST_F(PathMapperTest, MissingNamesKeepTheirSpelling) {
    EXPECT_EQ(Mapper().Resolve("C:/WINDOWS/system32/MSCOMM32.OCX"),
              m_dir.filePath("drive/Windows/system32/MSCOMM32.OCX"));
}

TEST_F(PathMapperTest, RelativePathsAreTakenFromTheCurrentFolder) {
    EXPECT_EQ(Mapper().Resolve("Setup_32.bat"), m_dir.filePath("work/Setup_32.bat"));
}

TEST_F(PathMapperTest, OtherDrivesAndClimbingOutAreUnreachable) {
    EXPECT_EQ(Mapper().Resolve("D:/WINDOWS/system32/MSCOMM32.OCX"), std::nullopt);
    EXPECT_EQ(Mapper().Resolve("C:/WINDOWS/../../etc/passwd"), std::nullopt);
    EXPECT_EQ(Mapper().Resolve("..\\MSCOMM32.OCX"), std::nullopt);
    EXPECT_EQ(Mapper().Resolve("/etc/passwd"), std::nullopt);
    EXPECT_EQ(Mapper().Resolve(""), std::nullopt);
}

#ifndef _WIN32
TEST_F(PathMapperTest, WithoutStandInDrivePathsAreUnreachableHere) {
    const CPathMapper mapper(QString(), m_dir.filePath("work"));
    EXPECT_EQ(mapper.Resolve("C:/WINDOWS/system32/MSCOMM32.OCX"), std::nullopt);
    EXPECT_EQ(mapper.Resolve("C:\\Windows\\System32\\MSCOMM32.OCX"), std::nullopt);
    EXPECT_EQ(mapper.Resolve("MSCOMM32.OCX"), m_dir.filePath("work/MSCOMM32.OCX"));
}
#endif

}  // namespace
}  // namespace tessaly::test
