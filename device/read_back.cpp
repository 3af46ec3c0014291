#include "device/read_back.h"

#include <algorithm>

#include "device/protocol_bytes.h"
#include "os/hex_text.h"

namespace tv {

namespace {

constexpr int kWordBytes = 4;
constexpr const char* kWordNames[] = {"InitReg", "RefReg", "NReg", "FuncReg"};

// Equal bytes where the image, placed at offset, overlaps the reply.
std::size_t equalBytes(std::span<const uint8_t> image, std::span<const uint8_t> received,
                       std::size_t offset) {
    const std::size_t overlap = std::min(image.size(), received.size() - offset);
    std::size_t equal = 0;
    for (std::size_t i = 0; i < overlap; ++i) {
        if (image[i] == received[offset + i]) ++equal;
    }
    return equal;
}

uint32_t wordAt(std::span<const uint8_t> bytes, std::size_t start, std::size_t available) {
    uint32_t word = 0;
    for (std::size_t k = 0; k < kWordBytes; ++k) {
        if (start + k < available) word |= static_cast<uint32_t>(bytes[start + k]) << (8 * k);
    }
    return word;
}

}  // namespace

ReadBackResult compareReadBack(std::span<const uint8_t> image, std::span<const uint8_t> received) {
    ReadBackResult result;
    if (image.empty()) {
        result.matches = true;
        return result;
    }
    const auto found = std::search(received.begin(), received.end(), image.begin(), image.end());
    if (found != received.end()) {
        result.matches = true;
        result.offset = static_cast<std::size_t>(found - received.begin());
        result.overlap = image.size();
        return result;
    }

    std::size_t bestEqual = 0;
    for (std::size_t offset = 0; offset < received.size(); ++offset) {
        const std::size_t equal = equalBytes(image, received, offset);
        // A tie goes to the later offset where the whole image fits: a unit's
        // memory comes last, after its framing (a zeroed memory behind the
        // echoes of D and CR lines up equally well at 0, 1 and 2).
        const bool fits = offset + image.size() <= received.size();
        if (equal > bestEqual || (equal == bestEqual && fits)) {
            bestEqual = equal;
            result.offset = offset;
        }
    }
    result.overlap =
        std::min(image.size(), received.size() - std::min(result.offset, received.size()));

    const std::span<const uint8_t> held =
        received.subspan(std::min(result.offset, received.size()));
    std::size_t i = 0;
    while (i < result.overlap && image[i] == held[i]) ++i;
    // The image is whole words; a partial last word is named like any other.
    const std::size_t wordStart = i - i % kWordBytes;
    const std::size_t wordIndex = (i % protocol::kChannelBlock) / kWordBytes;
    ReadBackDifference difference{static_cast<int>(i / protocol::kChannelBlock),
                                  kWordNames[wordIndex], wordAt(image, wordStart, image.size()),
                                  wordAt(held, wordStart, result.overlap)};
    difference.heldBytes = static_cast<int>(
        std::min<std::size_t>(kWordBytes, result.overlap - std::min(result.overlap, wordStart)));
    result.first = difference;
    return result;
}

std::string readBackLine(const ReadBackResult& result) {
    if (result.matches || !result.first) {
        return "The unit holds the channels last written.";
    }
    const ReadBackDifference& d = *result.first;
    const std::string where = "ch" + std::to_string(d.channel) + " " + d.word;
    if (d.heldBytes < kWordBytes) {
        return "The unit's reply ends before " + where + ": written " + hexWord(d.written) +
               ", only " + std::to_string(result.overlap) + " of " +
               std::to_string(protocol::kImageSize) + " bytes came.";
    }
    return "The unit differs at " + where + ": written " + hexWord(d.written) + ", held " +
           hexWord(d.held) + ".";
}

}  // namespace tv
