#pragma once
// The fourteen sensor types the program knows, in their fixed order, with the display names and
// link texts "Somatrix.ini" may set and the per-device facts the scan and the replies fill in.
// Owned by the operation panel's hub; indexes stay valid for the program's life. Texts are UTF-8.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace somatrix {

// The display name and the link text are fields of 64 and 256 bytes in the sensors' legacy
// encoding (GBK: two bytes for a Chinese character, one for ASCII), terminator included. They
// are held here as UTF-8, which needs up to twice as many bytes for the same text, and cut by
// what the text takes in GBK (CopyGbkField).
inline constexpr size_t kNameGbkBytes = 64;
inline constexpr size_t kUrlGbkBytes = 256;

struct _ZP_Device_Info {
    uint8_t m_nType = 0;
    char m_szShortName[16] = {};
    char m_szName[2 * kNameGbkBytes] = {};  // display name, may come from the ini file
    char m_szUrl[2 * kUrlGbkBytes] = {};    // link text from the ini file
    int m_bOnline = 0;
    char m_szDevNum[10] = {};    // eight upper-case hex digits
    char m_szDate[16] = {};      // "%4d-%02d-%02d"; room for out-of-range BCD digits
};

// Copies `text` into a fixed field, cut on a UTF-8 character boundary so the field keeps its
// terminator and never ends in half a character.
void CopyField(char* field, size_t fieldSize, std::string_view text);
template <size_t N>
void CopyField(char (&field)[N], std::string_view text) {
    CopyField(field, N, text);
}

// Copies as much of `text` (UTF-8) as fits a field of `gbkBytes` bytes in GBK, terminator
// included, in whole characters: ASCII takes one byte, other characters of the basic plane two,
// characters beyond it four.
void CopyGbkField(char* field, size_t fieldSize, size_t gbkBytes, std::string_view text);
template <size_t N>
void CopyGbkField(char (&field)[N], size_t gbkBytes, std::string_view text) {
    CopyGbkField(field, N, gbkBytes, text);
}

class CCatalogue {
public:
    CCatalogue();  // the built-in records, no ini applied

    // Applies "Somatrix.ini" at `iniPath` (missing, unreadable or garbled: built-in texts stay).
    void ApplyProfile(const std::string& iniPath);

    size_t GetCount() const { return m_records.size(); }
    // Bounds-checked: throws std::out_of_range for an index outside 0..count-1.
    _ZP_Device_Info& At(int index);
    const _ZP_Device_Info& At(int index) const;
    // Index of the first record with this type code, -1 when none.
    int IndexOfType(uint8_t type) const;

    // Clears the online flag and both texts of every record (a new scan begins).
    void ClearScanResults();

private:
    std::vector<_ZP_Device_Info> m_records;
};

// The built-in sensor type codes with their names, one "  TT  name" line each in catalogue
// order: what a command line lists when it is given a code it does not know.
std::string SensorCodeList();

}  // namespace somatrix
