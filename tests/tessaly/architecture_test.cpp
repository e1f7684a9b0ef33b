#include "architecture.h"

#include <gtest/gtest.h>

namespace tessaly::test {
namespace {

TEST(Architecture, OnlyX64AndItaniumAreSixtyFourBitOnWindows) {
    EXPECT_EQ(BitsOfWindowsArchitecture(9), 64);   // x64
    EXPECT_EQ(BitsOfWindowsArchitecture(6), 64);   // Itanium
    EXPECT_EQ(BitsOfWindowsArchitecture(0), 32);   // x86
    EXPECT_EQ(BitsOfWindowsArchitecture(5), 32);   // ARM
    EXPECT_EQ(BitsOfWindowsArchitecture(12), 32);  // ARM64
    EXPECT_EQ(BitsOfWindowsArchitecture(0xFFFF), 32);
}

TEST(Architecture, EverySixtyFourBitProcessorCountsElsewhere) {
    for (const char* pszCpu :
         {"x86_64", "arm64", "ia64", "riscv64", "power64", "mips64", "s390x", "sparcv9"}) {
        EXPECT_EQ(BitsOfCpuName(QString::fromLatin1(pszCpu)), 64) << pszCpu;
    }
    for (const char* pszCpu : {"i386", "arm", "mips", "power", "riscv32", "sparc", ""}) {
        EXPECT_EQ(BitsOfCpuName(QString::fromLatin1(pszCpu)), 32) << pszCpu;
    }
}

}  // namespace
}  // namespace tessaly::test
