#include "os/text_form.h"

#include <cstdint>

namespace tv {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr uint32_t kReplacement = 0xFFFD;

bool isHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void appendUtf8(std::string& out, uint32_t cp) {
    const auto byte = [&out](uint32_t b) { out.push_back(static_cast<char>(b)); };
    if (cp < 0x80) {
        byte(cp);
    } else if (cp < 0x800) {
        byte(0xC0 | cp >> 6);
        byte(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        byte(0xE0 | cp >> 12);
        byte(0x80 | (cp >> 6 & 0x3F));
        byte(0x80 | (cp & 0x3F));
    } else {
        byte(0xF0 | cp >> 18);
        byte(0x80 | (cp >> 12 & 0x3F));
        byte(0x80 | (cp >> 6 & 0x3F));
        byte(0x80 | (cp & 0x3F));
    }
}

void appendUtf16(std::string& out, uint32_t unit, bool littleEndian) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out.push_back(littleEndian ? low : high);
    out.push_back(littleEndian ? high : low);
}

// The code point at the start of `text` and its length in bytes; U+FFFD of one
// byte for anything that is no UTF-8. Encoded surrogates are taken as code points,
// so that the lone ones decodeText made go back as they came.
uint32_t nextCodePoint(std::string_view text, size_t& length) {
    const auto at = [&text](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = at(0);
    length = 1;
    size_t count = 0;
    uint32_t cp = 0;
    uint8_t low = 0x80;
    uint8_t high = 0xBF;
    if (lead < 0x80) {
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        count = 1;
        cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 2;
        cp = lead & 0x0Fu;
        low = lead == 0xE0 ? 0xA0 : 0x80;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 3;
        cp = lead & 0x07u;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return kReplacement;
    }
    if (text.size() <= count) return kReplacement;
    for (size_t i = 1; i <= count; ++i) {
        const uint8_t b = at(i);
        if (b < (i == 1 ? low : 0x80) || b > (i == 1 ? high : 0xBF)) return kReplacement;
        cp = cp << 6 | (b & 0x3Fu);
    }
    length = count + 1;
    return cp;
}

}  // namespace

std::string utf16ToUtf8(std::string_view bytes, bool littleEndian) {
    const auto unitAt = [&](size_t i) {
        const auto first = static_cast<uint8_t>(bytes[i]);
        const auto second = static_cast<uint8_t>(bytes[i + 1]);
        return littleEndian ? uint32_t(second) << 8 | first : uint32_t(first) << 8 | second;
    };
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t cp = unitAt(i);
        if (isHighSurrogate(cp) && i + 3 < bytes.size() && isLowSurrogate(unitAt(i + 2))) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00);
            i += 2;
        }
        appendUtf8(text, cp);
    }
    return text;
}

namespace {

std::string utf8ToUtf16(std::string_view text, bool littleEndian) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    while (!text.empty()) {
        size_t length = 0;
        const uint32_t cp = nextCodePoint(text, length);
        if (cp >= 0x10000) {
            appendUtf16(bytes, 0xD800 + ((cp - 0x10000) >> 10), littleEndian);
            appendUtf16(bytes, 0xDC00 + ((cp - 0x10000) & 0x3FF), littleEndian);
        } else {
            appendUtf16(bytes, cp, littleEndian);
        }
        text.remove_prefix(length);
    }
    return bytes;
}

}  // namespace

TextForm textFormOf(std::string_view bytes) {
    TextForm form;
    for (const auto& [mark, encoding] : {std::pair{kUtf16LeMark, TextForm::Encoding::Utf16Le},
                                         std::pair{kUtf16BeMark, TextForm::Encoding::Utf16Be},
                                         std::pair{kUtf8Mark, TextForm::Encoding::Bytes}}) {
        if (bytes.substr(0, mark.size()) == mark) {
            form.encoding = encoding;
            form.byteOrderMark = mark;
            break;
        }
    }
    return form;
}

std::string decodeText(std::string_view bytes, TextForm& form) {
    form = textFormOf(bytes);
    bytes.remove_prefix(form.byteOrderMark.size());
    if (form.encoding == TextForm::Encoding::Bytes) {
        return std::string(bytes);
    }
    if (bytes.size() % 2 != 0) {
        form.oddByte = bytes.substr(bytes.size() - 1);
        bytes.remove_suffix(1);
    }
    return utf16ToUtf8(bytes, form.encoding == TextForm::Encoding::Utf16Le);
}

std::string encodeText(std::string_view text, const TextForm& form) {
    if (form.encoding == TextForm::Encoding::Bytes) {
        return form.byteOrderMark + std::string(text);
    }
    return form.byteOrderMark + utf8ToUtf16(text, form.encoding == TextForm::Encoding::Utf16Le) +
           form.oddByte;
}

}  // namespace tv
