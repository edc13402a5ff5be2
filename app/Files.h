// File access by wide path for portable code: on Windows every path the installer handles is UTF-16
// and may hold characters outside the ANSI code page, so files are never opened through 8-bit paths.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace Utils {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// fopen by wide path; mode as for fopen ("rb", "ab+"). Null when it cannot be opened.
FilePtr OpenFile(const std::wstring& path, const char* mode);
// Size in bytes, -1 when it cannot be read.
int64_t FileSize(const std::wstring& path);
// Failures are ignored, as every caller does.
void RemoveFile(const std::wstring& path);
// Replaces `to` when it exists. False when the move failed.
bool MoveFileOver(const std::wstring& from, const std::wstring& to);

}  // namespace Utils
