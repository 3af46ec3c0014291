#pragma once
// The texts of the component's line properties: the parity words and the
// stop-bit texts. Comparisons are exact, byte for byte.
#include <optional>
#include <string>

#include "serial/serial_os.h"

namespace tv {

// The parity a parity word names; nullopt when the word is not in the table.
std::optional<Parity> parityFromWord(const std::string& word);

// "1", "1.5" and "2" stop bits; nullopt for any other text.
std::optional<StopBits> stopBitsFromText(const std::string& text);

}  // namespace tv
