#pragma once
// The running system's name as the driver command uses it ("WINDOWS_8(64位)", …) and the bridge
// driver installer that fits a name. The naming and the choice are pure functions of their
// inputs so that every Windows version can be checked on any machine.
#include <string>

namespace somatrix {

enum class EProcessorArchitecture { kX86, kX64, kOther };

struct COSVersion {
    unsigned m_nMajor = 0;
    unsigned m_nMinor = 0;
    // False when the extended version information could not be read: the name gets no suffix.
    bool m_bExtended = true;
    EProcessorArchitecture m_architecture = EProcessorArchitecture::kOther;
};

// "WINDOWS_XP" (5.1), "WINDOWS_SERVER_2003" (5.2), "WINDOWS_VISTA" (6.0), "WINDOWS_7" (6.1),
// "WINDOWS_8" (6.2), "WINDOWS_NEW" above 6.2, else empty; then "(64位)" for x64 or "(32位)" for
// x86.
std::string FormatOSVersionName(const COSVersion& version);

// The name of the running system. Empty on systems other than Windows.
std::string GetOSVersionName();

// The installer under the program folder's Usb subfolder for a system name: the Win8 installers
// (x64 when the name holds "64", else x86) for names with "WINDOWS_8", the all-versions installer
// for every other name. `programFolder` ends with a separator.
std::string ChooseDriverInstaller(const std::string& programFolder, const std::string& osName);

}  // namespace somatrix
