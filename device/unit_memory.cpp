#include "device/unit_memory.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "device/read_back.h"
#include "os/hex_text.h"

namespace tv {

namespace {

constexpr std::size_t kWordBytes = 4;
constexpr uint32_t kLargestLatchWord = 0xFFFFFF;
constexpr const char* kWordNames[] = {"InitReg", "RefReg", "NReg", "FuncReg"};

uint32_t wordAt(const ChannelImage& image, std::size_t start) {
    uint32_t word = 0;
    for (std::size_t k = 0; k < kWordBytes; ++k)
        word |= static_cast<uint32_t>(image[start + k]) << (8 * k);
    return word;
}

bool holdsMemory(std::span<const uint8_t> received) {
    return received.size() >= static_cast<std::size_t>(kDumpReplyBytes);
}

}  // namespace

std::optional<ChannelImage> unitMemoryInDump(std::span<const uint8_t> sinceDump) {
    if (!holdsMemory(sinceDump)) return std::nullopt;
    ChannelImage image{};
    const auto memory = sinceDump.last(image.size());
    std::copy(memory.begin(), memory.end(), image.begin());
    return image;
}

UnitMemory unitMemoryFromDump(std::span<const uint8_t> received, const ChannelImage& expected) {
    UnitMemory memory;
    memory.received = received.size();
    if (!holdsMemory(received)) return memory;
    // The read-back's search: the image itself, or where most of it lines up.
    const ReadBackResult found = compareReadBack(expected, received);
    if (found.offset + expected.size() > received.size()) {
        memory.image = unitMemoryInDump(received);
        return memory;
    }
    ChannelImage image{};
    std::copy_n(received.begin() + static_cast<std::ptrdiff_t>(found.offset), image.size(),
                image.begin());
    memory.image = image;
    return memory;
}

ChannelTable channelsFromImage(const ChannelImage& image) {
    ChannelTable table;
    for (std::size_t c = 0; c < ChannelTable::kChannels; ++c) {
        const std::size_t block = c * protocol::kChannelBlock;
        // As the header writes them: a word with its top bit set reads back as
        // the same eight hexadecimal digits.
        table.InitReg[c] = static_cast<int32_t>(wordAt(image, block));
        table.RefReg[c] = static_cast<int32_t>(wordAt(image, block + 4));
        table.NReg[c] = static_cast<int32_t>(wordAt(image, block + 8));
        table.FuncReg[c] = static_cast<int32_t>(wordAt(image, block + 12));
    }
    return table;
}

ChannelTable unitChannels(const ChannelImage& image, const std::string& description) {
    ChannelTable table = channelsFromImage(image);
    for (std::string& d : table.description) d = description;
    return table;
}

ChannelTable channelsReadFrom(const ChannelImage& image, const std::string& port,
                              const std::tm& local) {
    char when[64];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return unitChannels(image, "read from " + port + " " + when);
}

std::string unitMemoryLine(const UnitMemory& memory, const ChannelImage& table) {
    if (!memory.image) {
        return "The unit's memory did not come: " + std::to_string(memory.received) + " of " +
               std::to_string(kDumpReplyBytes) + " bytes (the echoes of D and CR, then " +
               std::to_string(protocol::kImageSize) + " bytes of memory) arrived.";
    }
    const ChannelImage& held = *memory.image;
    const auto differs = std::mismatch(table.begin(), table.end(), held.begin());
    if (differs.first == table.end()) return "The unit holds the channels in the table.";
    const auto i = static_cast<std::size_t>(differs.first - table.begin());
    const std::size_t start = i - i % kWordBytes;
    ReadBackResult result;
    result.overlap = table.size();
    result.first = ReadBackDifference{static_cast<int>(i / protocol::kChannelBlock),
                                      kWordNames[(i % protocol::kChannelBlock) / kWordBytes],
                                      wordAt(table, start), wordAt(held, start)};
    return readBackLine(result);  // the read-back's own wording
}

std::vector<std::string> wordsWiderThanLatches(const ChannelTable& table) {
    std::vector<std::string> wide;
    for (std::size_t c = 0; c < ChannelTable::kChannels; ++c) {
        const std::pair<const char*, int32_t> words[] = {{kWordNames[0], table.InitReg[c]},
                                                         {kWordNames[1], table.RefReg[c]},
                                                         {kWordNames[2], table.NReg[c]},
                                                         {kWordNames[3], table.FuncReg[c]}};
        for (const auto& [name, word] : words) {
            if (static_cast<uint32_t>(word) > kLargestLatchWord) {
                wide.push_back("ch" + std::to_string(c) + " " + name + " 0x" + hexText(word));
            }
        }
    }
    return wide;
}

}  // namespace tv
