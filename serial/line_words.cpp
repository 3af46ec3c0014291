#include "serial/line_words.h"

#include <string_view>

namespace tv {

namespace {

template <typename Value>
struct Word {
    std::string_view text;
    Value value;
};

using enum Parity;

// In table order; the first exact match wins. The full-width forms are the
// double-width letters. No Latin word means "none": only the two Japanese ones.
// clang-format off
constexpr Word<Parity> kParityWords[] = {
    {"無し", None},     {"なし", None},
    {"奇数", Odd},      {"きすう", Odd},     {"ODD", Odd},     {"odd", Odd},     {"ＯＤＤ", Odd},     {"ｏｄｄ", Odd},
    {"偶数", Even},     {"ぐうすう", Even},  {"EVEN", Even},   {"even", Even},   {"ＥＶＥＮ", Even},   {"ｅｖｅｎ", Even},
    {"マーク", Mark},   {"まーく", Mark},    {"MARK", Mark},   {"mark", Mark},   {"ＭＡＲＫ", Mark},   {"ｍａｒｋ", Mark},
    {"スペース", Space}, {"すぺーす", Space}, {"SPACE", Space}, {"space", Space}, {"ＳＰＡＣＥ", Space}, {"ｓｐａｃｅ", Space},
};
// clang-format on

constexpr Word<StopBits> kStopBitTexts[] = {
    {"1", StopBits::One}, {"1.5", StopBits::OneAndHalf}, {"2", StopBits::Two}};

template <typename Value, size_t N>
std::optional<Value> lookUp(const Word<Value> (&table)[N], const std::string& text) {
    for (const Word<Value>& w : table) {
        if (w.text == text) return w.value;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Parity> parityFromWord(const std::string& word) { return lookUp(kParityWords, word); }

std::optional<StopBits> stopBitsFromText(const std::string& text) {
    return lookUp(kStopBitTexts, text);
}

}  // namespace tv
