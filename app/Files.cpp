#include "app/Files.h"

#include <filesystem>
#include <system_error>

#include "app/TextConvert.h"

namespace Utils {

FilePtr OpenFile(const std::wstring& path, const char* mode) {
#ifdef _WIN32
  const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
  return FilePtr(_wfopen(path.c_str(), wideMode.c_str()));
#else
  return FilePtr(std::fopen(ToUtf8(path).c_str(), mode));
#endif
}

int64_t FileSize(const std::wstring& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(std::filesystem::path(path), error);
  return error ? -1 : static_cast<int64_t>(size);
}

void RemoveFile(const std::wstring& path) {
  std::error_code ignored;
  std::filesystem::remove(std::filesystem::path(path), ignored);
}

bool MoveFileOver(const std::wstring& from, const std::wstring& to) {
  std::error_code error;
  std::filesystem::rename(std::filesystem::path(from), std::filesystem::path(to), error);
  return !error;
}

}  // namespace Utils
