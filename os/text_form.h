#pragma once
// How the bytes of a text file (the settings file, a header export) carry its text: UTF-8 (or any
// 8-bit text, taken byte for byte) with or without a byte order mark, or UTF-16 of either
// endianness behind its byte order mark, as the Windows profile functions read
// and write it. The text is worked on as UTF-8 and written back in the form it
// came in.
#include <string>
#include <string_view>

namespace tv {

struct TextForm {
    enum class Encoding { Bytes, Utf16Le, Utf16Be };
    Encoding encoding = Encoding::Bytes;
    std::string byteOrderMark;  // as found at the start, written back in front
    std::string oddByte;        // the last byte of a UTF-16 file of odd length, kept
};

// The text of `bytes` (without its byte order mark) and the form it had. UTF-16
// becomes UTF-8; a lone surrogate becomes its own three-byte sequence so that it
// is written back as it was.
std::string decodeText(std::string_view bytes, TextForm& form);

// The form that the byte order mark at the start of `bytes` announces (Bytes with
// no mark when there is none); the mark's length is form.byteOrderMark.size().
// Readers that take a file piece by piece decide with the first three bytes.
TextForm textFormOf(std::string_view bytes);

// UTF-16 code units, two bytes each in the given order, as UTF-8, the way
// decodeText turns them; a last odd byte is left out.
std::string utf16ToUtf8(std::string_view bytes, bool littleEndian);

// `text` in `form`: the reverse of decodeText. For UTF-16, bytes of `text` that
// are no UTF-8 become U+FFFD.
std::string encodeText(std::string_view text, const TextForm& form);

}  // namespace tv
