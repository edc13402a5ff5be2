// The process-wide settings record: built-in defaults, then the settings file beside the executable
// (read during static initialisation), then the command line (applied by the entry point). Every
// component reads g_Settings directly; only start-up writes it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

using SwitchMap = std::map<std::wstring, std::wstring>;
using UrlComposer = std::function<std::wstring(const std::wstring&)>;

struct InstallerSettings {
  std::wstring ProductName = L"Zavix";
  std::wstring ProductVersion = L"1.7.9";
  std::wstring ExeFileName = L"NULL";
  std::wstring DlAppNameSuffix = L".downloader";
  std::wstring m_DlAppVersion;
  std::wstring InstCmd;
  std::wstring DownloadUrl;
  int32_t DownloadType = 1;
  bool IsCheckNet = false;
  bool IsEnableAppAnalytics = true;
  double DownloadScale = 0.7;
  bool CurlReady = true;
  std::wstring AnalyticsGroup = L"IN";
  int32_t LanguageIndex = -1;
  bool InsNew = false;

  // Overrides every setting whose switch is in the map (an empty value counts too).
  void ApplySwitches(const SwitchMap& switches, const UrlComposer& compose);
  // "settings: DownloadUrl=...; DownloadType=1; ..." for the diagnostic log.
  std::wstring Describe() const;

  // Windows only: the process's command line, applied (start-up step 4).
  void ApplyCommandLine();
};

// Windows only: constructed with the defaults and loaded from the settings file before the entry point.
extern InstallerSettings g_Settings;

// The built-in package address, before route composition.
extern const wchar_t* const kDefaultDownloadUrl;

namespace Utils {

// Arguments as the system splits them -> switch map: "-name=value" and "-name" (empty value); any other
// argument keeps its whole text as a name. The first occurrence of a name counts.
SwitchMap ParseSwitches(const std::vector<std::wstring>& arguments);

// True exactly for "true".
bool ReadBoolText(const std::wstring& text);
// Leading blanks, a sign, then decimal digits up to the first other character; 0 when no number
// begins the text or the number does not fit 32 bits.
int32_t ReadIntText(const std::wstring& text);
// Leading blanks, a sign, a decimal number with optional fraction and exponent; the rest is ignored.
// 0 when no number begins the text or it is out of range.
double ReadDoubleText(const std::wstring& text);

}  // namespace Utils
