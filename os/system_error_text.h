#pragma once
// The system's own words for an error code, for messages that name the cause.
#include <string>

namespace tv {

// strerror's text for an errno value, safe to call from any thread; empty for 0.
std::string systemErrorText(int code);

}  // namespace tv
