#include "architecture.h"

#include <QSysInfo>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tessaly {

int BitsOfWindowsArchitecture(unsigned nArchitecture) {
    constexpr unsigned kIa64 = 6;
    constexpr unsigned kAmd64 = 9;
    return nArchitecture == kAmd64 || nArchitecture == kIa64 ? 64 : 32;
}

int BitsOfCpuName(const QString& strCpu) {
    // Qt's names for 64-bit processors end in "64", except these two.
    if (strCpu == QLatin1String("s390x") || strCpu == QLatin1String("sparcv9")) {
        return 64;
    }
    return strCpu.endsWith(QLatin1String("64")) ? 64 : 32;
}

#ifdef _WIN32
int NativeArchitectureBits() {
    // GetNativeSystemInfo is missing on the oldest systems; they are 32-bit by the same rule.
    using FnNativeInfo = void(WINAPI*)(LPSYSTEM_INFO);
    SYSTEM_INFO info{};
    // Through the generic function pointer type, which converts to any other without a warning.
    auto pfn = reinterpret_cast<FnNativeInfo>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "GetNativeSystemInfo")));
    if (pfn != nullptr) {
        pfn(&info);
    } else {
        GetSystemInfo(&info);
    }
    return BitsOfWindowsArchitecture(info.wProcessorArchitecture);
}
#else
int NativeArchitectureBits() {
    // On Unix Qt reads the kernel's machine name, which is the native one.
    return BitsOfCpuName(QSysInfo::currentCpuArchitecture());
}
#endif

}  // namespace tessaly
