#include "tools/tvcalc/command_line.h"

#include <cstdint>

namespace tv {
namespace {

// One radio group: its option name, its item texts in index order, and the
// SynthOptions field that takes the index.
struct RadioOption {
    const char* name;
    std::vector<std::string> items;
    int32_t SynthOptions::*field;
};

const std::vector<RadioOption>& radioOptions() {
    static const std::vector<RadioOption> options = {
        {"--variant", {"S", "D"}, &SynthOptions::Variant},
        {"--pol", {"NEG", "POS"}, &SynthOptions::PDPol},
        {"--mux",
         {"3State", "D LD", "N Div", "AVdd", "R Div", "Open D", "S Data", "GND"},
         &SynthOptions::MUXOut},
        {"--current",
         {"0.625", "1.25", "1.875", "2.5", "3.125", "3.75", "4.375", "5"},
         &SynthOptions::current1},
        {"--ldp", {"3cycle", "5cycle"}, &SynthOptions::LDP},
        {"--antibacklash", {"2.9ns", "1.3ns", "6.0ns"}, &SynthOptions::AntiBackLash},
        {"--timer",
         {"3", "7", "11", "15", "19", "23", "27", "31", "35", "39", "43", "47", "51", "55", "59",
          "63"},
         &SynthOptions::TimerCountCTRL},
        {"--cpout", {"Normal", "3 State"}, &SynthOptions::CPOut},
        {"--psc", {"8/9", "16/17", "32/33", "64/65"}, &SynthOptions::PSC},
    };
    return options;
}

// An item with a blank is quoted as a shell would need it.
std::string shellWord(const std::string& item) {
    return item.find(' ') == std::string::npos ? item : "\"" + item + "\"";
}

// "3State|"D LD"|...".
std::string itemList(const RadioOption& option) {
    std::string list;
    for (const std::string& item : option.items) {
        if (!list.empty()) list += '|';
        list += shellWord(item);
    }
    return list;
}

std::string defaultItem(const RadioOption& option) {
    const SynthOptions defaults;
    return shellWord(option.items[static_cast<size_t>(defaults.*option.field)]);
}

// A leading "-" starts an option unless a digit or "." follows it, so negative
// numbers ("-100", "-.5") are positional arguments.
bool looksLikeOption(const std::string& arg) {
    return arg.size() >= 2 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9') && arg[1] != '.';
}

}  // namespace

std::vector<std::string> radioItemTexts(const std::string& name) {
    for (const RadioOption& option : radioOptions()) {
        if (name == option.name) return option.items;
    }
    return {};
}

std::string usageLine() {
    return "usage: tvcalc [OPTIONS] LOCALOUTPUT MULTIPLIER STD  (tvcalc --help for details)";
}

std::string helpText() {
    std::string text =
        "usage: tvcalc [OPTIONS] LOCALOUTPUT MULTIPLIER STD\n"
        "\n"
        "Finds the PLL counter ratio of a Tarvex unit as the configurator's \"search\"\n"
        "button does, starting from a reset finder, and prints the match with its four\n"
        "latch words.\n"
        "\n"
        "  LOCALOUTPUT  local output frequency in MHz (a decimal number, \".\" separator)\n"
        "  MULTIPLIER   multiplier order (a whole number, may be negative)\n"
        "  STD          reference frequency in MHz (a decimal number, \".\" separator)\n"
        "\n"
        "Numbers are read and written with \".\" as the decimal separator whatever the\n"
        "locale. Negative numbers are numbers, not options: tvcalc 12340 -100 10.\n"
        "\n"
        "Options (the radio items' on-screen texts; defaults as the configurator starts\n"
        "without a settings file):\n";
    for (const RadioOption& option : radioOptions()) {
        text += "  " + std::string(option.name) + " " + itemList(option) + "  (default " +
                defaultItem(option) + ")\n";
    }
    text +=
        "  --all        keep pressing \"next\" until the search stops, one match after another\n"
        "  --tsv        tab-separated output: a header line, then one row per match, each\n"
        "               field exactly as the configurator shows it\n"
        "  --help, -h   show this text\n"
        "  --           end of options\n"
        "An option's value follows it as the next argument or after \"=\" (--mux=\"D LD\").\n"
        "\n"
        "Output: per match the counters R, N, A and B, VCO in MHz and PD in kHz, then\n"
        "InitReg, RefReg, NReg and FuncReg in hexadecimal. When the search stops at its\n"
        "R or N limit, the limit's line is the last line on stderr. An error (a number\n"
        "that does not convert, an arithmetic error, a counter that does not fit its\n"
        "latch field) ends the run with its message as the last line on stderr; the\n"
        "matches printed before it stay.\n"
        "\n"
        "Exit status: 0 when at least one match was printed, 1 when none was found,\n"
        "2 on a usage error or an error of the calculation.\n";
    return text;
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    std::vector<std::string> numbers;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !looksLikeOption(arg)) {
            numbers.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            line.help = true;
            return line;
        } else if (arg == "--all") {
            line.all = true;
        } else if (arg == "--tsv") {
            line.tsv = true;
        } else {
            const size_t equals = arg.find('=');
            const std::string name = arg.substr(0, equals);
            const RadioOption* option = nullptr;
            for (const RadioOption& candidate : radioOptions()) {
                if (name == candidate.name) option = &candidate;
            }
            if (option == nullptr) {
                throw UsageError("unknown option '" + arg +
                                 "'; options are --variant, --pol, --mux, --current, --ldp, "
                                 "--antibacklash, --timer, --cpout, --psc, --all, --tsv, --help");
            }
            std::string value;
            if (equals != std::string::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                throw UsageError(name + " needs a value: " + itemList(*option));
            }
            int32_t index = -1;
            for (size_t k = 0; k < option->items.size(); ++k) {
                if (option->items[k] == value) index = static_cast<int32_t>(k);
            }
            if (index < 0) {
                throw UsageError("unknown value '" + value + "' for " + name +
                                 "; accepted: " + itemList(*option));
            }
            line.options.*option->field = index;
        }
    }
    if (numbers.size() != 3) {
        throw UsageError("expected three numbers LOCALOUTPUT MULTIPLIER STD, got " +
                         std::to_string(numbers.size()));
    }
    line.localOutput = numbers[0];
    line.multiplier = numbers[1];
    line.std = numbers[2];
    return line;
}

}  // namespace tv
