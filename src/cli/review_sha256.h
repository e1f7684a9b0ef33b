#pragma once
// SHA-256 of a byte run, as lowercase hexadecimal; `review info` fingerprints samples with it so
// that scripts can compare recordings without a hashing library.
#include <cstddef>
#include <cstdint>
#include <string>

namespace somatrix::cli {

class CSha256 {
public:
    CSha256();
    void Update(const uint8_t* data, size_t size);
    // Ends the hash; the object is not to be updated afterwards.
    std::string HexDigest();

private:
    void Block(const uint8_t* block);

    uint32_t m_state[8];
    uint8_t m_buffer[64];
    size_t m_nBuffered = 0;
    uint64_t m_nTotal = 0;
};

}  // namespace somatrix::cli
