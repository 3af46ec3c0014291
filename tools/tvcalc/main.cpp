// tvcalc: the configurator's ratio finder on the command line.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "os/binary_output.h"
#include "os/console_output.h"
#include "os/error_box.h"
#include "os/hex_text.h"
#include "os/program_arguments.h"
#include "synth/counter_rules.h"
#include "synth/ratio_finder.h"
#include "tools/tvcalc/command_line.h"
#include "tools/tvcalc/decode_command.h"

namespace {

void printHeader() {
    std::cout << "R\tN\tA\tB\tVCO(MHz)\tPD(kHz)\tInitReg\tRefReg\tNReg\tFuncReg\n";
}

// The match as the configurator's labels and result fields show it.
void printMatch(const tv::RatioMatch& m, const tv::LatchSet& words, bool tsv) {
    using tv::hexText;
    if (tsv) {
        std::cout << m.rText << '\t' << m.nText << '\t' << m.aText << '\t' << m.bText << '\t'
                  << m.vcoText << '\t' << m.pdText << '\t' << hexText(words.InitReg) << '\t'
                  << hexText(words.RefReg) << '\t' << hexText(words.NReg) << '\t'
                  << hexText(words.FuncReg) << '\n';
        return;
    }
    std::cout << "R " << m.rText << ", N " << m.nText << ", A " << m.aText << ", B " << m.bText
              << ", VCO " << m.vcoText << " MHz, PD " << m.pdText << " kHz\n"
              << "    InitReg " << hexText(words.InitReg) << ", RefReg " << hexText(words.RefReg)
              << ", NReg " << hexText(words.NReg) << ", FuncReg " << hexText(words.FuncReg) << '\n';
}

// A match the chip cannot divide by gets the window's line on stderr; the match
// itself is printed as the window shows it.
void noteBrokenRules(const tv::RatioFinder& finder, const tv::SynthOptions& options) {
    const tv::RatioMatch* m = finder.clickMatch();
    if (m == nullptr) return;
    const std::string note = tv::counterRuleLine(options, m->r, m->n, m->a, m->b);
    if (note.empty()) return;
    std::cout.flush();
    std::cerr << note << '\n';
}

// Presses "search" (then "next" with --all) on a freshly reset finder; returns
// the exit status.
int run(const tv::CommandLine& line) {
    tv::QuietFinderView view(line.localOutput, line.multiplier, line.std, line.options);
    int32_t currentR = 0;
    tv::LatchSet latches;
    tv::RatioFinder finder(view, currentR, latches);
    finder.captionInit();
    finder.setSkipBrokenRules(line.realizable);
    if (line.tsv) printHeader();

    int printed = 0;
    try {
        for (;;) {
            const tv::FinderOutcome outcome = finder.search();
            if (outcome.match) {
                printMatch(*outcome.match, latches, line.tsv);
                ++printed;
                noteBrokenRules(finder, line.options);
            }
            if (!outcome.line.empty()) {
                // Stopped at a limit: its line is the finder's only status line.
                std::cout.flush();
                std::cerr << outcome.line << '\n';
                break;
            }
            if (!line.all) break;
        }
    } catch (const std::exception& e) {
        // A negative N is shown, then fails in the encoding: its note comes first.
        noteBrokenRules(finder, line.options);
        std::cout.flush();
        std::cerr << tv::errorBoxText(e.what()) << '\n';
        return 2;
    }
    return printed > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    tv::useBinaryStandardOutput();
    tv::useConsoleTextOutput();
    const std::vector<std::string> args = tv::programArguments(argc, argv);
    if (tv::isDecodeCommand(args)) return tv::runDecodeCommand(args, std::cout, std::cerr);
    tv::CommandLine line;
    try {
        line = tv::parseCommandLine(args);
    } catch (const tv::UsageError& e) {
        std::cerr << "tvcalc: " << e.what() << '\n' << tv::usageLine() << '\n';
        return 2;
    }
    if (line.help) {
        std::cout << tv::helpText() << tv::decodeHelpText();
        return 0;
    }
    return run(line);
}
