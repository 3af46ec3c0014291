#pragma once
// The texts of the component's line properties: the parity words and the
// stop-bit texts. Comparisons are exact, byte for byte.
#include <cstdint>
#include <optional>
#include <string>

namespace tv {

// The parity value (0 none, 1 odd, 2 even, 3 mark, 4 space) of a parity word;
// nullopt when the word is not in the table.
std::optional<uint8_t> parityFromWord(const std::string& word);

// "1" -> 0, "1.5" -> 1, "2" -> 2; nullopt for any other text.
std::optional<uint8_t> stopBitsFromText(const std::string& text);

}  // namespace tv
