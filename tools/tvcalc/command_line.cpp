#include "tools/tvcalc/command_line.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "options/option_table.h"
#include "tools/common/argument_reader.h"

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

// A radio option ("--mux=\"D LD\"") sets its group to the item with that text.
void readRadioOption(ArgumentReader& reader, SynthOptions& options) {
    const std::string name = reader.name();
    const auto named =
        std::find_if(kRadioGroups.begin(), kRadioGroups.end(), [&](const RadioGroupRow& candidate) {
            return !candidate.commandLineName.empty() && name == candidate.commandLineName;
        });
    if (named == kRadioGroups.end()) {
        throw UsageError("unknown option '" + reader.argument() + "'; options are " +
                         optionNames() + ", --all, --realizable, --tsv, --help");
    }
    const std::string value = reader.text("a value: " + itemList(*named));
    const Items items = commandLineItems(*named);
    const auto item = std::find(items.begin(), items.end(), value);
    if (item == items.end()) {
        throw UsageError("unknown value '" + value + "' for " + name +
                         "; accepted: " + itemList(*named));
    }
    options[named->group] = static_cast<int32_t>(item - items.begin());
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
    ArgumentReader reader(args);
    try {
        while (reader.next()) {
            if (optionsEnded || !looksLikeOption(reader.argument())) {
                numbers.push_back(reader.argument());
            } else if (reader.is("--")) {
                optionsEnded = true;
            } else if (reader.is("--help") || reader.is("-h")) {
                line.help = true;
                return line;
            } else if (reader.is("--all")) {
                line.all = true;
            } else if (reader.is("--tsv")) {
                line.tsv = true;
            } else if (reader.is("--realizable")) {
                line.realizable = true;
            } else {
                readRadioOption(reader, line.options);
            }
        }
    } catch (const ArgumentError& e) {
        throw UsageError(e.what());
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
