// What the installer side knows about the machine: the Windows version label (it picks the package
// route), whether Windows is 64-bit, and fresh identifier texts for the installation record.
// The label and identifier formats are portable so every case is tested on the host.
#pragma once

#include <cstdint>
#include <string>

// The label for the kernel's version numbers; serverR2 is the SM_SERVERR2 metric being non-zero.
std::wstring WindowsVersionLabel(uint32_t major, uint32_t minor, uint32_t build, bool serverR2);

// 32 hexadecimal characters: upper case but for the third field (characters 13 to 16).
std::wstring FormatIdText(uint32_t data1, uint16_t data2, uint16_t data3, const uint8_t (&data4)[8]);

// Windows only.
struct WindowsVersion {
  std::wstring product;  // always "Windows"
  std::wstring label;
};
WindowsVersion GetWindowsVersion();
bool Is64BitWindows();
std::wstring NewIdText();
