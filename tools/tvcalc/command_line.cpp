#include "tools/tvcalc/command_line.h"

#include <cstdint>
#include <string_view>

#include "options/option_table.h"

namespace tv {
namespace {

// An item with a blank is quoted as a shell would need it.
std::string shellWord(std::string_view item) {
    return item.find(' ') == std::string_view::npos ? std::string(item)
                                                    : "\"" + std::string(item) + "\"";
}

// "3State|"D LD"|...".
std::string itemList(const RadioGroupRow& option) {
    std::string list;
    for (std::string_view item : commandLineItems(option)) {
        if (!list.empty()) list += '|';
        list += shellWord(item);
    }
    return list;
}

std::string defaultItem(const RadioGroupRow& option) {
    const SynthOptions defaults;
    return shellWord(commandLineItems(option)[static_cast<size_t>(defaults[option.group])]);
}

// "--variant, --pol, ..., --psc".
std::string optionNames() {
    std::string names;
    for (const RadioGroupRow& option : kRadioGroups) {
        if (option.commandLineName.empty()) continue;
        if (!names.empty()) names += ", ";
        names += option.commandLineName;
    }
    return names;
}

// A leading "-" starts an option unless a digit or "." follows it, so negative
// numbers ("-100", "-.5") are positional arguments.
bool looksLikeOption(const std::string& arg) {
    return arg.size() >= 2 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9') && arg[1] != '.';
}

}  // namespace

std::vector<std::string> radioItemTexts(const std::string& name) {
    for (const RadioGroupRow& option : kRadioGroups) {
        if (name != option.commandLineName) continue;
        const Items items = commandLineItems(option);
        return {items.begin(), items.end()};
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
    for (const RadioGroupRow& option : kRadioGroups) {
        if (option.commandLineName.empty()) continue;
        text += "  " + std::string(option.commandLineName) + " " + itemList(option) +
                "  (default " + defaultItem(option) + ")\n";
    }
    text +=
        "  --all        keep pressing \"next\" until the search stops, one match after another\n"
        "  --realizable only matches whose counters the chip can divide by: the search\n"
        "               goes on past the others (see Counter rules below)\n"
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
        "Counter rules: Tarvex D needs 3 <= B <= 8191 and B >= A (its dual-modulus\n"
        "prescaler), Tarvex S 1 <= N <= 8191, both 1 <= R <= 16383. A match that\n"
        "breaks one is printed all the same (a negative N fails as in the configurator),\n"
        "and a line on stderr names the rule, the counters and any other --psc item\n"
        "that splits N within the rules. --realizable leaves such matches out.\n"
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
        } else if (arg == "--realizable") {
            line.realizable = true;
        } else {
            const size_t equals = arg.find('=');
            const std::string name = arg.substr(0, equals);
            const RadioGroupRow* option = nullptr;
            for (const RadioGroupRow& candidate : kRadioGroups) {
                if (!candidate.commandLineName.empty() && name == candidate.commandLineName) {
                    option = &candidate;
                }
            }
            if (option == nullptr) {
                throw UsageError("unknown option '" + arg + "'; options are " + optionNames() +
                                 ", --all, --realizable, --tsv, --help");
            }
            std::string value;
            if (equals != std::string::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                throw UsageError(name + " needs a value: " + itemList(*option));
            }
            const Items items = commandLineItems(*option);
            int32_t index = -1;
            for (size_t k = 0; k < items.size(); ++k) {
                if (items[k] == value) index = static_cast<int32_t>(k);
            }
            if (index < 0) {
                throw UsageError("unknown value '" + value + "' for " + name +
                                 "; accepted: " + itemList(*option));
            }
            line.options[option->group] = index;
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
