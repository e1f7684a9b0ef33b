#include "protocol/catalogue.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "protocol/ini_profile.h"

namespace somatrix {

namespace {

struct CBuiltIn {
    uint8_t m_nType;
    const char* m_szShortName;
    const char* m_szName;
};

// Catalogue order is fixed: the device list, the scan and the selection all depend on it.
constexpr CBuiltIn kBuiltIns[] = {
    {0xC0, "血压V2", "血压传感器VT-303 V2.0"},
    {0xC3, "胃肠电", "胃肠电传感器VT-313"},
    {0xC4, "皮温", "皮温传感器VT-312"},
    {0xC5, "皮肤电阻", "皮肤电阻传感器VT-311"},
    {0xC6, "肌电", "肌电传感器VT-310"},
    {0xC7, "血氧", "血氧传感器VT-309"},
    {0xC8, "心率", "心率传感器VT-308"},
    {0xC9, "体温", "体温传感器VT-307"},
    {0xCA, "脉搏", "脉搏传感器VT-306"},
    {0xCB, "红外脉搏", "红外脉搏传感器VT-305"},
    {0xCC, "呼吸", "呼吸传感器VT-304"},
    {0xCD, "血压", "血压传感器VT-303"},
    {0xCE, "心电", "心电传感器VT-301"},
    {0xB1, "心音", "心音传感器VT-302"},
};

// Length of the longest prefix of `text` that fits `room` bytes and ends on a UTF-8 boundary.
size_t Utf8PrefixLength(std::string_view text, size_t room) {
    if (text.size() <= room) {
        return text.size();
    }
    size_t n = room;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) {
        --n;
    }
    return n;
}

// Number of characters (code points) in UTF-8 text.
size_t CharacterCount(std::string_view text) {
    size_t n = 0;
    for (const char c : text) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return n;
}

// Length of the longest prefix of valid UTF-8 `text` that takes at most `room` bytes in GBK.
size_t GbkPrefixLength(std::string_view text, size_t room) {
    size_t used = 0;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const size_t gbk = bytes == 1 ? 1 : bytes == 4 ? 4 : 2;
        if (used + gbk > room || i + bytes > text.size()) {
            break;
        }
        used += gbk;
        i += bytes;
    }
    return i;
}

}  // namespace

void CopyGbkField(char* field, size_t fieldSize, size_t gbkBytes, std::string_view text) {
    CopyField(field, fieldSize, text.substr(0, GbkPrefixLength(text, gbkBytes - 1)));
}

void CopyField(char* field, size_t fieldSize, std::string_view text) {
    if (fieldSize == 0) {
        return;
    }
    const size_t n = Utf8PrefixLength(text, fieldSize - 1);
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, fieldSize - n);
}

CCatalogue::CCatalogue() {
    m_records.reserve(std::size(kBuiltIns));
    for (const CBuiltIn& b : kBuiltIns) {
        _ZP_Device_Info info;
        info.m_nType = b.m_nType;
        CopyField(info.m_szShortName, b.m_szShortName);
        CopyField(info.m_szName, b.m_szName);
        m_records.push_back(info);
    }
}

void CCatalogue::ApplyProfile(const std::string& iniPath) {
    CIniProfile profile;
    if (!profile.Load(iniPath)) {
        return;
    }
    char key[8];
    for (_ZP_Device_Info& info : m_records) {
        std::snprintf(key, sizeof key, "Dev_%02X", info.m_nType);
        const std::string name = profile.GetString("Setting", key);
        if (CharacterCount(name) > 1) {
            CopyGbkField(info.m_szName, kNameGbkBytes, name);
        }
        std::snprintf(key, sizeof key, "URL_%02X", info.m_nType);
        const std::string url = profile.GetString("Setting", key);
        if (CharacterCount(url) > 1) {
            CopyGbkField(info.m_szUrl, kUrlGbkBytes, url);
        }
    }
}

_ZP_Device_Info& CCatalogue::At(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_records.size()) {
        throw std::out_of_range("catalogue index out of range");
    }
    return m_records[static_cast<size_t>(index)];
}

const _ZP_Device_Info& CCatalogue::At(int index) const {
    return const_cast<CCatalogue*>(this)->At(index);
}

int CCatalogue::IndexOfType(uint8_t type) const {
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].m_nType == type) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CCatalogue::ClearScanResults() {
    for (_ZP_Device_Info& info : m_records) {
        info.m_bOnline = 0;
        info.m_szDevNum[0] = '\0';
        info.m_szDate[0] = '\0';
    }
}

std::string SensorCodeList() {
    std::string list;
    for (const CBuiltIn& builtIn : kBuiltIns) {
        char line[96];
        std::snprintf(line, sizeof line, "  %02X  %s\n", builtIn.m_nType, builtIn.m_szName);
        list += line;
    }
    return list;
}

}  // namespace somatrix
