#pragma once
// The one call that turns a checked number text into a long double, kept apart
// because each C runtime offers it differently.
#include <string>

namespace tv {

// Reads `plain`, a text of the form [sign]digits[.digits][e[sign]digits] with "."
// as the separator whatever the process's locale, rounded to nearest with a 64-bit
// mantissa (±HUGE_VALL beyond the range). Returns false when the text was not read
// to its end.
bool readLongDouble(const std::string& plain, long double& value);

}  // namespace tv
