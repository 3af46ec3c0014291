#pragma once
// Channels that come back: a header written by "save", loaded into the channel
// table when it is dropped on the window or named on its command line, so the
// next "Write" sends it and the next "save" writes it out again.
#include <optional>
#include <string>
#include <vector>

#include "device/channel_table.h"

namespace tv {

struct ChannelLoad {
    std::optional<ChannelTable> table;  // the channels read, when the file is such a header
    std::vector<std::string> lines;     // for the status memo: what was loaded, or why not
};

// The header at `path` (UTF-8). Loaded: a line naming the file, then one line a
// channel ("ch3  000D8093 000000C8 00026901 000D8092  <description>", the words in
// the header's order). Not loaded: one line with the reason (the reader's file,
// line and what it expected, or why the file cannot be read).
ChannelLoad loadChannels(const std::string& path);

// The program's arguments after its name, the toolkit's own options already taken
// out: none loads nothing and says nothing; one is a header to load; more are
// refused with one line, since it is not clear which one the operator meant.
ChannelLoad loadChannelsFromArguments(const std::vector<std::string>& arguments);

// The same refusal for several files dropped at once.
ChannelLoad refuseSeveralFiles(const std::vector<std::string>& paths, const std::string& where);

}  // namespace tv
