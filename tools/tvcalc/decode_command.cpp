#include "tools/tvcalc/decode_command.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <ostream>
#include <stdexcept>

#include "device/header_reader.h"
#include "synth/number_parse.h"
#include "tools/option_value.h"
#include "tools/tvcalc/command_line.h"
#include "tools/tvcalc/decode_rows.h"

namespace tv {

namespace {

struct DecodeLine {
    std::vector<std::string> words;
    std::string headerFile;
    int32_t variant = 0;
    std::string stdText;
    std::string multiplierText;
    bool tsv = false;
    bool help = false;
};

bool hasValueForm(const std::string& arg, const char* name) {
    return arg == name || arg.rfind(std::string(name) + "=", 0) == 0;
}

DecodeLine parseDecodeLine(const std::vector<std::string>& args) {
    DecodeLine line;
    bool takingWords = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::string name = optionName(arg);
        const auto value = [&]() -> std::string {
            if (auto v = optionValue(args, i)) return *v;
            throw UsageError(name + " needs a value");
        };
        if (arg == "--help" || arg == "-h") {
            line.help = true;
            return line;
        }
        if (arg == "--decode") {
            takingWords = true;
        } else if (name == "--decode-header") {
            line.headerFile = value();
            takingWords = false;
        } else if (name == "--variant") {
            const std::string text = value();
            const std::vector<std::string> items = radioItemTexts("--variant");
            size_t k = 0;
            while (k < items.size() && items[k] != text) ++k;
            if (k == items.size()) throw UsageError("unknown value '" + text + "' for --variant");
            line.variant = static_cast<int32_t>(k);
            takingWords = false;
        } else if (name == "--std") {
            line.stdText = value();
            takingWords = false;
        } else if (name == "--multiplier") {
            line.multiplierText = value();
            takingWords = false;
        } else if (arg == "--tsv") {
            line.tsv = true;
            takingWords = false;
        } else if (takingWords && !arg.starts_with("--")) {
            line.words.push_back(arg);
        } else {
            throw UsageError("unexpected argument '" + arg + "'; see tvcalc --help");
        }
    }
    if (line.words.empty() == line.headerFile.empty()) {
        throw UsageError("give either --decode WORD... or --decode-header FILE");
    }
    if (line.stdText.empty() != line.multiplierText.empty()) {
        throw UsageError("--std and --multiplier go together");
    }
    return line;
}

uint32_t parseWord(const std::string& text) {
    const auto isHex = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    };
    bool ok = text.size() == 8;
    for (const char c : text) ok = ok && isHex(c);
    if (!ok) throw UsageError("'" + text + "' is not a latch word of 8 hexadecimal digits");
    return static_cast<uint32_t>(std::stoul(text, nullptr, 16));
}

std::vector<WordSet> wordSets(const DecodeLine& line) {
    if (line.headerFile.empty()) {
        WordSet set;
        for (const std::string& w : line.words) set.words.push_back(parseWord(w));
        return {set};
    }
    ChannelTable table;
    try {
        table = readHeaderFile(line.headerFile);
    } catch (const HeaderFormatError&) {
        throw;  // names the file and the line already
    } catch (const std::exception& e) {
        throw std::runtime_error("cannot read " + line.headerFile + ": " + e.what());
    }
    std::vector<WordSet> sets;
    for (size_t c = 0; c < ChannelTable::kChannels; ++c) {
        const auto u = [](int32_t w) { return static_cast<uint32_t>(w); };
        // In the header's order, which is the order the unit receives them.
        sets.push_back(
            {"ch" + std::to_string(c),
             table.description[c],
             {u(table.InitReg[c]), u(table.RefReg[c]), u(table.NReg[c]), u(table.FuncReg[c])}});
    }
    return sets;
}

