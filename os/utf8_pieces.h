#pragma once
// Text written in pieces may split a character's UTF-8 bytes between two writes.
// A writer that converts each piece on its own (to UTF-16 for a Windows console)
// would turn both halves into U+FFFD; it holds the unfinished end back instead.
#include <cstddef>
#include <string_view>

namespace tv {

// The length of `bytes` without a last character whose UTF-8 sequence has begun
// but not ended. Bytes that can never become a character (a stray continuation
// byte, an invalid lead byte, a sequence broken before its end) count as whole:
// waiting would not mend them.
size_t wholeUtf8Length(std::string_view bytes);

}  // namespace tv
