#include "os/sha256.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(Sha256, StandardTestVectors) {
    const std::pair<std::string, const char*> rows[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        // 56 bytes: the length no longer fits in the first block.
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrl"
         "mnopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [message, digest] : rows) {
        EXPECT_EQ(sha256Hex(message), digest) << message.size() << " bytes";
    }
}

TEST(Sha256, PiecesGiveTheWholeDigest) {
    const std::string message(200, 'x');
    const std::array<uint8_t, 32> whole = [&] {
        Sha256 h;
        h.add(message);
        return h.finish();
    }();
    for (const std::size_t cut : {1u, 55u, 63u, 64u, 65u, 128u}) {
        Sha256 h;
        h.add(std::string_view(message).substr(0, cut));
        h.add(std::string_view(message).substr(cut));
        EXPECT_EQ(h.finish(), whole) << "cut at " << cut;
    }
}

}  // namespace
}  // namespace tv
