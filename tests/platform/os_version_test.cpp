#include <gtest/gtest.h>

#include "platform/os_version.h"

namespace somatrix {
namespace {

using A = EProcessorArchitecture;

TEST(OSVersion, NamesEveryVersionWithItsArchitecture) {
    EXPECT_EQ(FormatOSVersionName({5, 1, true, A::kX86}), "WINDOWS_XP(32位)");
    EXPECT_EQ(FormatOSVersionName({5, 2, true, A::kX64}), "WINDOWS_SERVER_2003(64位)");
    EXPECT_EQ(FormatOSVersionName({6, 0, true, A::kX86}), "WINDOWS_VISTA(32位)");
    EXPECT_EQ(FormatOSVersionName({6, 1, true, A::kX64}), "WINDOWS_7(64位)");
    EXPECT_EQ(FormatOSVersionName({6, 2, true, A::kX64}), "WINDOWS_8(64位)");
    EXPECT_EQ(FormatOSVersionName({6, 3, true, A::kX64}), "WINDOWS_NEW(64位)");
    EXPECT_EQ(FormatOSVersionName({10, 0, true, A::kX86}), "WINDOWS_NEW(32位)");
    EXPECT_EQ(FormatOSVersionName({5, 0, true, A::kX86}), "(32位)");
    EXPECT_EQ(FormatOSVersionName({6, 1, true, A::kOther}), "WINDOWS_7");
    EXPECT_EQ(FormatOSVersionName({6, 2, false, A::kX64}), "WINDOWS_8");
}

TEST(OSVersion, ChoosesTheInstallerFromTheName) {
    const std::string folder = "C:\\Program Files\\Somatrix\\";
    EXPECT_EQ(ChooseDriverInstaller(folder, "WINDOWS_8(64位)"),
              "C:\\Program Files\\Somatrix\\Usb\\Win8\\CP210xVCPInstaller_x64.exe");
    EXPECT_EQ(ChooseDriverInstaller(folder, "WINDOWS_8(32位)"),
              "C:\\Program Files\\Somatrix\\Usb\\Win8\\CP210xVCPInstaller_x86.exe");
    EXPECT_EQ(ChooseDriverInstaller(folder, "WINDOWS_8"),
              "C:\\Program Files\\Somatrix\\Usb\\Win8\\CP210xVCPInstaller_x86.exe");
    for (const char* name : {"WINDOWS_7(64位)", "WINDOWS_NEW(64位)", "WINDOWS_XP(32位)", ""}) {
        EXPECT_EQ(ChooseDriverInstaller(folder, name),
                  "C:\\Program Files\\Somatrix\\Usb\\WinAll\\CP210_WinAll.exe")
            << name;
    }
}

}  // namespace
}  // namespace somatrix
