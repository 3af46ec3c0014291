// libFuzzer target for the settings-file reader, the integer reading rules and
// the in-place edit. Each input is (a) read as an integer text, (b) written to a
// file and read through ProfileFile for every entry the program uses, and (c)
// edited in memory and on disk, checking that nothing but the edited entry moves.
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "options/option_table.h"
#include "settings/profile_document.h"
#include "settings/profile_file.h"
#include "settings/profile_integer.h"

namespace {

struct Key {
    std::string section;
    std::string key;
};

// The fifteen entries, both spellings of the PSC one, and two names nobody uses.
const std::vector<Key>& keys() {
    static const std::vector<Key> all = [] {
        std::vector<Key> k;
        for (const tv::SettingRow& row : tv::kSettings) {
            k.push_back({std::string(row.section), std::string(row.readKey)});
            if (row.writeKey != row.readKey) {
                k.push_back({std::string(row.section), std::string(row.writeKey)});
            }
        }
        k.push_back({"", ""});
        k.push_back({"A", "a"});
        return k;
    }();
    return all;
}

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

bool allOf(std::string_view text, const char* chars) {
    return text.find_first_not_of(chars) == std::string_view::npos;
}

// The C library as an oracle for the plain forms of the rules.
void checkInteger(std::string_view text) {
    const std::optional<int32_t> value = tv::parseProfileInteger(text);
    const std::string copy(text);
    if (text.size() > 2 && text.size() <= 10 && text[0] == '0' &&
        (text[1] == 'x' || text[1] == 'X') && allOf(text.substr(2), "0123456789abcdefABCDEF")) {
        check(value && static_cast<uint32_t>(*value) == std::strtoul(copy.c_str() + 2, nullptr, 16),
              "hex value");
    }
    const std::string_view digits =
        !text.empty() && (text[0] == '+' || text[0] == '-') ? text.substr(1) : text;
    if (!digits.empty() && allOf(digits, "0123456789")) {
        errno = 0;
        const long long expected = std::strtoll(copy.c_str(), nullptr, 10);
        const bool fits = errno == 0 && expected >= INT32_MIN && expected <= INT32_MAX;
        check(fits ? value == expected : !value, "decimal value");
    }
    if (value) {
        check(tv::parseProfileInteger(std::to_string(*value)) == value, "decimal round trip");
    }
}

std::string scratchPath() {
    const char* dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/tv_profile_fuzz_" + std::to_string(::getpid()) + ".ini";
}

void checkEdit(const std::string& input, const std::string& path) {
    const tv::ProfileDocument before(input);
    // Any line ends, UTF-16 or not: read and written back, the bytes stay as they were.
    check(before.text() == input, "unedited text written back byte for byte");
    tv::ProfileDocument after(input);
    after.set("PSC", "Value", "7");
    const tv::ProfileDocument reread(after.text());
    check(reread.value("psc", "VALUE") == std::optional<std::string_view>("7"),
          "written value reads back");
    for (const Key& k : keys()) {
        if (k.section == "PSC") continue;
        check(reread.value(k.section, k.key) == before.value(k.section, k.key),
              "other entries unchanged");
    }

    // The same edit through the file, which must leave exactly that text.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << input;
    tv::ProfileFile file(path);
    file.writeInteger("PSC", "Value", 7);
    std::ifstream in(path, std::ios::binary);
    const std::string onDisk((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    // An entry that already reads as 7 is left alone, byte for byte.
    const bool unchanged = before.value("PSC", "Value") == std::optional<std::string_view>("7");
    check(onDisk == (unchanged ? input : after.text()), "file holds the edited text");

    // A batch of writes, as the exit save makes them, leaves what the writes one
    // by one would: each entry reads back, nothing else moves.
    file.writeAll({{"PSC", "Value", "8"}, {"Tarvex", "Version", "1"}, {"A", "a", "x"}});
    std::ifstream again(path, std::ios::binary);
    const tv::ProfileDocument batched(
        std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()));
    check(batched.value("PSC", "Value") == std::optional<std::string_view>("8"), "batch value");
    check(batched.value("tarvex", "version") == std::optional<std::string_view>("1"),
          "batch value");
    for (const Key& k : keys()) {
        if (k.section == "PSC" || k.section == "Tarvex" || k.section == "A") continue;
        check(batched.value(k.section, k.key) == before.value(k.section, k.key),
              "batch leaves the rest");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = scratchPath();
    const std::string input(reinterpret_cast<const char*>(data), size);

    checkInteger(std::string_view(input).substr(0, 40));

    std::ofstream(path, std::ios::binary | std::ios::trunc) << input;
    const tv::ProfileFile file(path);
    for (const Key& k : keys()) {
        const std::string text = file.readString(k.section, k.key,
                                                 "\x01"
                                                 "default");
        check(text.size() <= tv::ProfileFile::kMaxValueLength, "value length");
        check(text.find('\0') == std::string::npos, "no NUL in a value");
        const int32_t number = file.readInteger(k.section, k.key, -77);
        check(
            number == tv::parseProfileInteger(file.readString(k.section, k.key, "")).value_or(-77),
            "readInteger agrees with the text");
    }
    checkEdit(input, path);
    ::unlink(path.c_str());
    return 0;
}
