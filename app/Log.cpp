#include "app/Log.h"

#include <cstdarg>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <vector>

#include "app/LogPlatform.h"
#include "app/TextConvert.h"

namespace Utils {
namespace {

std::mutex g_fileMutex;
std::unique_ptr<std::ofstream> g_file;

void AppendToFile(const wchar_t* line) {
  std::lock_guard<std::mutex> lock(g_fileMutex);
  if (g_file == nullptr) return;
  const std::string utf8 = ToUtf8(line);
  g_file->write(utf8.data(), static_cast<std::streamsize>(utf8.size()));
  g_file->flush();
}

}  // namespace

bool SetLogFile(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(g_fileMutex);
  g_file.reset();
  if (path.empty()) return true;
  auto file = std::make_unique<std::ofstream>(std::filesystem::path(path), std::ios::binary | std::ios::app);
  if (!*file) return false;
  g_file = std::move(file);
  return true;
}

void WriteLog(const wchar_t* format, ...) {
  try {
    // Most lines fit the first buffer; vswprintf reports overflow only by failing, so grow and retry.
    std::vector<wchar_t> buffer(512);
    for (;;) {
      va_list args;
      va_start(args, format);
      const int n = std::vswprintf(buffer.data(), buffer.size(), format, args);
      va_end(args);
      if (n >= 0 && static_cast<size_t>(n) < buffer.size()) break;
      if (buffer.size() >= (size_t{1} << 24)) return;  // a malformed format, not a long line
      buffer.resize(buffer.size() * 4);
    }
    detail::DebugOutput(buffer.data());
    AppendToFile(buffer.data());
  } catch (...) {
    // the log never takes the installer down
  }
}

std::string QualifiedFunctionName(const char* pretty) {
  const std::string s = pretty;
  // The parameter list opens at the first '(' outside template brackets; "operator()" is the one name
  // that holds a '(' itself.
  int depth = 0;
  size_t open = std::string::npos;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '<') ++depth;
    else if (c == '>' && depth > 0) --depth;
    else if (c == '(' && depth == 0) {
      if (i >= 8 && s.compare(i - 8, 8, "operator") == 0 && s.compare(i, 2, "()") == 0) {
        ++i;
        continue;
      }
      open = i;
      break;
    }
  }
  if (open == std::string::npos) return s;
  depth = 0;
  size_t start = 0;
  for (size_t i = open; i-- > 0;) {
    const char c = s[i];
    if (c == '>') ++depth;
    else if (c == '<') --depth;
    else if (c == ' ' && depth == 0) {
      start = i + 1;
      break;
    }
  }
  return s.substr(start, open - start);
}

}  // namespace Utils
