#include "env/SystemIdentification.h"

#include <cwchar>

std::wstring WindowsVersionLabel(uint32_t major, uint32_t minor, uint32_t build, bool serverR2) {
  if (major <= 4) return L"XP-";
  if (major == 5) {
    if (minor == 0) return L"2K";
    if (minor == 1) return L"XP";
    if (minor == 2) return serverR2 ? L"Server 2003 R2" : L"Server 2003";
    return L"XP+";
  }
  if (major == 6) {
    switch (minor) {
      case 0: return L"Vista";
      case 1: return L"7";
      case 2: return L"8";
      case 3: return L"8.1";
      default: return L"8.1+";
    }
  }
  if (major == 10) return minor == 0 ? L"10" : L"10+";
  return std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." + std::to_wstring(build);
}

std::wstring FormatIdText(uint32_t data1, uint16_t data2, uint16_t data3, const uint8_t (&data4)[8]) {
  wchar_t text[50];
  std::swprintf(text, 50, L"%08X%04X%04x%02X%02X%02X%02X%02X%02X%02X%02X", static_cast<unsigned>(data1),
                static_cast<unsigned>(data2), static_cast<unsigned>(data3), data4[0], data4[1], data4[2],
                data4[3], data4[4], data4[5], data4[6], data4[7]);
  return text;
}
