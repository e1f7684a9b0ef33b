#pragma once
// The width of the running system. On Windows it comes from the native system information, so
// a 32-bit Tessaly on 64-bit Windows still answers 64; elsewhere from the kernel's machine name.
#include <QString>

namespace tessaly {

// Windows processor architecture codes: x64 (9) and Itanium (6) are 64-bit, all others 32.
int BitsOfWindowsArchitecture(unsigned nArchitecture);
// Qt's CPU architecture names ("x86_64", "arm64", "i386", ...): every 64-bit processor is 64.
int BitsOfCpuName(const QString& strCpu);
// The running system's width by the rule of its platform.
int NativeArchitectureBits();

}  // namespace tessaly
