#include "serial/line_words.h"

#include <string_view>

namespace tv {

namespace {

struct Word {
    std::string_view text;
    uint8_t value;
};

// In table order; the first exact match wins. The full-width forms are the
// double-width letters. No Latin word means "none": only the two Japanese ones.
// clang-format off
constexpr Word kParityWords[] = {
    {"無し", 0},     {"なし", 0},
    {"奇数", 1},     {"きすう", 1},     {"ODD", 1},   {"odd", 1},   {"ＯＤＤ", 1},     {"ｏｄｄ", 1},
    {"偶数", 2},     {"ぐうすう", 2},   {"EVEN", 2},  {"even", 2},  {"ＥＶＥＮ", 2},   {"ｅｖｅｎ", 2},
    {"マーク", 3},   {"まーく", 3},     {"MARK", 3},  {"mark", 3},  {"ＭＡＲＫ", 3},   {"ｍａｒｋ", 3},
    {"スペース", 4}, {"すぺーす", 4},   {"SPACE", 4}, {"space", 4}, {"ＳＰＡＣＥ", 4}, {"ｓｐａｃｅ", 4},
};
// clang-format on

constexpr Word kStopBitTexts[] = {{"1", 0}, {"1.5", 1}, {"2", 2}};

template <size_t N>
std::optional<uint8_t> lookUp(const Word (&table)[N], const std::string& text) {
    for (const Word& w : table) {
        if (w.text == text) return w.value;
    }
    return std::nullopt;
}

}  // namespace

std::optional<uint8_t> parityFromWord(const std::string& word) {
    return lookUp(kParityWords, word);
}

std::optional<uint8_t> stopBitsFromText(const std::string& text) {
    return lookUp(kStopBitTexts, text);
}

}  // namespace tv
