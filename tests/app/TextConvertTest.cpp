#include <gtest/gtest.h>

#include "app/TextConvert.h"

namespace {

TEST(TextConvert, RoundTripsEveryPlane) {
  const std::wstring text = L"Zavix \u5B89\u88C5 \u00E9 \U0001F600 end";
  const std::string utf8 = Utils::ToUtf8(text);
  EXPECT_EQ("Zavix \xE5\xAE\x89\xE8\xA3\x85 \xC3\xA9 \xF0\x9F\x98\x80 end", utf8);
  EXPECT_EQ(text, Utils::FromUtf8(utf8));
}

TEST(TextConvert, MalformedUtf8BecomesReplacementCharacters) {
  const struct {
    const char* bytes;
    const wchar_t* text;
  } cases[] = {
      {"a\xC0\x80z", L"a\uFFFD\uFFFDz"},          // overlong NUL
      {"a\xE5\xAE", L"a\uFFFD\uFFFD"},            // cut at the end
      {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},    // encoded surrogate
      {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xFF", L"\uFFFD"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, Utils::FromUtf8(c.bytes)) << c.bytes;
}

}  // namespace
