// The one place where the installer's UTF-16 texts meet UTF-8 (libcurl, analytics, the log file).
// Portable: wchar_t is UTF-16 on Windows and UTF-32 on the host build; both are handled.
#pragma once

#include <string>
#include <string_view>

namespace Utils {

// Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::wstring_view text);
// Malformed, overlong or cut sequences become U+FFFD, one per bad byte.
std::wstring FromUtf8(std::string_view text);

}  // namespace Utils
