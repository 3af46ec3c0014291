#include "device/read_back.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tv {
namespace {

// Eight channels of InitReg, RefReg, NReg, FuncReg, least significant byte first,
// every word different so that a wrong channel or word shows.
std::vector<uint8_t> testImage() {
    std::vector<uint8_t> image;
    for (uint32_t c = 0; c < 8; ++c) {
        for (uint32_t word : {0x09F993u + c, 0x000C81u + 4 * c, 0x026901u - 0x100u * c + 0x300u,
                              0x09F992u + 0x10u * c}) {
            for (int k = 0; k < 4; ++k) image.push_back(static_cast<uint8_t>(word >> (8 * k)));
        }
    }
    return image;
}

std::vector<uint8_t> joined(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(CompareReadBack, FindsTheImageOrNamesTheFirstDifference) {
    const std::vector<uint8_t> image = testImage();
    const std::vector<uint8_t> echo = {0x44, 0x0D};
    auto corrupted = [&](std::size_t at) {
        std::vector<uint8_t> bytes = image;
        bytes[at] ^= 0x01;
        return bytes;
    };
    auto prefix = [&](std::size_t n) {
        return std::vector<uint8_t>(image.begin(), image.begin() + static_cast<long>(n));
    };
    struct Row {
        const char* name;
        std::vector<uint8_t> received;
        bool matches;
        std::size_t offset;
        const char* line;
    };
    const Row rows[] = {
        {"behind the echo", joined(echo, image), true, 2,
         "The unit holds the channels last written."},
        {"at the start, more behind", joined(image, echo), true, 0,
         "The unit holds the channels last written."},
        {"ch3 NReg low byte", joined(echo, corrupted(3 * 16 + 8)), false, 2,
         "The unit differs at ch3 NReg: written 0x00026901, held 0x00026900."},
        {"last byte", joined(echo, corrupted(127)), false, 2,
         "The unit differs at ch7 FuncReg: written 0x0009FA02, held 0x0109FA02."},
        {"a zeroed memory behind the echo", joined(echo, std::vector<uint8_t>(128, 0)), false, 2,
         "The unit differs at ch0 InitReg: written 0x0009F993, held 0x00000000."},
        {"stale zeros before", joined(std::vector<uint8_t>(9, 0), corrupted(4)), false, 9,
         "The unit differs at ch0 RefReg: written 0x00000C81, held 0x00000C80."},
        {"ends between words", joined(echo, prefix(40)), false, 2,
         "The unit's reply ends before ch2 NReg: written 0x00026A01, only 40 of 128 bytes "
         "came."},
        {"ends inside a word", joined(echo, prefix(42)), false, 2,
         "The unit's reply ends before ch2 NReg: written 0x00026A01, only 42 of 128 bytes "
         "came."},
        {"nothing came",
         {},
         false,
         0,
         "The unit's reply ends before ch0 InitReg: written 0x0009F993, only 0 of 128 bytes "
         "came."},
    };
    for (const Row& row : rows) {
        const ReadBackResult result = compareReadBack(image, row.received);
        EXPECT_EQ(result.matches, row.matches) << row.name;
        EXPECT_EQ(result.first.has_value(), !row.matches) << row.name;
        EXPECT_EQ(result.offset, row.offset) << row.name;
        EXPECT_EQ(readBackLine(result), row.line) << row.name;
    }
}

TEST(CompareReadBack, PartialWordKeepsWhatCame) {
    const std::vector<uint8_t> image = testImage();
    const std::vector<uint8_t> received(image.begin(), image.begin() + 42);
    const ReadBackResult result = compareReadBack(image, received);
    ASSERT_TRUE(result.first);
    EXPECT_EQ(result.first->channel, 2);
    EXPECT_EQ(std::string(result.first->word), "NReg");
    EXPECT_EQ(result.first->heldBytes, 2);
    EXPECT_EQ(result.first->held, 0x6A01u);  // the two bytes that came, the rest as 0
    EXPECT_EQ(result.overlap, 42u);
}

}  // namespace
}  // namespace tv
