#include <gtest/gtest.h>

#include <string>

#include "profile_test_support.h"
#include "settings/profile_document.h"
#include "settings/settings.h"

namespace tv {
namespace {

std::string edited(const std::string& text) {
    ProfileDocument document(text);
    document.set("Frequency", "Multiplier", "7");
    document.set("PD", "Pol", "0");
    return document.text();
}

TEST(ProfileLineEnds, EveryKindReadAndWrittenBackAsItWas) {
    struct Row {
        const char* name;
        std::string before;
        const char* multiplier;
        const char* std;
        std::string after;  // Multiplier set to 7, a new section PD added
    };
    const Row rows[] = {
        {"LF", "[Frequency]\nMultiplier=96\nSTD=10\n", "96", "10",
         "[Frequency]\nMultiplier=7\nSTD=10\n\n[PD]\nPol=0\n"},
        {"CR LF", "[Frequency]\r\nMultiplier=96\r\nSTD=10\r\n", "96", "10",
         "[Frequency]\r\nMultiplier=7\r\nSTD=10\r\n\r\n[PD]\r\nPol=0\r\n"},
        {"CR alone", "[Frequency]\rMultiplier=96\rSTD=10\r", "96", "10",
         "[Frequency]\rMultiplier=7\rSTD=10\r\r[PD]\rPol=0\r"},
        {"CR alone, no end at the end", "[Frequency]\rMultiplier=96\rSTD=10", "96", "10",
         "[Frequency]\rMultiplier=7\rSTD=10\r\r[PD]\rPol=0\r"},
        // A lone CR in a CR LF file ends its line; new lines take the first end seen.
        {"lone CR in CR LF", "[Frequency]\r\nMultiplier=96\rSTD=10\r\n", "96", "10",
         "[Frequency]\r\nMultiplier=7\rSTD=10\r\n\r\n[PD]\r\nPol=0\r\n"},
        {"LF first, then CR LF", "[Frequency]\nMultiplier=96\r\nSTD=10\r\n", "96", "10",
         "[Frequency]\nMultiplier=7\r\nSTD=10\r\n\n[PD]\nPol=0\n"},
        {"CR CR LF", "[Frequency]\r\r\nMultiplier=96\r\r\nSTD=10", "96", "10",
         "[Frequency]\r\r\nMultiplier=7\r\r\nSTD=10\r\r[PD]\rPol=0\r"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ProfileDocument document(row.before);
        EXPECT_EQ(document.value("Frequency", "Multiplier"), row.multiplier);
        EXPECT_EQ(document.value("Frequency", "STD"), row.std);
        EXPECT_EQ(edited(row.before), row.after);
    }
}

TEST(ProfileLineEnds, CrOnlySettingsFileIsReadAndUpdatedInPlace) {
    test::ScratchDir dir;
    const std::string path = settingsPath(dir.path().string());
    test::writeFile(path, "[Frequency]\rLocalOutput=1001\rMultiplier=3\rSTD=13\r[PD]\rPol=0\r");
    Settings settings = loadSettings(path);
    EXPECT_EQ(settings.LocalOutput, "1001");
    EXPECT_EQ(settings.Pol, 0);
    settings.STD = "10";
    saveSettings(path, settings);
    const std::string saved = test::readFile(path);
    EXPECT_EQ(saved.find('\n'), std::string::npos);
    EXPECT_EQ(saved.find("STD"), saved.rfind("STD"));  // one entry, not a second copy
    const std::string start = "[Frequency]\rLocalOutput=1001\rMultiplier=3\rSTD=10\r[PD]\rPol=0\r";
    EXPECT_EQ(saved.substr(0, start.size()), start);
    EXPECT_EQ(loadSettings(path).STD, "10");
}

// UTF-16 code units as bytes, in the order of `littleEndian`.
std::string utf16Bytes(std::u16string_view units, bool littleEndian) {
    std::string bytes;
    for (const char16_t unit : units) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

TEST(ProfileUtf16, ReadAndWrittenBackInItsOwnForm) {
    // A surrogate pair, a lone surrogate and an odd last byte all survive.
    const std::u16string before =
        u"\uFEFF[Frequency]\r\nMultiplier=96\r\n[X]\r\nname=局発 \U0001D11E\r\n;\xD800\r\n";
    const std::u16string after =
        u"\uFEFF[Frequency]\r\nMultiplier=7\r\n[X]\r\nname=局発 \U0001D11E\r\n;\xD800\r\n"
        u"\r\n[PD]\r\nPol=0\r\n";
    for (const bool littleEndian : {true, false}) {
        SCOPED_TRACE(littleEndian ? "little-endian" : "big-endian");
        const std::string file = utf16Bytes(before, littleEndian) + "Z";
        const ProfileDocument document(file);
        EXPECT_EQ(document.value("frequency", "multiplier"), "96");
        EXPECT_EQ(document.value("X", "name"), "局発 \U0001D11E");
        EXPECT_EQ(document.text(), file);
        EXPECT_EQ(edited(file), utf16Bytes(after, littleEndian) + "Z");
    }
}

}  // namespace
}  // namespace tv
