#include "device/unit_memory.h"

#include <algorithm>
#include <utility>

#include "synth/number_format.h"

namespace tv {

namespace {

constexpr int kWordBytes = 4;
constexpr uint32_t kLargestLatchWord = 0xFFFFFF;

int32_t wordAt(const ChannelImage& image, size_t start) {
    uint32_t word = 0;
    for (size_t k = 0; k < kWordBytes; ++k)
        word |= static_cast<uint32_t>(image[start + k]) << (8 * k);
    // As the header writes it: a word with its top bit set reads back as the
    // same eight hexadecimal digits.
    return static_cast<int32_t>(word);
}

}  // namespace

std::optional<ChannelImage> unitMemoryInDump(std::span<const uint8_t> sinceDump) {
    if (sinceDump.size() < static_cast<size_t>(kDumpReplyBytes)) return std::nullopt;
    ChannelImage image{};
    const auto memory = sinceDump.last(image.size());
    std::copy(memory.begin(), memory.end(), image.begin());
    return image;
}

ChannelTable unitChannels(const ChannelImage& image, const std::string& description) {
    ChannelTable table;
    for (size_t c = 0; c < ChannelTable::kChannels; ++c) {
        const size_t block = static_cast<size_t>(protocol::kChannelBlock) * c;
        table.InitReg[c] = wordAt(image, block);
        table.RefReg[c] = wordAt(image, block + 4);
        table.NReg[c] = wordAt(image, block + 8);
        table.FuncReg[c] = wordAt(image, block + 12);
        table.description[c] = description;
    }
    return table;
}

std::vector<std::string> wordsWiderThanLatches(const ChannelTable& table) {
    std::vector<std::string> wide;
    for (size_t c = 0; c < ChannelTable::kChannels; ++c) {
        const std::pair<const char*, int32_t> words[] = {{"InitReg", table.InitReg[c]},
                                                         {"RefReg", table.RefReg[c]},
                                                         {"NReg", table.NReg[c]},
                                                         {"FuncReg", table.FuncReg[c]}};
        for (const auto& [name, word] : words) {
            if (static_cast<uint32_t>(word) > kLargestLatchWord) {
                wide.push_back("ch" + std::to_string(c) + " " + name + " 0x" + hexText(word));
            }
        }
    }
    return wide;
}

}  // namespace tv
