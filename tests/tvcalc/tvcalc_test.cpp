// Runs the real tvcalc binary and checks what it prints and how it exits.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "case_log.h"
#include "tests/support/child_process.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
    std::string lastErrLine() const {
        std::string trimmed = err;
        if (!trimmed.empty() && trimmed.back() == '\n') trimmed.pop_back();
        return trimmed.substr(trimmed.rfind('\n') + 1);
    }
};

// Output goes to anonymous in-memory files, so a long --all run cannot fill a pipe.
Outcome tvcalc(const std::vector<std::string>& args) {
    tv::test::logTvcalcCase(args);
    const tv::test::ChildRun child = tv::test::runToEnd(TVCALC_PATH, args);
    Outcome run;
    run.status = child.end.exitCode;
    run.out = child.out;
    run.err = child.err;
    return run;
}

const char* const kHeader = "R\tN\tA\tB\tVCO(MHz)\tPD(kHz)\tInitReg\tRefReg\tNReg\tFuncReg\n";

TEST(Tvcalc, PrintsTheFirstMatchReadably) {
    const Outcome run = tvcalc({"12340", "100", "10"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "R 50, N 617, A 0, B 0, VCO 123.4 MHz, PD 200 kHz\n"
              "    InitReg 000D8093, RefReg 000000C8, NReg 00026901, FuncReg 000D8092\n");
    EXPECT_EQ(run.err, "");
}

TEST(Tvcalc, TsvFieldsAreTheWindowsTexts) {
    Outcome run = tvcalc({"--tsv", "--variant", "D", "12340", "100", "10"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string(kHeader) +
                           "50\t617\t9\t38\t123.4\t200\t004D8093\t000000C8\t00002625\t004D8092\n");
    // Options by their on-screen texts, with a value after "=" or as the next argument.
    run = tvcalc({"--mux=N Div", "--current", "5",  "--pol",   "NEG",     "--psc",
                  "64/65",       "--variant", "D",  "--ldp",   "5cycle",  "--antibacklash",
                  "6.0ns",       "--timer",   "63", "--cpout", "3 State", "--tsv",
                  "12340",       "100",       "10"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string(kHeader) +
                           "50\t617\t41\t9\t123.4\t200\t00DFF923\t001200C8\t000009A5\t00DFF922\n");
}

TEST(Tvcalc, AllRunsToTheNLimit) {
    const Outcome run = tvcalc({"--all", "--tsv", "12340", "100", "10"});
    EXPECT_EQ(run.status, 0);
    std::vector<std::string> rows;
    for (size_t start = 0, end; (end = run.out.find('\n', start)) != std::string::npos;
         start = end + 1) {
        rows.push_back(run.out.substr(start, end - start));
    }
    ASSERT_EQ(rows.size(), 14u);  // header and R 50, 100, ... 650
    EXPECT_EQ(rows[3],
              "150\t1851\t0\t0\t123.4\t66.6666666666667\t000D8093\t00000258\t00073B01\t000D8092");
    EXPECT_EQ(rows[13],
              "650\t8021\t0\t0\t123.4\t15.3846153846154\t000D8093\t00000A28\t001F5501\t000D8092");
    EXPECT_EQ(run.lastErrLine(), "Ratio was not found in N of 8191 or less");
}

TEST(Tvcalc, NoMatchExitsOneWithTheLimitLine) {
    Outcome run = tvcalc({"4.9", "1", "10.000001"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Ratio was not found in R of 16383 or less\n");
    // A match at the limit step is not printed.
    run = tvcalc({"--tsv", "8192", "1", "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, kHeader);
    EXPECT_EQ(run.lastErrLine(), "Ratio was not found in N of 8191 or less");
}

TEST(Tvcalc, NegativeNumbersArePositional) {
    const Outcome run = tvcalc({"--tsv", "-12340", "-100", "10"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(run.out.find('\n') + 1, 7), "50\t617\t");
}

TEST(Tvcalc, ErrorsEndWithTheErrorBoxText) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"12340x", "100", "10"}, "'12340x' は浮動小数点数ではありません."},
        {{"12340", "0", "10"}, "0 による浮動小数点数除算."},
        {{"12340.0000001", "100", "10"}, "'617.000000005' は整数ではありません."},
        {{"12340", "-100", "10"},
         "N counter -617 does not fit its 13-bit field (0 to 8191). "
         "Check LocalOutput, Multiplier and STD."},
    };
    for (const auto& c : cases) {
        const Outcome run = tvcalc(c.args);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_EQ(run.out, "") << c.message;  // the failed match prints no row
        EXPECT_EQ(run.lastErrLine(), c.message);
    }
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> rows;
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1) {
        rows.push_back(text.substr(start, end - start));
    }
    return rows;
}

TEST(Tvcalc, MatchesTheChipCannotDivideAreNotedOrSkipped) {
    // Printed as the window shows it; the note goes to stderr.
    Outcome run = tvcalc({"--tsv", "--variant", "D", "470", "1", "10"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string(kHeader) +
                           "1\t47\t15\t2\t470\t10000\t004D8093\t00000004\t0000023D\t004D8092\n");
    EXPECT_EQ(run.err,
              "Tarvex D cannot divide N 47 with PSC 16/17: B 2, A 15 breaks B ≥ 3 and B ≥ A; "
              "no PSC item splits it within the rules.\n");
    run = tvcalc({"--realizable", "--tsv", "--variant", "D", "470", "1", "10"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(lines(run.out).at(1).substr(0, 12), "5\t235\t11\t14\t");
    EXPECT_EQ(run.err, "");

    // With --all: the unflagged list less the matches with B < A or B < 3.
    const std::vector<std::string> d64 = {"--all", "--tsv", "--variant", "D", "--psc",
                                          "64/65", "12340", "100",       "10"};
    const Outcome all = tvcalc(d64);
    std::vector<std::string> args = d64;
    args.insert(args.begin(), "--realizable");
    run = tvcalc(args);
    EXPECT_EQ(run.status, 0);
    std::vector<std::string> kept;
    for (const std::string& row : lines(all.out)) {
        std::istringstream fields(row);
        std::string r, n, a, b;
        std::getline(fields, r, '\t');
        std::getline(fields, n, '\t');
        std::getline(fields, a, '\t');
        std::getline(fields, b, '\t');
        if (r == "R" || (std::stoi(b) >= 3 && std::stoi(b) >= std::stoi(a))) kept.push_back(row);
    }
    EXPECT_EQ(lines(run.out), kept);
    EXPECT_LT(kept.size(), lines(all.out).size());
    EXPECT_GT(kept.size(), 1u);
    // One note per match left out, then the limit line.
    EXPECT_EQ(lines(all.err).size(), lines(all.out).size() - kept.size() + 1);
    EXPECT_EQ(run.err, "Ratio was not found in N of 8191 or less\n");

    // A negative N: its note, then the encoder's error; with --realizable no match at all.
    run = tvcalc({"12340", "-100", "10"});
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
              "Tarvex S cannot divide N -617: N -617 breaks 1 ≤ N ≤ 8191.");
    run = tvcalc({"--realizable", "12340", "-100", "10"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Ratio was not found in R of 16383 or less\n");
}

TEST(Tvcalc, UsageErrorsNameTheAcceptedValues) {
    Outcome run = tvcalc({"--psc", "16", "12340", "100", "10"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("8/9|16/17|32/33|64/65"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");

    run = tvcalc({"--mux"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("3State|\"D LD\"|\"N Div\""), std::string::npos) << run.err;

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--frequency", "1", "2", "3"},
                                               {"-x", "1", "2", "3"},
                                               {"12340", "100"},
                                               {"1", "2", "3", "4"}}) {
        run = tvcalc(args);
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_NE(run.err.find("usage: tvcalc"), std::string::npos) << args[0];
    }
}

TEST(Tvcalc, HelpDescribesEveryOption) {
    const Outcome run = tvcalc({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* option :
         {"--variant", "--pol", "--mux", "--current", "--ldp", "--antibacklash", "--timer",
          "--cpout", "--psc", "--all", "--realizable", "--tsv", "Exit status"}) {
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
    }
}

}  // namespace