void printTsv(std::ostream& out, const std::vector<DecodeRow>& rows) {
    for (const DecodeRow& r : rows) {
        out << r.channel << '\t' << r.word << '\t' << r.latch << '\t' << r.field << '\t' << r.value
            << '\t' << r.flag << '\n';
    }
}

void printText(std::ostream& out, const WordSet& set, const std::vector<DecodeRow>& rows) {
    const std::string indent = set.channel.empty() ? "" : "  ";
    if (!set.channel.empty()) out << set.channel << "  " << set.description << '\n';
    bool inSet = false;
    for (const DecodeRow& r : rows) {
        const std::string flag = r.flag.empty() ? "" : "  ! " + r.flag;
        if (r.word.empty() && !inSet) {
            // The frequencies of the set follow its words under their own heading.
            inSet = true;
            out << indent << "set" << (r.field.empty() ? "" : "  from STD and Multiplier") << flag
                << '\n';
            if (r.field.empty()) continue;
        }
        if (r.field.empty()) {
            out << indent << r.word << "  " << r.latch
                << (r.value.empty() ? "" : " (" + r.value + ")") << flag << '\n';
        } else {
            std::string field = r.field;
            field.resize(std::max<size_t>(field.size(), 17), ' ');
            out << indent << "    " << field << r.value << flag << '\n';
        }
    }
}

}  // namespace

bool isDecodeCommand(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--") return false;
        if (arg == "--decode" || hasValueForm(arg, "--decode-header")) return true;
    }
    return false;
}

int runDecodeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        const DecodeLine line = parseDecodeLine(args);
        if (line.help) {
            out << decodeHelpText();
            return 0;
        }
        std::optional<FrequencyInputs> frequencies;
        if (!line.stdText.empty()) {
            frequencies = FrequencyInputs{static_cast<double>(parseFloat(line.stdText, ".")),
                                          parseInt32(line.multiplierText)};
        }
        const std::vector<WordSet> sets = wordSets(line);
        if (line.tsv) out << "Channel\tWord\tLatch\tField\tValue\tFlag\n";
        for (const WordSet& set : sets) {
            const std::vector<DecodeRow> rows = decodeRows(set, line.variant, frequencies);
            if (line.tsv) {
                printTsv(out, rows);
            } else {
                printText(out, set, rows);
            }
        }
        return 0;
    } catch (const UsageError& e) {
        err << "tvcalc: " << e.what() << '\n';
    } catch (const std::exception& e) {
        // A header that does not read, or a number that does not convert.
        err << "tvcalc: " << e.what() << '\n';
    }
    return 2;
}

std::string decodeHelpText() {
    return "\n"
           "usage: tvcalc --decode WORD... [--variant S|D] [--std MHZ --multiplier M] [--tsv]\n"
           "       tvcalc --decode-header FILE [--variant S|D] [--std MHZ --multiplier M] "
           "[--tsv]\n"
           "\n"
           "Decodes latch words, each 8 hexadecimal digits, or the eight channels of a header\n"
           "written by \"save\": for each word the latch its two control bits select and its\n"
           "fields by the configurator's item texts (R, LDP, AntiBackLash; N, or A and B;\n"
           "MUX Out, PD Pol, CP Out, TimerCountCTRL, Current1(mA) with both fields, PSC).\n"
           "Marked with \"!\": bits the encoder never sets, the two current fields when they\n"
           "differ, an index with no item, and counters the chip cannot divide by (Tarvex D:\n"
           "B below 3 or below A; Tarvex S: N 0).\n"
           "  --variant S|D      the unit the words were made for (default S)\n"
           "  --std, --multiplier  also give PD, VCO and LocalOutput of each set (the\n"
           "                     words of the command line, or one header channel)\n"
           "  --tsv              a table: Channel, Word, Latch, Field, Value, Flag\n"
           "Exit status: 0 when decoded, 2 on a usage error, a word that is not 8\n"
           "hexadecimal digits or a header that does not read.\n";
}

}  // namespace tv
