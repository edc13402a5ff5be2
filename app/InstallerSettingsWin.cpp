#include <windows.h>
#include <shellapi.h>

#include "app/CommandLine.h"
#include "app/InstallerSettings.h"
#include "download/PackageUrl.h"

namespace {

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// Values are read whole: a cut address or command would still look valid and do the wrong thing.
std::wstring ReadProfileText(const std::wstring& file, const wchar_t* key, const wchar_t* fallback) {
  std::wstring value(260, L'\0');
  for (;;) {
    const DWORD n = GetPrivateProfileStringW(L"Install", key, fallback, value.data(),
                                             static_cast<DWORD>(value.size()), file.c_str());
    if (n + 1 < value.size() || value.size() >= 65536) {
      value.resize(n);
      return value;
    }
    value.resize(value.size() * 4);
  }
}

InstallerSettings LoadSettings() {
  InstallerSettings s;
  s.DownloadUrl = ComposeDownloadUrl(kDefaultDownloadUrl);

  const std::wstring exe = ModulePath();
  const size_t slash = exe.find_last_of(L"\\/");
  s.ExeFileName = slash == std::wstring::npos ? exe : exe.substr(slash + 1);
  const std::wstring file =
      (slash == std::wstring::npos ? std::wstring() : exe.substr(0, slash)) + L"\\BrellInstallerConfig.ini";

  if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
    s.DownloadUrl = ComposeDownloadUrl(ReadProfileText(file, L"DownloadUrl", kDefaultDownloadUrl));
    s.DownloadType = static_cast<int32_t>(GetPrivateProfileIntW(L"Install", L"DownloadType", 1, file.c_str()));
    s.IsCheckNet = Utils::ReadBoolText(ReadProfileText(file, L"IsCheckNet", L"true"));
    s.IsEnableAppAnalytics = Utils::ReadBoolText(ReadProfileText(file, L"IsEnableAppAnalytics", L"true"));
    s.DlAppNameSuffix = ReadProfileText(file, L"DlAppNameSuffix", L".downloader");
    s.m_DlAppVersion = ReadProfileText(file, L"m_DlAppVersion", L"");
    s.DownloadScale = Utils::ReadDoubleText(ReadProfileText(file, L"DownloadScale", L"0.7"));
    s.InstCmd = ReadProfileText(file, L"InstCmd", L"");
  }
  s.ProductName = L"Zavix";
  s.ProductVersion = L"1.7.9";
  return s;
}

}  // namespace

InstallerSettings g_Settings = LoadSettings();

void InstallerSettings::ApplyCommandLine() {
  ApplySwitches(Utils::CommandLineSwitches(), [](const std::wstring& url) { return ComposeDownloadUrl(url); });
}
