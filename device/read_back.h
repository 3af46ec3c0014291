#pragma once
// Whether the unit holds what was last written: the 128-byte channel image
// looked for in the bytes the unit sent back after a Dump.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tv {

struct ReadBackDifference {
    int channel;       // 0..7
    const char* word;  // "InitReg", "RefReg", "NReg" or "FuncReg", in the image's order
    uint32_t written;  // the word as the image holds it, least significant byte first
    uint32_t held;     // the same four bytes of the reply; those it did not send count as 0
    // How many of the word's four bytes the reply held: fewer than 4 when it ended there.
    int heldBytes = 4;
};

struct ReadBackResult {
    bool matches = false;
    // Where the image starts in the reply, or where most of its bytes line up.
    std::size_t offset = 0;
    std::optional<ReadBackDifference> first;
    // Bytes of the reply from offset on, at most the image's size.
    std::size_t overlap = 0;
};

// Finds the image in the received bytes at any offset (a unit's reply framing,
// an echo of the command first, say, is its own business). When it is absent,
// the offset with the most equal bytes (partial overlap at the end counts; a tie
// goes to the latest offset where the whole image fits, else to the earliest)
// and the first channel and word that differ there.
ReadBackResult compareReadBack(std::span<const uint8_t> image, std::span<const uint8_t> received);

// One line for the operator:
//   "The unit holds the channels last written."
//   "The unit differs at ch3 NReg: written 0x00026901, held 0x00026900."
//   "The unit's reply ends before ch3 NReg: written 0x00026901, only 40 of 128 bytes came."
std::string readBackLine(const ReadBackResult& result);

}  // namespace tv
