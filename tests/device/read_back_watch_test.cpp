// What "View Buffer" compares a Dump with: only a whole Write, only after a Dump,
// and only the bytes received since that Dump.
#include "device/read_back_watch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tv {
namespace {

constexpr const char* kHolds = "The unit holds the channels last written.";

ChannelImage someImage() {
    ChannelImage image{};
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + 1);
    return image;
}

// The receive buffer after a Dump: the echoes of D and CR, then `memory`.
std::vector<uint8_t> dumpReply(const ChannelImage& memory) {
    std::vector<uint8_t> buffer(2 + memory.size());
    buffer[0] = 0x44;
    buffer[1] = 0x0D;
    std::copy(memory.begin(), memory.end(), buffer.begin() + 2);
    return buffer;
}

TEST(ReadBackWatchTest, ComparesOnlyADumpThatFollowedAWholeWrite) {
    const ChannelImage image = someImage();
    const std::vector<uint8_t> reply = dumpReply(image);
    const auto pos = static_cast<int32_t>(reply.size());

    ReadBackWatch watch;
    watch.dumpEnded(true);  // no Write yet
    EXPECT_FALSE(watch.line(reply, pos));
    watch.writeEnded(image, true);
    EXPECT_FALSE(watch.line(reply, pos)) << "no Dump since the Write";
    watch.dumpEnded(false);
    EXPECT_FALSE(watch.line(reply, pos)) << "the Dump had no reply";
    watch.dumpEnded(true);
    EXPECT_EQ(watch.line(reply, pos), kHolds);
    watch.writeEnded(image, false);  // stopped early: the unit's memory is unknown
    watch.dumpEnded(true);
    EXPECT_FALSE(watch.line(reply, pos));
}

TEST(ReadBackWatchTest, LooksOnlyAtTheBytesSinceTheDump) {
    const ChannelImage image = someImage();
    // A unit that sent nothing but the echoes, over a buffer still holding the
    // Write's own echoes of the image further on.
    std::vector<uint8_t> buffer = dumpReply(image);
    ReadBackWatch watch;
    watch.writeEnded(image, true);
    watch.dumpEnded(true);
    const auto line = watch.line(buffer, 2);
    ASSERT_TRUE(line);
    EXPECT_NE(*line, kHolds);
    // A position past the buffer's end (bytes dropped there) reads the whole buffer.
    EXPECT_EQ(watch.line(buffer, 5000), kHolds);
}

}  // namespace
}  // namespace tv
