// tvcalc --decode and --decode-header: what they print for words and headers,
// and what they refuse.
#include "tools/tvcalc/decode_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "case_log.h"
#include "device/header_export.h"

namespace tv {
namespace {

struct Case {
    const char* what;
    std::vector<std::string> args;
    int status;
    std::vector<std::string> out;  // pieces the output must hold
    std::string err;               // piece stderr must hold
    bool replayed = true;          // also run through tvcalc.exe (case_log.h)
};

TEST(DecodeCommand, PrintsFieldsByItemTextAndRefusesWhatItCannotRead) {
    // A header exported from a table whose ch1 holds the Tarvex D start-up set.
    ChannelTable table;
    table.InitReg[1] = 0x004D8093;
    table.RefReg[1] = 0x000000C8;
    table.NReg[1] = 0x00002625;
    table.FuncReg[1] = 0x004D8092;
    table.description[1] = "12340MHz, STD=10MHz, PD=200kHz, I=2.50mA";
    const std::string header = ::testing::TempDir() + "decode-" + std::to_string(::getpid()) + ".h";
    std::ofstream(header, std::ios::binary) << headerText(table, std::tm{});

    const std::vector<Case> cases = {
        {"Tarvex S set with frequencies",
         {"--decode", "000000C8", "00026901", "000d8093", "--std", "10", "--multiplier", "100"},
         0,
         {"000000C8  RefReg", "R                50", "AntiBackLash     2.9ns",
          "N                617", "MUX Out          D LD", "PD Pol           POS",
          "Current1(mA)     2.5 / 2.5", "PD(kHz)          200", "VCO(MHz)         123.4",
          "LocalOutput(MHz) 12340"},
         ""},
        {"flags",
         {"--decode", "001F00C8", "004D8092", "001C0002"},
         0,
         {"bits 000C0000 are set", "(no item 3)  ! no item has this index",
          "004D8092  FuncReg  ! bits 00400000", "0.625 / 5  ! the two current fields differ"},
         ""},
        {"counters the chip cannot divide by",
         {"--decode", "0000023D", "00000001", "--variant", "D"},
         0,
         {"B                2  ! Tarvex D needs B ≥ 3 and B ≥ A",
          "B                0  ! Tarvex D needs B ≥ 3\n", "A                15\n"},
         ""},
        {"header as a table, Tarvex D",
         {"--decode-header", header, "--variant", "D", "--std=10", "--multiplier=100", "--tsv"},
         0,
         {"Channel\tWord\tLatch\tField\tValue\tFlag\n", "ch1\t00002625\tNReg\tA\t9\t\n",
          "ch1\t00002625\tNReg\tB\t38\t\n", "ch1\t004D8093\tInitReg\tPSC\t16/17\t\n",
          "ch1\t\tset\tLocalOutput(MHz)\t12340\t\n", "ch0\t\tset\t\t\t"},
         ""},
        {"not 8 digits", {"--decode", "C8"}, 2, {}, "'C8' is not a latch word"},
        {"not hexadecimal", {"--decode", "0000000G"}, 2, {}, "'0000000G' is not a latch word"},
        {"both sources", {"--decode", "000000C8", "--decode-header", header}, 2, {}, "either"},
        {"std alone", {"--decode", "000000C8", "--std", "10"}, 2, {}, "go together"},
        {"unknown variant", {"--decode", "000000C8", "--variant", "X"}, 2, {}, "--variant"},
#ifndef _WIN32
        // Refused at once, not read for ever.
        {"device", {"--decode-header", "/dev/zero"}, 2, {}, "/dev/zero: a device", false},
#endif
        {"missing header", {"--decode-header", header + ".none"}, 2, {}, "tvcalc: "},
        {"missing header, named",
         {"--decode-header", header + ".none"},
         2,
         {},
         "tvcalc: cannot read " + header + ".none: ファイルが見つかりません\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(isDecodeCommand(c.args));
        if (c.replayed) test::logTvcalcCase(c.args);
        std::ostringstream out, err;
        EXPECT_EQ(runDecodeCommand(c.args, out, err), c.status) << err.str();
        for (const std::string& piece : c.out) {
            EXPECT_NE(out.str().find(piece), std::string::npos) << piece << "\n" << out.str();
        }
        EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
    }
    // A replay of the logged cases reads the header again.
    if (std::getenv("TVCALC_CASE_LOG") == nullptr) std::filesystem::remove(header);
    EXPECT_FALSE(isDecodeCommand({"12340", "100", "10"}));
}

}  // namespace
}  // namespace tv
