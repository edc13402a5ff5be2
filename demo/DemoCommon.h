// What the demo programs share: the report channel (standard output, which the installer reads), the
// command line, and where the product's shortcuts live.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <string_view>

namespace demo {

inline constexpr wchar_t kProductVersion[] = L"2.0.0";

inline std::string ToCodePage(std::wstring_view text, UINT codePage) {
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string bytes(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) {
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
  }
  return bytes;
}

inline void WriteBytes(DWORD stream, std::string_view bytes) {
  HANDLE h = GetStdHandle(stream);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// One report line in the given code page.
inline void Report(std::wstring_view line, UINT codePage = CP_UTF8) {
  WriteBytes(STD_OUTPUT_HANDLE, ToCodePage(std::wstring(line) + L"\r\n", codePage));
}

// The raw command line after the program's own path.
inline std::wstring Arguments() {
  const wchar_t* s = GetCommandLineW();
  if (*s == L'"') {
    for (++s; *s && *s != L'"'; ++s) {}
    if (*s) ++s;
  } else {
    while (*s && *s != L' ' && *s != L'\t') ++s;
  }
  while (*s == L' ' || *s == L'\t') ++s;
  return s;
}

// The value of "name=..." up to the next blank (or inside quotes), or of a last item that runs to the end
// of the line ("/D=", "_?=") when toEnd is set. Empty when absent.
inline std::wstring Switch(const std::wstring& args, const std::wstring& name, bool toEnd = false) {
  size_t at = 0;
  while ((at = args.find(name, at)) != std::wstring::npos) {
    if (at == 0 || args[at - 1] == L' ' || args[at - 1] == L'"') break;
    at += name.size();
  }
  if (at == std::wstring::npos) return {};
  size_t begin = at + name.size();
  if (toEnd) {
    // run by hand, a shell may quote the whole last item: "/D=C:\My Apps\Zavix"
    std::wstring value = args.substr(begin);
    if (at > 0 && args[at - 1] == L'"' && !value.empty() && value.back() == L'"') value.pop_back();
    return value;
  }
  if (begin < args.size() && args[begin] == L'"') {
    const size_t end = args.find(L'"', begin + 1);
    return args.substr(begin + 1, end == std::wstring::npos ? std::wstring::npos : end - begin - 1);
  }
  return args.substr(begin, args.find(L' ', begin) - begin);
}

inline bool HasSwitch(const std::wstring& args, const std::wstring& name) {
  const size_t at = args.find(name);
  return at != std::wstring::npos && (at == 0 || args[at - 1] == L' ') &&
         (at + name.size() == args.size() || args[at + name.size()] == L' ' || args[at + name.size()] == L'=');
}

inline std::wstring FolderPath(int csidl) {
  wchar_t path[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

inline std::wstring DesktopShortcut() { return FolderPath(CSIDL_DESKTOPDIRECTORY) + L"\\Zavix.lnk"; }
inline std::wstring QuickLaunchFolder() {
  return FolderPath(CSIDL_APPDATA) + L"\\Microsoft\\Internet Explorer\\Quick Launch";
}
inline std::wstring QuickLaunchShortcut() { return QuickLaunchFolder() + L"\\Zavix.lnk"; }

}  // namespace demo
