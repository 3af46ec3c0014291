#include "settings/profile_document.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

// A literal with its NUL bytes kept.
template <size_t N>
std::string bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

std::optional<std::string> valueOf(const std::string& text, const char* section, const char* key) {
    const ProfileDocument document(text);
    const auto value = document.value(section, key);
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

TEST(ProfileDocumentRead, LexicalRules) {
    const std::string text =
        "orphan=1\r\n"
        "; a comment=2\r\n"
        "  [ Frequency ]  trailing\r\n"
        "\tLocalOutput  =  12340  \r\n"
        "#Multiplier=7\r\n"
        ";STD=1\r\n"
        "Quoted=\"  spaced  \"\r\n"
        "Single='x'\r\n"
        "Mixed=\"x'\r\n"
        "Empty=\r\n"
        "NoEquals\r\n"
        "[pd]\r\n"
        "POL=0\r\n"
        "Pol=1\r\n"
        "[Frequency]\r\n"
        "Later=1\r\n"
        "[Tarvex]\n"
        "Version=1";  // last line without a line end
    struct Row {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const Row rows[] = {
        {"Frequency", "LocalOutput", "12340"},
        {"FREQUENCY", "localoutput", "12340"},
        {"Frequency", "Multiplier", std::nullopt},  // commented out
        {"Frequency", "STD", std::nullopt},
        {"Frequency", "Quoted", "  spaced  "},
        {"Frequency", "Single", "x"},
        {"Frequency", "Mixed", "\"x'"},
        {"Frequency", "Empty", ""},
        {"Frequency", "NoEquals", std::nullopt},
        {"Frequency", "Later", std::nullopt},  // a second section of the name does not count
        {"Frequency", "orphan", std::nullopt},
        {"PD", "Pol", "0"},  // the first of two
        {"Tarvex", "Version", "1"},
        {"Missing", "Version", std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(valueOf(text, row.section, row.key), row.value) << row.section << "/" << row.key;
    }
}

TEST(ProfileDocumentRead, NoSectionsOrBinary) {
    EXPECT_EQ(valueOf("Version=1\nPol=2\n", "Tarvex", "Version"), std::nullopt);
    EXPECT_EQ(valueOf("", "Tarvex", "Version"), std::nullopt);
    const std::string binary = bytes("\0[\xff]\n[Tarvex\0]\nVersion=\x01\0\n");
    EXPECT_EQ(valueOf(binary, "Tarvex", "Version"), std::nullopt);  // the header holds a NUL
}

std::string edited(const std::string& text, const char* section, const char* key,
                   const char* value) {
    ProfileDocument document(text);
    document.set(section, key, value);
    return document.text();
}

TEST(ProfileDocumentWrite, EditsKeepEveryOtherLine) {
    struct Row {
        const char* name;
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    };
    const Row rows[] = {
        {"replace in place, spacing and case of the key kept", "[psc]\r\n  VALUE = 2  \r\nx=1\r\n",
         "PSC", "Value", "3", "[psc]\r\n  VALUE = 3\r\nx=1\r\n"},
        {"empty value replaced", "[A]\nk=\n", "a", "K", "v", "[A]\nk=v\n"},
        {"key appended after the section's last entry, before its trailing comment",
         "[PD]\r\nPol=1\r\n\r\n; the mux\r\n[MUX]\r\nOut=1\r\n", "PD", "LDP", "0",
         "[PD]\r\nPol=1\r\nLDP=0\r\n\r\n; the mux\r\n[MUX]\r\nOut=1\r\n"},
        {"key into an empty section", "[A]\n[B]\nx=1\n", "A", "k", "v", "[A]\nk=v\n[B]\nx=1\n"},
        {"section appended with the file's CR LF", "; mine\r\n[A]\r\nx=1\r\n", "Tarvex", "Version",
         "1", "; mine\r\n[A]\r\nx=1\r\n\r\n[Tarvex]\r\nVersion=1\r\n"},
        {"last line without a line end", "[A]\r\nx=1", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
        {"section after a last line without a line end", "x=1", "B", "y", "2", "x=1\n\n[B]\ny=2\n"},
        {"new file", "", "Frequency", "LocalOutput", "12340", "[Frequency]\nLocalOutput=12340\n"},
        {"a blank last line is separator enough", "[A]\nx=1\n\n", "B", "y", "2",
         "[A]\nx=1\n\n[B]\ny=2\n"},
        {"mixed line ends kept as they are", "[A]\nx=1\r\n[B]\r\n", "B", "y", "2",
         "[A]\nx=1\r\n[B]\r\ny=2\n"},
        {"commented-out key is not replaced", "[A]\n;k=1\n", "A", "k", "2", "[A]\nk=2\n;k=1\n"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(edited(row.before, row.section, row.key, row.value), row.after) << row.name;
    }
}

TEST(ProfileDocument, ByteOrderMarkKeptAndSkipped) {
    const std::string text = "\xEF\xBB\xBF[Tarvex]\r\nVersion=1\r\n";
    EXPECT_EQ(valueOf(text, "Tarvex", "Version"), "1");
    EXPECT_EQ(edited(text, "Tarvex", "Version", "0"), "\xEF\xBB\xBF[Tarvex]\r\nVersion=0\r\n");
}

TEST(ProfileDocumentWrite, BinaryLinesSurviveAnEdit) {
    const std::string before = bytes("junk\0\xfe\xff\r\n[A]\r\nk=1\r\n\0\0\0");
    const std::string after = edited(before, "A", "k", "2");
    EXPECT_EQ(after, bytes("junk\0\xfe\xff\r\n[A]\r\nk=2\r\n\0\0\0"));
}

}  // namespace
}  // namespace tv
