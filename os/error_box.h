#pragma once
// The text of the standard error box, shared by the window and tvcalc.
#include <string>

namespace tv {

// The message with a full stop added when its last byte sorts after "." (so a
// message ending in a letter, a digit or a Japanese character gets one, and one
// ending in ".", ")" or "!" does not).
std::string errorBoxText(const std::string& message);

}  // namespace tv
