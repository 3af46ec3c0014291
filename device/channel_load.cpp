#include "device/channel_load.h"

#include <exception>

#include "device/header_reader.h"
#include "os/hex_text.h"

namespace tv {

namespace {

constexpr const char* kNotLoaded = "Not loaded, the channels are as they were: ";

ChannelLoad refused(const std::string& reason) { return {std::nullopt, {kNotLoaded + reason}}; }

std::string channelLine(const ChannelTable& table, size_t c) {
    std::string line = "ch" + std::to_string(c) + "  " + hexText(table.InitReg[c]) + ' ' +
                       hexText(table.RefReg[c]) + ' ' + hexText(table.NReg[c]) + ' ' +
                       hexText(table.FuncReg[c]);
    if (!table.description[c].empty()) line += "  " + descriptionOnOneLine(table.description[c]);
    return line;
}

}  // namespace

ChannelLoad loadChannels(const std::string& path) {
    ChannelLoad load;
    try {
        load.table = readHeaderFile(path);
    } catch (const HeaderFormatError& e) {
        return refused(e.what());  // names the file, the line and what was expected
    } catch (const std::exception& e) {
        return refused("cannot read " + path + ": " + e.what());
    }
    load.lines.push_back("Loaded " + path +
                         " (InitReg RefReg NReg FuncReg, description); \"Write\" sends it:");
    for (size_t c = 0; c < ChannelTable::kChannels; ++c) {
        load.lines.push_back(channelLine(*load.table, c));
    }
    return load;
}

ChannelLoad refuseSeveralFiles(const std::vector<std::string>& paths, const std::string& where) {
    std::string names;
    for (const std::string& p : paths) names += (names.empty() ? "" : ", ") + p;
    return refused(std::to_string(paths.size()) + " files " + where + " (" + names +
                   "); give one header at a time.");
}

ChannelLoad loadChannelsFromArguments(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return {};
    if (arguments.size() > 1) return refuseSeveralFiles(arguments, "on the command line");
    return loadChannels(arguments.front());
}

}  // namespace tv
