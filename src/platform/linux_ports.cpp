#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "platform/port_names.h"

namespace somatrix {

namespace {

struct CTtyEntry {
    std::string m_strName;
    bool m_bCp210x = false;
    int m_nKind = 0;  // 0 ttyUSB, 1 ttyACM
    long m_nNumber = 0;
};

}  // namespace

std::vector<std::string> ListUsbSerialPorts(const std::string& sysClassTty) {
    namespace fs = std::filesystem;
    std::vector<CTtyEntry> entries;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(sysClassTty, ec)) {
        const std::string name = e.path().filename().string();
        const bool usb = name.rfind("ttyUSB", 0) == 0;
        if (!usb && name.rfind("ttyACM", 0) != 0) {
            continue;
        }
        CTtyEntry entry{name, false, usb ? 0 : 1, std::strtol(name.c_str() + 6, nullptr, 10)};
        std::error_code linkError;
        const fs::path driver = fs::read_symlink(e.path() / "device" / "driver", linkError);
        entry.m_bCp210x = !linkError && driver.filename() == "cp210x";
        entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end(), [](const CTtyEntry& a, const CTtyEntry& b) {
        return std::make_tuple(!a.m_bCp210x, a.m_nKind, a.m_nNumber, a.m_strName) <
               std::make_tuple(!b.m_bCp210x, b.m_nKind, b.m_nNumber, b.m_strName);
    });
    std::vector<std::string> names;
    for (const CTtyEntry& entry : entries) {
        names.push_back(entry.m_strName);
    }
    return names;
}

std::vector<std::string> SplitPortList(const std::string& value, char separator) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= value.size()) {
        size_t end = value.find(separator, start);
        if (end == std::string::npos) {
            end = value.size();
        }
        if (end > start) {
            names.push_back(value.substr(start, end - start));
        }
        start = end + 1;
    }
    return names;
}

bool IsBridgePortValue(const std::string& valueName) {
    return valueName.find("labser") != std::string::npos ||
           valueName.find("USB") != std::string::npos;
}

}  // namespace somatrix
