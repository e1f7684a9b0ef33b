#include "platform/os_version.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace somatrix {

std::string FormatOSVersionName(const COSVersion& version) {
    struct CNamed {
        unsigned m_nMajor;
        unsigned m_nMinor;
        const char* m_pszName;
    };
    static constexpr CNamed kNames[] = {{5, 1, "WINDOWS_XP"},
                                        {5, 2, "WINDOWS_SERVER_2003"},
                                        {6, 0, "WINDOWS_VISTA"},
                                        {6, 1, "WINDOWS_7"},
                                        {6, 2, "WINDOWS_8"}};
    std::string name;
    for (const CNamed& named : kNames) {
        if (version.m_nMajor == named.m_nMajor && version.m_nMinor == named.m_nMinor) {
            name = named.m_pszName;
            break;
        }
    }
    if (name.empty() && (version.m_nMajor > 6 || (version.m_nMajor >= 6 && version.m_nMinor > 2))) {
        name = "WINDOWS_NEW";
    }
    if (!version.m_bExtended) {
        return name;
    }
    switch (version.m_architecture) {
        case EProcessorArchitecture::kX64:
            return name + "(64位)";
        case EProcessorArchitecture::kX86:
            return name + "(32位)";
        case EProcessorArchitecture::kOther:
            break;
    }
    return name;
}

std::string ChooseDriverInstaller(const std::string& programFolder, const std::string& osName) {
    if (osName.find("WINDOWS_8") != std::string::npos) {
        if (osName.find("64") != std::string::npos) {
            return programFolder + "Usb\\Win8\\CP210xVCPInstaller_x64.exe";
        }
        return programFolder + "Usb\\Win8\\CP210xVCPInstaller_x86.exe";
    }
    return programFolder + "Usb\\WinAll\\CP210_WinAll.exe";
}

#ifdef _WIN32

namespace {

// GetVersionEx reports 6.2 for every later system to programs without a compatibility manifest;
// the kernel's own call tells the truth, so Windows 10 and 11 are named WINDOWS_NEW.
bool ReadVersion(COSVersion& version) {
    using RtlGetVersionFn = LONG(WINAPI*)(PRTL_OSVERSIONINFOW);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll != nullptr) {
        const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        RTL_OSVERSIONINFOEXW info{};
        info.dwOSVersionInfoSize = sizeof(info);
        if (rtlGetVersion != nullptr &&
            rtlGetVersion(reinterpret_cast<PRTL_OSVERSIONINFOW>(&info)) == 0) {
            version.m_nMajor = info.dwMajorVersion;
            version.m_nMinor = info.dwMinorVersion;
            return true;
        }
    }
    return false;
}

EProcessorArchitecture ReadArchitecture() {
    SYSTEM_INFO info{};
    // The native call sees a 64-bit system from a 32-bit program; the emulated one does not.
    using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto native = kernel == nullptr
                            ? nullptr
                            : reinterpret_cast<GetNativeSystemInfoFn>(reinterpret_cast<void*>(
                                  GetProcAddress(kernel, "GetNativeSystemInfo")));
    if (native != nullptr) {
        native(&info);
    } else {
        GetSystemInfo(&info);
    }
    switch (info.wProcessorArchitecture) {
        case PROCESSOR_ARCHITECTURE_AMD64:
            return EProcessorArchitecture::kX64;
        case PROCESSOR_ARCHITECTURE_INTEL:
            return EProcessorArchitecture::kX86;
        default:
            return EProcessorArchitecture::kOther;
    }
}

}  // namespace

std::string GetOSVersionName() {
    COSVersion version;
    version.m_bExtended = ReadVersion(version);
    if (version.m_bExtended) {
        version.m_architecture = ReadArchitecture();
    }
    return FormatOSVersionName(version);
}

#else

std::string GetOSVersionName() {
    return {};
}

#endif

}  // namespace somatrix
