#include <gtest/gtest.h>

#include "env/SystemIdentification.h"

namespace {

TEST(SystemIdentification, VersionLabels) {
  const struct {
    uint32_t major, minor, build;
    bool r2;
    const wchar_t* label;
  } cases[] = {
      {0, 0, 0, false, L"XP-"},     {4, 10, 1998, false, L"XP-"},  {5, 0, 2195, false, L"2K"},
      {5, 1, 2600, false, L"XP"},   {5, 2, 3790, false, L"Server 2003"}, {5, 2, 3790, true, L"Server 2003 R2"},
      {5, 1, 2600, true, L"XP"},    {5, 3, 0, false, L"XP+"},      {6, 0, 6002, false, L"Vista"},
      {6, 1, 7601, false, L"7"},    {6, 2, 9200, false, L"8"},     {6, 3, 9600, false, L"8.1"},
      {6, 4, 9841, false, L"8.1+"}, {10, 0, 19045, false, L"10"},  {10, 0, 22631, true, L"10"},
      {10, 1, 0, false, L"10+"},    {7, 0, 100, false, L"7.0.100"}, {8, 2, 5, false, L"8.2.5"},
      {9, 0, 0, false, L"9.0.0"},   {11, 0, 26100, false, L"11.0.26100"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.label, WindowsVersionLabel(c.major, c.minor, c.build, c.r2))
        << c.major << "." << c.minor << "." << c.build;
  }
}

TEST(SystemIdentification, IdTextIsUpperCaseButForTheThirdField) {
  const uint8_t tail[8] = {0xAB, 0xCD, 0xEF, 0x01, 0x23, 0x45, 0x67, 0x89};
  EXPECT_EQ(L"0A1B2C3DDEADbeefABCDEF0123456789", FormatIdText(0x0A1B2C3D, 0xDEAD, 0xBEEF, tail));
  const uint8_t zeros[8] = {};
  EXPECT_EQ(L"00000000000000000000000000000000", FormatIdText(0, 0, 0, zeros));
}

}  // namespace
