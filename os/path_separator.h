#pragma once
// The separator the program puts between a directory and a file name it builds:
// "\" on Windows, "/" elsewhere. Joining is plain concatenation, without looking
// at whether the directory already ends in a separator.
namespace tv {

#ifdef _WIN32
inline constexpr const char* kPathSeparator = "\\";
#else
inline constexpr const char* kPathSeparator = "/";
#endif

}  // namespace tv
