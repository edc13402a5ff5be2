#include <gtest/gtest.h>

#include "download/PackageUrl.h"

namespace {

TEST(PackageUrl, Routes) {
  const struct {
    const wchar_t* label;
    bool is64;
    const wchar_t* route;
  } cases[] = {
      {L"XP", false, L"download_silent_xp"},  {L"XP-", false, L"download_silent_xp"},
      {L"XP+", true, L"download_silent_xp"},  {L"2K", false, L"download_silent"},
      {L"Server 2003", true, L"download_silent"}, {L"Server 2003 R2", false, L"download_silent"},
      {L"7", false, L"download_silent"},      {L"7", true, L"download_silent"},
      {L"10", true, L"download_silent"},      {L"7.0.100", true, L"download_silent"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.route, ChooseDownloadRoute(c.label, [&] { return c.is64; })) << c.label;
  }
}

TEST(PackageUrl, Composition) {
  int asked = 0;
  auto label = [&] { ++asked; return std::wstring(L"XP"); };
  auto is64 = [&] { ++asked; return false; };
  EXPECT_EQ(L"https://h/software/598", ComposeDownloadUrl(L"https://h/software/598", label, is64));
  EXPECT_EQ(L"https://h/${route}/x", ComposeDownloadUrl(L"https://h/${route}/x", label, is64));
  EXPECT_EQ(0, asked) << "system facts are asked for only when the placeholder is present";
  EXPECT_EQ(L"https://h/download_silent_xp/a/download_silent_xp",
            ComposeDownloadUrl(L"https://h/${ROUTE}/a/${ROUTE}", label, is64));
  EXPECT_EQ(L"download_silent", ComposeDownloadUrl(L"${ROUTE}", [] { return std::wstring(L"10"); }, is64));
}

}  // namespace
