#include <gtest/gtest.h>

#include <cwctype>

#include "env/SystemIdentification.h"

namespace {

TEST(SystemIdentificationWin, ThisSystem) {
  const WindowsVersion v = GetWindowsVersion();
  EXPECT_EQ(L"Windows", v.product);
  EXPECT_EQ(L"7", v.label) << "the test prefix is Wine's default, Windows 7 (6.1.7601)";
  EXPECT_TRUE(Is64BitWindows());
}

TEST(SystemIdentificationWin, NewIdTextsAreFreshAndWellFormed) {
  const std::wstring a = NewIdText(), b = NewIdText();
  EXPECT_NE(a, b);
  for (const std::wstring& id : {a, b}) {
    ASSERT_EQ(32u, id.size()) << id;
    for (size_t i = 0; i < id.size(); ++i) {
      const bool thirdField = i >= 12 && i < 16;
      EXPECT_TRUE(std::iswxdigit(id[i]) && (thirdField ? !std::iswupper(id[i]) : !std::iswlower(id[i])))
          << id << " at " << i;
    }
  }
}

}  // namespace
