#include "settings/settings.h"

#include <gtest/gtest.h>

#include "os/errors.h"
#include "os/path_separator.h"
#include "profile_test_support.h"

namespace tv {
namespace {

using test::readFile;
using test::ScratchDir;
using test::writeFile;

bool sameSettings(const Settings& a, const Settings& b) {
    return a.portname == b.portname && a.BAUD == b.BAUD && a.Channel == b.Channel &&
           a.Pol == b.Pol && a.Out == b.Out && a.current1 == b.current1 &&
           a.LocalOutput == b.LocalOutput && a.Multiplier == b.Multiplier && a.STD == b.STD &&
           a.LDP == b.LDP && a.AntiBackLash == b.AntiBackLash &&
           a.TimerCountCTRL == b.TimerCountCTRL && a.CPOut == b.CPOut && a.PSCValue == b.PSCValue &&
           a.Version == b.Version;
}

TEST(Settings, PathJoinsPlainly) {
    EXPECT_EQ(settingsPath("/home/op"), std::string("/home/op") + kPathSeparator + "TVCONFIG.INI");
    EXPECT_EQ(settingsPath("C:\\"), std::string("C:\\") + kPathSeparator + "TVCONFIG.INI");
}

TEST(Settings, NoFileGivesDefaults) {
    ScratchDir dir;
    const Settings s = loadSettings(dir.file("TVCONFIG.INI"));
    EXPECT_TRUE(sameSettings(s, Settings{}));
    EXPECT_EQ(s.Pol, 1);
    EXPECT_EQ(s.PSCValue, 1);
    EXPECT_EQ(s.LocalOutput, "12340");
}

TEST(Settings, FreshFileHoldsSectionsInWritingOrder) {
    ScratchDir dir;
    const std::string path = settingsPath(dir.path().string());
    Settings s;
    s.Channel = -1;
    s.portname = 11;
    saveSettings(path, s);
    EXPECT_EQ(readFile(path),
              "[Frequency]\nLocalOutput=12340\nMultiplier=100\nSTD=10\n\n"
              "[rs232c1]\nportname=11\nBAUD=0\n\n"
              "[PD]\nPol=1\ncurrent1=3\nLDP=0\nAntiBackLash=0\nTimerCountCTRL=0\nCPOut=0\n\n"
              "[MUX]\nOut=1\n\n[Memory]\nChannel=-1\n\n[PSC]\nValue=1\n\n[Tarvex]\nVersion=0\n");
    EXPECT_TRUE(sameSettings(loadSettings(path), s));
}

TEST(Settings, OperatorFileReadAndUpdatedInPlace) {
    ScratchDir dir;
    const std::string path = settingsPath(dir.path().string());
    const std::string before =
        "; tvconfig settings\r\n"
        "[tarvex]\r\n"
        "version = 1\r\n"
        "[PSC]\r\n"
        "VALUE=2\r\n"
        "Comment=kept\r\n"
        "\r\n"
        "[rs232c1]\r\n"
        "portname=0x2\r\n"
        "[Memory]\r\n"
        "Channel=9\r\n"
        "[Frequency]\r\n"
        "LocalOutput=abc\r\n"
        "[Unknown]\r\n"
        "x=y";
    writeFile(path, before);
    Settings s = loadSettings(path);
    EXPECT_EQ(s.Version, 1);
    EXPECT_EQ(s.PSCValue, 2);
    EXPECT_EQ(s.portname, 2);
    EXPECT_EQ(s.Channel, 9);  // the window's setter clamps it
    EXPECT_EQ(s.LocalOutput, "abc");
    EXPECT_EQ(s.STD, "10");

    s.PSCValue = 3;
    s.Channel = 7;
    saveSettings(path, s);
    const std::string after = readFile(path);
    EXPECT_EQ(after,
              "; tvconfig settings\r\n"
              "[tarvex]\r\n"
              "version = 1\r\n"
              "[PSC]\r\n"
              "VALUE=3\r\n"
              "Comment=kept\r\n"
              "\r\n"
              "[rs232c1]\r\n"
              "portname=2\r\n"
              "BAUD=0\r\n"
              "[Memory]\r\n"
              "Channel=7\r\n"
              "[Frequency]\r\n"
              "LocalOutput=abc\r\n"
              "Multiplier=100\r\n"
              "STD=10\r\n"
              "[Unknown]\r\n"
              "x=y\r\n"
              "\r\n"
              "[PD]\r\nPol=1\r\ncurrent1=3\r\nLDP=0\r\nAntiBackLash=0\r\nTimerCountCTRL=0\r\n"
              "CPOut=0\r\n"
              "\r\n"
              "[MUX]\r\nOut=1\r\n");
}

TEST(Settings, FailedSaveThrowsAtFirstWrite) {
    ScratchDir dir;
    const std::string path = settingsPath(dir.file("gone"));
    try {
        saveSettings(path, Settings{});
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  dir.file("gone") + kPathSeparator + "TVCONFIG.INI に書き込めません");
    }
}

}  // namespace
}  // namespace tv
