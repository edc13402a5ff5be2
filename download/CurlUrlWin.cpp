#include <windows.h>

#include "app/TextConvert.h"
#include "download/CurlClient.h"

std::string CurlUrlText(const std::wstring& url) {
  if (url.rfind(L"file:///", 0) != 0) return Utils::ToUtf8(url);
  const int n = WideCharToMultiByte(CP_ACP, 0, url.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string ansi(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, url.c_str(), -1, ansi.data(), n, nullptr, nullptr);
  if (!ansi.empty()) ansi.pop_back();
  return ansi;
}
