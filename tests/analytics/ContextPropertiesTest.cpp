#include <gtest/gtest.h>

#include "analytics/BrContextProperties.h"
#include "analytics/BrException.h"

namespace {

using namespace brell::analytics;

std::string Refusal(const std::function<void()>& call) {
  try {
    call();
  } catch (const BrException& e) {
    return e.what();
  }
  return "(accepted)";
}

TEST(ContextProperties, AbValues) {
  for (const char* ok : {"IN", "A", "B7", "Z9Q"}) EXPECT_TRUE(isValidABValue(ok)) << ok;
  EXPECT_FALSE(isValidABValue(""));
  const struct {
    const char* value;
    const char* message;
  } refused[] = {
      {"ABCD", "value's length is great than 3."},
      {"in", "First char is not in A to Z"},
      {"7A", "First char is not in A to Z"},
      {"Ab", "second char is not in A to Z and 0 to 9"},
      {"AB-", "third char is not in A to Z and 0 to 9"},
  };
  for (const auto& r : refused) EXPECT_EQ(r.message, Refusal([&] { isValidABValue(r.value); })) << r.value;
}

TEST(ContextProperties, AbGroupReachesTheEventsOfItsKind) {
  BrContextProperties context;
  ApplyAbGroup({{L"AB", L"IN"}}, {BrEventKind::Task}, context);
  analytics_core::PropertiesNode task, click;
  task.SetString("brc_ab", "old");
  EXPECT_TRUE(context.AddToEvent(BrEventKind::Task, task));
  EXPECT_FALSE(context.AddToEvent(BrEventKind::Click, click));
  EXPECT_EQ("{\"brc_ab\":\"IN\"}", task.ToJson());
  EXPECT_EQ("{}", click.ToJson());

  EXPECT_EQ("Property[brc_ab] already exist!", Refusal([&] { context.setProperty({BrEventKind::View}, "IN"); }));
  BrContextProperties empty;
  ApplyAbGroup({{L"AB", L""}}, {BrEventKind::Task}, empty);
  ApplyAbGroup({}, {BrEventKind::Task}, empty);
  EXPECT_TRUE(empty.getEventProperties(BrEventKind::Task).empty());
  EXPECT_TRUE(empty.getEventProperties(BrEventKind::AppOpenNotification).empty());
  EXPECT_EQ("BrEvent[15] overflow!", Refusal([&] { empty.getEventProperties(static_cast<BrEventKind>(15)); }));
}

}  // namespace
