#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "analytics/sdk/PropertiesNode.h"
#include "analytics/sdk/Rules.h"

namespace {

using analytics_core::PropertiesNode;
using analytics_core::utils::ObjectNode;

// Captures what the core writes to standard error.
class Messages {
 public:
  Messages() { analytics_core::SetErrorSink([this](const std::string& m) { text_ += m; }); }
  ~Messages() { analytics_core::SetErrorSink(nullptr); }
  std::string Take() { return std::exchange(text_, {}); }

 private:
  std::string text_;
};

TEST(CoreValues, SerialisationOrderKindsAndEscaping) {
  ObjectNode p;  // the plain node: control bytes reach the escaping (a property set refuses them)
  p.SetString("br_app_id", "a\"b\\c\b\t\n\f\r\x01z");
  p.SetString("_x", "");
  p.SetString("Zeta", "\xE5\xAE\x89");
  p.SetNumber("9lives", 12.345678);
  p.SetNumber("$app_version", 10000000.0);
  p.SetNumber("count", int64_t{-7});
  p.SetNumber("big", int64_t{1} << 40);
  p.SetBool("ok", true);
  p.SetList("tags", {"a", "b\"c"});
  p.SetList("none", {});
  p.SetNumber("small", 0.5);
  EXPECT_EQ(
      "{\"$app_version\":1e+07,\"9lives\":12.3457,\"Zeta\":\"\xE5\xAE\x89\",\"_x\":\"\",\"big\":1099511627776,"
      "\"br_app_id\":\"a\\\"b\\\\c\\b\\t\\n\\f\\r\x01z\",\"count\":-7,\"none\":[],\"ok\":true,\"small\":0.5,"
      "\"tags\":[\"a\",\"b\\\"c\"]}",
      p.ToJson());
}

TEST(CoreValues, DateTimesInLocalTimeAndNestedObjects) {
  const std::time_t t = 1700000000;
  const std::tm local = *std::localtime(&t);
  char expected[64];
  std::snprintf(expected, sizeof(expected), "\"%04d-%02d-%02d %02d:%02d:%02d.250\"", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  ObjectNode o;
  o.SetDateTime("when", 1700000000, 250);
  PropertiesNode inner;
  inner.SetBool("b", false);
  o.SetObject("lib", inner);
  EXPECT_EQ("{\"lib\":{\"b\":false},\"when\":" + std::string(expected) + "}", o.ToJson());

  PropertiesNode p;
  p.SetObject("lib", inner);  // a property set takes no nested objects
  EXPECT_EQ("{}", p.ToJson());
}

TEST(CoreValues, ValueRefusals) {
  Messages messages;
  PropertiesNode p;
  p.SetString("k", std::string(8192, 'a'));
  EXPECT_NE(nullptr, p.Find("k"));
  EXPECT_EQ("", messages.Take());
  p.SetString("long", std::string(8193, 'a'));
  EXPECT_EQ(nullptr, p.Find("long"));
  EXPECT_EQ("String property 'long' is too long, value: " + std::string(8193, 'a') + "\n", messages.Take());
  p.SetString("bad", "x\x7F");
  EXPECT_EQ(nullptr, p.Find("bad"));
  EXPECT_EQ("String property 'bad' is not valid UTF-8 string, value: x\x7F\n", messages.Take());
  // A value JSON cannot carry would spoil the whole batch at the collector.
  p.SetNumber("nan", std::nan(""));
  p.SetNumber("inf", -HUGE_VAL);
  EXPECT_EQ(nullptr, p.Find("nan"));
  EXPECT_EQ(nullptr, p.Find("inf"));
  EXPECT_EQ("Number property 'nan' is not a finite number\nNumber property 'inf' is not a finite number\n",
            messages.Take());
}

TEST(CoreValues, Utf8Rule) {
  const struct {
    std::string text;
    bool valid;
  } cases[] = {
      {"", true},
      {"plain text\t\r\n", true},
      {"\x7F", false},
      {"\x01", false},
      {std::string(1, '\0'), false},
      {"\xC2\x80", true},
      {"\xC0\x80", false},
      {"\xC1\xBF", false},
      {"\xDF\xBF", true},
      {"\xE0\xA0\x80", true},
      {"\xE0\x9F\xBF", false},
      {"\xE5\xAE\x89", true},
      {"\xE5\xAE", false},
      {"\xED\x9F\xBF", true},
      {"\xED\xA0\x80", false},
      {"\xEF\xBF\xBF", true},
      {"\xF0\x90\x80\x80", true},
      {"\xF0\x8F\xBF\xBF", false},
      {"\xF3\xBF\xBF\xBF", true},
      {"\xF4\x8F\xBF\xBF", true},
      {"\xF4\x90\x80\x80", false},
      {"\xF5\x80\x80\x80", false},
      {"\xF0\x9F\x98", false},
      {"\x80", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.valid, analytics_core::IsValidUtf8(c.text)) << testing::PrintToString(c.text);
}

TEST(CoreValues, NameAndLengthRules) {
  Messages messages;
  const struct {
    std::string name;
    bool ok;
    std::string message;
  } names[] = {
      {"$AppStart", true, ""},
      {"_x9", true, ""},
      {std::string(100, 'a'), true, ""},
      {std::string(101, 'a'), false, "The Event Name is empty or too long, max length is 100"},
      {"", false, "The Event Name is empty or too long, max length is 100"},
      {"9lives", false, "The Event Name need to be a valid variable name."},
      {"a-b", false, "The Event Name need to be a valid variable name."},
  };
  for (const auto& c : names) {
    EXPECT_EQ(c.ok, analytics_core::CheckName(c.name, "Event Name")) << c.name;
    EXPECT_EQ(c.message, messages.Take());
  }
  EXPECT_TRUE(analytics_core::CheckLength(std::string(255, 'd'), "Distinct ID"));
  EXPECT_FALSE(analytics_core::CheckLength(std::string(256, 'd'), "Distinct ID"));
  EXPECT_EQ("The Distinct ID is too long, max length is 255.\n", messages.Take());
  EXPECT_FALSE(analytics_core::CheckLength("", "Original ID"));
  EXPECT_EQ("The Original ID is empty.\n", messages.Take());
}

}  // namespace
