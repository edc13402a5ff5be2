#include "download/UrlEscape.h"

#include "app/TextConvert.h"

std::wstring EscapeDownloadUrl(const std::wstring& url) {
  static const char digits[] = "0123456789ABCDEF";
  std::string escaped;
  for (unsigned char c : Utils::ToUtf8(url)) {
    if (c >= 0x21 && c <= 0x7E) {
      escaped += static_cast<char>(c);
    } else if (c == 0x20) {
      escaped += '+';
    } else {
      escaped += '%';
      escaped += digits[c >> 4];
      escaped += digits[c & 15];
    }
  }
  return Utils::FromUtf8(escaped);
}
