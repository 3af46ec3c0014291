#pragma once
// The Win32 file steps that the header export and the settings file share. Paths
// are UTF-8 here, as everywhere in the program; the wide-character calls take them
// as UTF-16. Each step returns 0 or the GetLastError() code of its failure.
#include <windows.h>

#include <string>
#include <string_view>

namespace tv {

// UTF-8 to UTF-16 and back; invalid sequences become U+FFFD, as the system does.
std::wstring wideText(std::string_view utf8);
std::string utf8Text(std::wstring_view wide);

// Writes all of `bytes`, going on after short writes. A write that makes no progress
// is ERROR_WRITE_FAULT: a partial file is never reported as written.
int writeAll(HANDLE file, std::string_view bytes);

// CloseHandle; its failure code, or 0.
int closeChecked(HANDLE file);

}  // namespace tv
