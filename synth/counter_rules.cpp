#include "synth/counter_rules.h"

#include <string_view>

#include "options/option_table.h"
#include "synth/number_format.h"

namespace tv {
namespace {

constexpr int64_t kMaxR = 16383;  // 14-bit R field
constexpr int64_t kMaxN = 8191;   // 13-bit N field (Tarvex S) and B field (Tarvex D)
constexpr int64_t kMinB = 3;
constexpr int32_t kPscItems = 4;

bool rWithinRule(int64_t r) { return r >= 1 && r <= kMaxR; }

// The item text of `index` in `group`, or empty when it has no item.
std::string_view itemText(OptionGroup group, int32_t index) {
    const Items items = radioGroupRow(group).items;
    if (index < 0 || static_cast<size_t>(index) >= items.size()) return {};
    return items[static_cast<size_t>(index)];
}

// "PSC 8/9 splits it as B 77, A 1; PSC 32/33 as B 19, A 9", or that none does.
std::string alternativesText(int64_t n, int32_t currentPsc) {
    std::string text;
    for (const PrescalerSplit& split : splitsWithinRules(n)) {
        if (split.psc == currentPsc) continue;
        const bool first = text.empty();
        text += first ? "PSC " : "; PSC ";
        text += itemText(OptionGroup::PSC, split.psc);
        text += first ? " splits it as B " : " as B ";
        text += decimalText(split.b) + ", A " + decimalText(split.a);
    }
    return text.empty() ? "no PSC item splits it within the rules" : text;
}

}  // namespace

const char* counterRuleText(CounterRule rule) {
    switch (rule) {
        case CounterRule::RRange:
            return "1 ≤ R ≤ 16383";
        case CounterRule::NRange:
            return "1 ≤ N ≤ 8191";
        case CounterRule::BAtLeast3:
            return "B ≥ 3";
        case CounterRule::BAtMost8191:
            return "B ≤ 8191";
        case CounterRule::BAtLeastA:
            return "B ≥ A";
    }
    return "";
}

std::string counterRulesText(const std::vector<CounterRule>& rules) {
    std::string text;
    for (const CounterRule rule : rules) {
        if (!text.empty()) text += " and ";
        text += counterRuleText(rule);
    }
    return text;
}

std::vector<CounterRule> brokenNLatchRules(int32_t variant, int64_t n, int64_t a, int64_t b) {
    std::vector<CounterRule> broken;
    if (variant == 0) {
        if (n < 1 || n > kMaxN) broken.push_back(CounterRule::NRange);
        return broken;
    }
    if (b < kMinB) broken.push_back(CounterRule::BAtLeast3);
    if (b > kMaxN) broken.push_back(CounterRule::BAtMost8191);
    if (b < a) broken.push_back(CounterRule::BAtLeastA);
    return broken;
}

std::vector<CounterRule> brokenCounterRules(int32_t variant, int64_t r, int64_t n, int64_t a,
                                            int64_t b) {
    std::vector<CounterRule> broken;
    if (!rWithinRule(r)) broken.push_back(CounterRule::RRange);
    for (const CounterRule rule : brokenNLatchRules(variant, n, a, b)) broken.push_back(rule);
    return broken;
}

std::vector<PrescalerSplit> splitsWithinRules(int64_t n) {
    std::vector<PrescalerSplit> splits;
    for (int32_t psc = 0; psc < kPscItems; ++psc) {
        const int64_t p = int64_t{8} << psc;
        // The finder's split: quotient toward zero, remainder with the sign of N.
        const PrescalerSplit split{psc, n % p, n / p};
        if (brokenNLatchRules(1, n, split.a, split.b).empty()) splits.push_back(split);
    }
    return splits;
}

std::string counterRuleLine(const SynthOptions& options, int64_t r, int64_t n, int64_t a,
                            int64_t b) {
    std::vector<CounterRule> rRules;
    if (!rWithinRule(r)) rRules.push_back(CounterRule::RRange);
    const std::vector<CounterRule> nRules = brokenNLatchRules(options.Variant, n, a, b);
    if (rRules.empty() && nRules.empty()) return "";

    const bool dual = options.Variant != 0;
    const std::string_view variant = itemText(OptionGroup::Variant, options.Variant);
    std::string line = variant.empty() ? "The unit (no Tarvex selected)" : std::string(variant);
    line += " cannot divide N " + decimalText(n);
    if (dual) {
        const std::string_view psc = itemText(OptionGroup::PSC, options.PSC);
        line += psc.empty() ? " with no PSC item" : " with PSC " + std::string(psc);
    }
    line += ": ";
    if (!rRules.empty()) {
        line += "R " + decimalText(r) + " breaks " + counterRulesText(rRules);
        if (!nRules.empty()) line += "; ";
    }
    if (!nRules.empty()) {
        line += dual ? "B " + decimalText(b) + ", A " + decimalText(a) : "N " + decimalText(n);
        line += " breaks " + counterRulesText(nRules);
        if (dual) line += "; " + alternativesText(n, options.PSC);
    }
    return line + ".";
}

}  // namespace tv
