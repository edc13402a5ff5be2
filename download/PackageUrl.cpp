#include "download/PackageUrl.h"

#include <algorithm>
#include <array>

namespace {

constexpr wchar_t kPlaceholder[] = L"${ROUTE}";
constexpr std::array<int, 5> kProductsWith64BitPackage = {267, 385, 257, 335, 318};
constexpr int kInstallerProduct = 700;

}  // namespace

std::wstring ChooseDownloadRoute(const std::wstring& versionLabel, const std::function<bool()>& is64BitWindows) {
  if (versionLabel.find(L"XP") != std::wstring::npos) return L"download_silent_xp";
  const bool has64BitPackage = std::find(kProductsWith64BitPackage.begin(), kProductsWith64BitPackage.end(),
                                         kInstallerProduct) != kProductsWith64BitPackage.end();
  if (has64BitPackage && is64BitWindows()) return L"download_silent_64";
  return L"download_silent";
}

std::wstring ComposeDownloadUrl(const std::wstring& address, const std::function<std::wstring()>& versionLabel,
                                const std::function<bool()>& is64BitWindows) {
  if (address.find(kPlaceholder) == std::wstring::npos) return address;
  const std::wstring route = ChooseDownloadRoute(versionLabel(), is64BitWindows);
  std::wstring result = address;
  const size_t length = std::char_traits<wchar_t>::length(kPlaceholder);
  // Searching from where the last route ended cannot loop, even if a route held the placeholder.
  for (size_t at = result.find(kPlaceholder); at != std::wstring::npos;
       at = result.find(kPlaceholder, at + route.size())) {
    result.replace(at, length, route);
  }
  return result;
}
