// The device entry of a port found on the machine, beside portname.
#include <gtest/gtest.h>

#include "profile_test_support.h"
#include "settings/settings.h"

namespace tv {
namespace {

using test::readFile;
using test::ScratchDir;
using test::writeFile;

TEST(SettingsDevice, WrittenAfterPortnameOnlyWhenSetAndReadBack) {
    ScratchDir dir;
    const std::string path = settingsPath(dir.path().string());
    Settings s;
    s.portname = 13;
    s.device = "com15;A600XYZ";
    saveSettings(path, s);
    EXPECT_NE(readFile(path).find("[rs232c1]\nportname=13\ndevice=com15;A600XYZ\nBAUD=0\n"),
              std::string::npos)
        << readFile(path);
    EXPECT_EQ(loadSettings(path).device, "com15;A600XYZ");

    // Back to com3: the entry stays in the file as it was, and portname says
    // it is not in use.
    s.portname = 2;
    s.device.clear();
    saveSettings(path, s);
    const Settings back = loadSettings(path);
    EXPECT_EQ(back.portname, 2);
    EXPECT_EQ(back.device, "com15;A600XYZ");
}

TEST(SettingsDevice, AnOlderFileHasNone) {
    ScratchDir dir;
    const std::string path = settingsPath(dir.path().string());
    writeFile(path, "[rs232c1]\r\nportname=12\r\n");
    const Settings s = loadSettings(path);
    EXPECT_EQ(s.portname, 12);
    EXPECT_EQ(s.device, "");
}

}  // namespace
}  // namespace tv
