#include "download/PackageUrl.h"
#include "env/SystemIdentification.h"

std::wstring ComposeDownloadUrl(const std::wstring& address) {
  return ComposeDownloadUrl(
      address, [] { return GetWindowsVersion().label; }, [] { return Is64BitWindows(); });
}
