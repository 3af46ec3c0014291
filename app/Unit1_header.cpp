// The main window's channels that come back: a header written by "save", dropped
// on the window or named on the command line, loaded into ChannelTable.
#include <QStringList>

#include "app/Unit1.h"
#include "app/error_guard.h"
#include "app/qt_text.h"
#include "device/channel_load.h"

namespace tv {

namespace {

std::vector<std::string> texts(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& item : list) out.push_back(s(item));
    return out;
}

}  // namespace

void TForm1::loadHeaderArguments(const QStringList& arguments) {
    guarded(this, [&] { takeChannelLoad(loadChannelsFromArguments(texts(arguments))); });
}

void TForm1::loadDroppedHeaders(const QStringList& paths) {
    guarded(this, [&] {
        const std::vector<std::string> files = texts(paths);
        takeChannelLoad(files.size() == 1 ? loadChannels(files.front())
                                          : refuseSeveralFiles(files, "dropped"));
    });
}

// A file that is not such a header changes nothing; the memo says why.
void TForm1::takeChannelLoad(const ChannelLoad& load) {
    if (load.table) {
        channelTable = *load.table;
        m_channelsUnsaved = true;
        showChannels();
    }
    for (const std::string& line : load.lines) addStatusLine(line);
}

}  // namespace tv
