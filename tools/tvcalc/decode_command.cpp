#include "tools/tvcalc/decode_command.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <ostream>
#include <stdexcept>

#include "device/header_reader.h"
#include "synth/number_parse.h"
#include "tools/common/argument_reader.h"
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

// A --variant value by its short item text ("S", "D").
int32_t variantIndex(const std::string& text) {
    const std::vector<std::string> items = radioItemTexts("--variant");
    const auto item = std::find(items.begin(), items.end(), text);
    if (item == items.end()) throw UsageError("unknown value '" + text + "' for --variant");
    return static_cast<int32_t>(item - items.begin());
}

// One option after the words, or after the --decode that had none.
void readDecodeOption(ArgumentReader& reader, DecodeLine& line) {
    const std::string name = reader.name();
    if (name == "--decode-header") {
        line.headerFile = reader.text();
    } else if (name == "--variant") {
        line.variant = variantIndex(reader.text());
    } else if (name == "--std") {
        line.stdText = reader.text();
    } else if (name == "--multiplier") {
        line.multiplierText = reader.text();
    } else if (reader.is("--tsv")) {
        line.tsv = true;
    } else {
        throw UsageError("unexpected argument '" + reader.argument() + "'; see tvcalc --help");
    }
}

DecodeLine parseDecodeLine(const std::vector<std::string>& args) {
    DecodeLine line;
    bool takingWords = false;  // the words of --decode run up to the next option
    ArgumentReader reader(args);
    try {
        while (reader.next()) {
            if (reader.is("--help") || reader.is("-h")) {
                line.help = true;
                return line;
            }
            if (reader.is("--decode")) {
                takingWords = true;
            } else if (takingWords && !reader.argument().starts_with("--")) {
                line.words.push_back(reader.argument());
            } else {
                readDecodeOption(reader, line);
                takingWords = false;
            }
        }
    } catch (const ArgumentError& e) {
        throw UsageError(e.what());
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
    ArgumentReader reader(args);
    while (reader.next()) {
        if (reader.is("--")) return false;
        if (reader.is("--decode") || reader.name() == "--decode-header") return true;
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
