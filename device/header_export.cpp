#include "device/header_export.h"

#include <cstdio>

#include "os/file_error.h"
#include "os/hex_text.h"
#include "os/local_time.h"
#include "os/path_separator.h"

namespace tv {

namespace {

constexpr const char* kLineEnd = "\r\n";

std::string formatTime(const char* format, const std::tm& local) {
    char text[128];
    const size_t length = std::strftime(text, sizeof text, format, &local);
    return std::string(text, length);
}

// The locale's short date, a blank and its long time; the time is left out at
// exactly midnight, as the operator's date-time text has always shown it.
std::string dateTimeText(const std::tm& local) {
    std::string text = formatTime("%x", local);
    if (local.tm_hour != 0 || local.tm_min != 0 || local.tm_sec != 0) {
        text += ' ';
        text += formatTime("%X", local);
    }
    return text;
}

std::string wordLine(int32_t word, const char* name) {
    return "  0x" + hexText(word) + ",    //" + name + kLineEnd;
}

}  // namespace

std::time_t SystemClock::now() const { return std::time(nullptr); }

std::string headerFileName(const std::tm& local) {
    char name[64];
    std::snprintf(name, sizeof name, "%04d%02d%02d_%02d%02dparam.h", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
    return name;
}

std::string headerText(const ChannelTable& table, const std::tm& local) {
    std::string text = "//" + dateTimeText(local) + kLineEnd;
    for (size_t c = 0; c < ChannelTable::kChannels; ++c) {
        text += "//" + std::to_string(c) + "  " + table.description[c] + kLineEnd;
        // The order in which the unit receives the words.
        text += wordLine(table.InitReg[c], "InitReg");
        text += wordLine(table.RefReg[c], "RefReg");
        text += wordLine(table.NReg[c], "NReg");
        text += wordLine(table.FuncReg[c], "FuncReg");
    }
    return text;
}

std::string exportHeader(const ChannelTable& table, const std::string& directory,
                         const Clock& clock) {
    const auto writer = systemFileWriter();
    return exportHeader(table, directory, clock, *writer);
}

std::string exportHeader(const ChannelTable& table, const std::string& directory,
                         const Clock& clock, FileWriter& writer) {
    const std::time_t now = clock.now();
    std::tm local{};
    if (const int err = localTime(now, local)) {
        throw fileError(err);
    }
    const std::string path = directory + kPathSeparator + headerFileName(local);
    const std::string text = headerText(table, local);

    if (const int err = writer.create(path)) {
        throw fileError(err);  // nothing of ours to remove: the file may be someone else's
    }
    int err = 0;
    for (size_t begin = 0; begin < text.size() && err == 0;) {
        const size_t end = text.find(kLineEnd, begin) + 2;
        err = writer.write(std::string_view(text).substr(begin, end - begin));
        begin = end;
    }
    if (err == 0) {
        err = writer.flush();
    }
    if (err == 0) {
        err = writer.close();
    } else {
        writer.close();  // the first failure is the one to report
    }
    if (err != 0) {
        writer.remove(path);
        throw fileError(err);
    }
    return path;
}

}  // namespace tv
