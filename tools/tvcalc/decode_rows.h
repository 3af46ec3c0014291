#pragma once
// Latch words decoded into named fields with the window's item texts, as rows
// that the decode command prints as text or as a tab-separated table.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tv {

struct DecodeRow {
    std::string channel;  // "ch0".."ch7" for a header's words, empty otherwise
    std::string word;     // 8 hexadecimal digits; empty for the set's frequencies
    std::string latch;    // "RefReg", ...; "set" for the frequencies
    std::string field;    // "R", "MUX Out", ...; empty on a word's first row
    std::string value;
    std::string flag;  // why the field or word looks wrong; empty when it does not
};

// The reference and multiplier that give a set its frequencies.
struct FrequencyInputs {
    double stdMHz = 0;
    int32_t multiplier = 0;
};

// One set of words, as a channel of a header or the words of the command line.
struct WordSet {
    std::string channel;
    std::string description;  // a header channel's description line
    std::vector<uint32_t> words;
};

// The rows of `set` for `variant` (SynthOptions Variant). With `frequencies`,
// rows for PD, VCO and LocalOutput follow, made from the set's last RefReg and
// NReg (and, for Tarvex D, the PSC of its last InitReg or FuncReg).
std::vector<DecodeRow> decodeRows(const WordSet& set, int32_t variant,
                                  const std::optional<FrequencyInputs>& frequencies);

}  // namespace tv
