// The Windows serial-port map, read as the original reads it.
#include "platform/port_names.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace somatrix {

std::vector<std::string> ListRegistryPorts() {
    std::vector<std::string> ports;
#ifdef _WIN32
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Hardware\\DeviceMap\\SerialComm", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return ports;
    }
    for (DWORD i = 0;; ++i) {
        char name[260] = {};
        char data[261] = {};  // one spare byte keeps a full value terminated
        DWORD nameLength = sizeof name;
        DWORD dataLength = sizeof data - 1;
        const LONG rc = ::RegEnumValueA(key, i, name, &nameLength, nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(data), &dataLength);
        if (rc == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (rc == ERROR_SUCCESS && IsBridgePortValue(name) && data[0] != '\0') {
            ports.emplace_back(data);
        }
    }
    ::RegCloseKey(key);
#endif
    return ports;
}

}  // namespace somatrix
