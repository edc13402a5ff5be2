#include "app/InstallerSettings.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <cwctype>

#ifndef ZAVIX_DEFAULT_DOWNLOAD_URL
#error "ZAVIX_DEFAULT_DOWNLOAD_URL comes from the build"
#endif
#define ZAVIX_WIDEN2(x) L##x
#define ZAVIX_WIDEN(x) ZAVIX_WIDEN2(x)
const wchar_t* const kDefaultDownloadUrl = ZAVIX_WIDEN(ZAVIX_DEFAULT_DOWNLOAD_URL);

namespace Utils {

SwitchMap ParseSwitches(const std::vector<std::wstring>& arguments) {
  SwitchMap map;
  for (const std::wstring& arg : arguments) {
    std::wstring name = arg, value;
    if (!arg.empty() && arg[0] == L'-') {
      const size_t eq = arg.find(L'=');
      if (eq != std::wstring::npos) {
        name = arg.substr(0, eq);
        value = arg.substr(eq + 1);
      }
    }
    map.emplace(std::move(name), std::move(value));  // keeps the first occurrence
  }
  return map;
}

bool ReadBoolText(const std::wstring& text) { return text == L"true"; }

namespace {

size_t SkipBlanks(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && std::iswspace(text[i])) ++i;
  return i;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

int32_t ReadIntText(const std::wstring& text) {
  size_t i = SkipBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  int64_t value = 0;
  bool any = false;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    any = true;
    value = value * 10 + (text[i] - L'0');
    if (value > int64_t{INT32_MAX} + 1) return 0;
  }
  if (!any) return 0;
  if (negative) value = -value;
  if (value > INT32_MAX) return 0;
  return static_cast<int32_t>(value);
}

double ReadDoubleText(const std::wstring& text) {
  // Only plain decimal forms count: no "inf", "nan" or hexadecimal floats, which strtod would accept.
  size_t i = SkipBlanks(text);
  std::string number;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) number += static_cast<char>(text[i++]);
  size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) number += static_cast<char>(text[i]);
  if (i < text.size() && text[i] == L'.') {
    number += '.';
    for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits) number += static_cast<char>(text[i]);
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) exponent += static_cast<char>(text[j++]);
    if (j < text.size() && IsDigit(text[j])) {
      for (; j < text.size() && IsDigit(text[j]); ++j) exponent += static_cast<char>(text[j]);
      number += exponent;
    }
  }
  errno = 0;
  const double value = std::strtod(number.c_str(), nullptr);
  if (errno == ERANGE || !std::isfinite(value)) return 0;
  return value;
}

}  // namespace Utils

void InstallerSettings::ApplySwitches(const SwitchMap& switches, const UrlComposer& compose) {
  auto find = [&](const wchar_t* name) -> const std::wstring* {
    const auto it = switches.find(name);
    return it == switches.end() ? nullptr : &it->second;
  };
  if (auto* v = find(L"-downloadurl")) DownloadUrl = compose(*v);
  if (auto* v = find(L"-downloadtype")) DownloadType = Utils::ReadIntText(*v);
  if (auto* v = find(L"-downloadscale")) DownloadScale = Utils::ReadDoubleText(*v);
  if (auto* v = find(L"-ischecknet")) IsCheckNet = Utils::ReadBoolText(*v);
  if (auto* v = find(L"-isenableappanalytics")) IsEnableAppAnalytics = Utils::ReadBoolText(*v);
  if (auto* v = find(L"-dlappnamesuffix")) DlAppNameSuffix = *v;
  if (auto* v = find(L"-dlappversion")) m_DlAppVersion = *v;
  if (auto* v = find(L"-instcmd")) InstCmd = *v;
  if (auto* v = find(L"-language")) LanguageIndex = Utils::ReadIntText(*v);
  if (auto* v = find(L"-insnew")) InsNew = Utils::ReadBoolText(*v);
}

std::wstring InstallerSettings::Describe() const {
  auto flag = [](bool b) { return std::wstring(b ? L"true" : L"false"); };
  wchar_t scale[64];
  std::swprintf(scale, 64, L"%g", DownloadScale);
  return L"settings: DownloadUrl=" + DownloadUrl + L"; DownloadType=" + std::to_wstring(DownloadType) +
         L"; DownloadScale=" + scale + L"; IsCheckNet=" + flag(IsCheckNet) +
         L"; IsEnableAppAnalytics=" + flag(IsEnableAppAnalytics) + L"; DlAppNameSuffix=" + DlAppNameSuffix +
         L"; m_DlAppVersion=" + m_DlAppVersion + L"; InstCmd=" + InstCmd +
         L"; LanguageIndex=" + std::to_wstring(LanguageIndex) + L"; InsNew=" + flag(InsNew) +
         L"; ExeFileName=" + ExeFileName;
}
