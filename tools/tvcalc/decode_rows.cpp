#include "tools/tvcalc/decode_rows.h"

#include "os/hex_text.h"
#include "synth/counter_rules.h"
#include "synth/latch_decoding.h"
#include "synth/number_format.h"
#include "tools/tvcalc/command_line.h"

namespace tv {

namespace {

// The item text of `index` in the radio option `option`; an index with no item
// reads "(no item <index>)" and is flagged.
struct ItemText {
    std::string text;
    std::string flag;
};

ItemText item(const char* option, int32_t index) {
    const std::vector<std::string> items = radioItemTexts(option);
    if (index >= 0 && static_cast<size_t>(index) < items.size()) {
        return {items[static_cast<size_t>(index)], ""};
    }
    return {"(no item " + std::to_string(index) + ")", "no item has this index"};
}

std::string variantName(int32_t variant) {
    return "Tarvex " + item("--variant", variant != 0 ? 1 : 0).text;
}

class RowWriter {
public:
    RowWriter(std::vector<DecodeRow>& rows, const std::string& channel, const std::string& word,
              const std::string& latch)
        : m_rows(rows), m_channel(channel), m_word(word), m_latch(latch) {}

    void add(const std::string& field, const std::string& value, const std::string& flag = "") {
        m_rows.push_back({m_channel, m_word, m_latch, field, value, flag});
    }
    void addItem(const std::string& field, const char* option, int32_t index) {
        const ItemText t = item(option, index);
        add(field, t.text, t.flag);
    }

private:
    std::vector<DecodeRow>& m_rows;
    std::string m_channel;
    std::string m_word;
    std::string m_latch;
};

void addWordRows(std::vector<DecodeRow>& rows, const std::string& channel, const DecodedLatch& d,
                 int32_t variant) {
    const bool dual = variant != 0;
    RowWriter out(rows, channel, hexText(static_cast<int32_t>(d.word)), latchName(d.latch));
    out.add("", d.latch == Latch::NReg ? variantName(variant) : "",
            d.strayBits != 0 ? "bits " + hexText(static_cast<int32_t>(d.strayBits)) +
                                   " are set, which the encoder never sets"
                             : "");
    switch (d.latch) {
        case Latch::RefReg:
            out.add("R", decimalText(d.R), d.R == 0 ? "R 0 divides by zero" : "");
            out.addItem("LDP", "--ldp", d.LDP);
            out.addItem("AntiBackLash", "--antibacklash", d.AntiBackLash);
            break;
        case Latch::NReg: {
            // The fields fit, yet the chip may not divide by them: B too small
            // for the prescaler, or an N of 0.
            const std::vector<CounterRule> broken = brokenNLatchRules(variant, d.N, d.A, d.B);
            const std::string flag =
                broken.empty() ? "" : variantName(variant) + " needs " + counterRulesText(broken);
            if (dual) {
                out.add("A", decimalText(d.A));
                out.add("B", decimalText(d.B), flag);
            } else {
                out.add("N", decimalText(d.N), flag);
            }
            break;
        }
        case Latch::FuncReg:
        case Latch::InitReg: {
            out.addItem("MUX Out", "--mux", d.MUXOut);
            out.addItem("PD Pol", "--pol", d.PDPol);
            out.addItem("CP Out", "--cpout", d.CPOut);
            out.addItem("TimerCountCTRL", "--timer", d.TimerCountCTRL);
            const std::string first = item("--current", d.current1).text;
            const std::string second = item("--current", d.current1Second).text;
            out.add("Current1(mA)", first + " / " + second,
                    d.current1 != d.current1Second
                        ? "the two current fields differ; the encoder writes one index into both"
                        : "");
            if (dual) {
                out.addItem("PSC", "--psc", d.PSC);
            } else {
                out.add("PSC", "(not used by " + variantName(variant) + ")");
            }
            break;
        }
    }
}

void addFrequencyRows(std::vector<DecodeRow>& rows, const WordSet& set, int32_t variant,
                      const FrequencyInputs& inputs) {
    std::optional<DecodedLatch> ref, n, options;
    for (const uint32_t word : set.words) {
        const DecodedLatch d = decodeLatch(word, variant);
        if (d.latch == Latch::RefReg) ref = d;
        if (d.latch == Latch::NReg) n = d;
        if (d.latch == Latch::InitReg || d.latch == Latch::FuncReg) options = d;
    }
    RowWriter out(rows, set.channel, "", "set");
    if (!ref || !n || (variant != 0 && !options)) {
        out.add("", "",
                variant != 0 ? "PD, VCO and LocalOutput need a RefReg, an NReg and an "
                               "InitReg or FuncReg word"
                             : "PD, VCO and LocalOutput need a RefReg and an NReg word");
        return;
    }
    const auto f = setFrequencies(*ref, *n, options ? options->PSC : 0, variant, inputs.stdMHz,
                                  inputs.multiplier);
    if (!f) {
        out.add("", "", "R is 0: no frequencies");
        return;
    }
    out.add("PD(kHz)", floatText(f->pdKHz, "."));
    out.add("VCO(MHz)", floatText(f->vcoMHz, "."));
    out.add("LocalOutput(MHz)", floatText(f->localOutputMHz, "."));
}

}  // namespace

std::vector<DecodeRow> decodeRows(const WordSet& set, int32_t variant,
                                  const std::optional<FrequencyInputs>& frequencies) {
    std::vector<DecodeRow> rows;
    for (const uint32_t word : set.words) {
        addWordRows(rows, set.channel, decodeLatch(word, variant), variant);
    }
    if (frequencies) addFrequencyRows(rows, set, variant, *frequencies);
    return rows;
}

}  // namespace tv
