// tvcalc: the configurator's ratio finder on the command line.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "synth/error_box.h"
#include "synth/ratio_finder.h"
#include "tools/tvcalc/command_line.h"
#include "tools/tvcalc/decode_command.h"
#include "tools/tvcalc/text_finder_view.h"

namespace {

using tv::FinderLabel;
using tv::ResultEdit;
using tv::TextFinderView;

void printHeader() {
    std::cout << "R\tN\tA\tB\tVCO(MHz)\tPD(kHz)\tInitReg\tRefReg\tNReg\tFuncReg\n";
}

void printMatch(const TextFinderView& view, bool tsv) {
    const auto label = [&](FinderLabel l) { return view.label(l); };
    const auto word = [&](ResultEdit e) { return view.result(e); };
    if (tsv) {
        std::cout << label(FinderLabel::R) << '\t' << label(FinderLabel::N) << '\t'
                  << label(FinderLabel::A) << '\t' << label(FinderLabel::B) << '\t'
                  << label(FinderLabel::VCO) << '\t' << label(FinderLabel::PD) << '\t'
                  << word(ResultEdit::InitReg) << '\t' << word(ResultEdit::RefReg) << '\t'
                  << word(ResultEdit::NReg) << '\t' << word(ResultEdit::FuncReg) << '\n';
        return;
    }
    std::cout << "R " << label(FinderLabel::R) << ", N " << label(FinderLabel::N) << ", A "
              << label(FinderLabel::A) << ", B " << label(FinderLabel::B) << ", VCO "
              << label(FinderLabel::VCO) << " MHz, PD " << label(FinderLabel::PD) << " kHz\n"
              << "    InitReg " << word(ResultEdit::InitReg) << ", RefReg "
              << word(ResultEdit::RefReg) << ", NReg " << word(ResultEdit::NReg) << ", FuncReg "
              << word(ResultEdit::FuncReg) << '\n';
}

// Presses "search" (then "next" with --all) on a freshly reset finder; returns
// the exit status.
int run(const tv::CommandLine& line) {
    TextFinderView view(line.localOutput, line.multiplier, line.std, line.options);
    int32_t currentR = 0;
    tv::LatchSet latches;
    tv::RatioFinder finder(view, currentR, latches);
    finder.captionInit();
    if (line.tsv) printHeader();

    int printed = 0;
    try {
        for (;;) {
            const int shownBefore = view.shownCount();
            finder.search();
            if (view.shownCount() > shownBefore) {
                printMatch(view, line.tsv);
                ++printed;
            }
            if (!view.searchEnabled()) {
                // Stopped at a limit: its line is the finder's only status line.
                std::cout.flush();
                for (const std::string& status : view.statusLines()) std::cerr << status << '\n';
                break;
            }
            if (!line.all) break;
        }
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << tv::errorBoxText(e.what()) << '\n';
        return 2;
    }
    return printed > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
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
