#include "os/utf8_pieces.h"

namespace tv {

namespace {

// How many bytes a sequence starting with `lead` has; 0 for a byte that starts none.
size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

size_t wholeUtf8Length(std::string_view bytes) {
    // The last lead byte lies within the last four bytes, or the end is whole.
    const size_t size = bytes.size();
    for (size_t back = 1; back <= 4 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(bytes[size - back]);
        if (isContinuation(byte)) continue;
        const size_t length = sequenceLength(byte);
        return length > back ? size - back : size;
    }
    return size;
}

}  // namespace tv
