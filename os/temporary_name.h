#pragma once
// The names of the temporary files a safe replace writes beside its target:
// ".<name>.<pid>.<n>.tmp", so that a later replace can tell whose they are.
#include <cstdint>
#include <string>
#include <string_view>

namespace tv {

// ".<name>." for the file name `name` (no directory).
std::string temporaryPrefix(std::string_view name);

// "<prefix><pid>.<n>.tmp": the `n`th temporary file of process `pid`.
std::string temporaryName(std::string_view prefix, std::uint64_t pid, unsigned n);

// The process id in a temporary file's name "<prefix><pid>.<n>.tmp", or 0 for any
// other name. Only plain decimal digits count, at most `maxPidDigits` of them, and
// both the id and the counter must be there.
std::uint64_t temporaryOwner(std::string_view name, std::string_view prefix, size_t maxPidDigits);

}  // namespace tv
