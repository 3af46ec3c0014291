#pragma once
// SHA-256, for naming a header's content in tvprog's log. Small and local: the
// Windows build is cross-compiled, and a crypto library for one hash would
// have to be cross-built with it.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tv {

class Sha256 {
public:
    Sha256();
    void add(std::string_view bytes);
    // The digest of everything added; the object is spent afterwards.
    std::array<uint8_t, 32> finish();
    // The same as 64 lowercase hexadecimal digits, as sha256sum prints it.
    std::string finishHex();

private:
    void block(const uint8_t* data);

    std::array<uint32_t, 8> m_state;
    std::array<uint8_t, 64> m_buffer{};
    std::size_t m_buffered = 0;
    uint64_t m_length = 0;  // bytes added
};

// The digest as 64 lowercase hexadecimal digits, as sha256sum prints it.
std::string sha256Hex(std::string_view bytes);

}  // namespace tv
