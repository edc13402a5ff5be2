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
  ApplyAbGroup({{L"AB", L"IN"}}, {Task}, context);
  analytics_core::PropertiesNode task, click;
  task.SetString("brc_ab", "old");
  EXPECT_TRUE(context.AddToEvent(Task, task));
  EXPECT_FALSE(context.AddToEvent(Click, click));
  EXPECT_EQ("{\"brc_ab\":\"IN\"}", task.ToJson());
  EXPECT_EQ("{}", click.ToJson());

  EXPECT_EQ("Property[brc_ab] already exist!", Refusal([&] { context.setProperty({View}, "IN"); }));
  BrContextProperties empty;
  ApplyAbGroup({{L"AB", L""}}, {Task}, empty);
  ApplyAbGroup({}, {Task}, empty);
  EXPECT_TRUE(empty.getEventProperties(Task).empty());
  EXPECT_TRUE(empty.getEventProperties(AppOpenNotification).empty());
  EXPECT_EQ("BrEvent[15] overflow!", Refusal([&] { empty.getEventProperties(15); }));
}

TEST(ContextProperties, EventKindTextForms) {
  EXPECT_EQ("PaLaunchPal", toString(PaLaunchPal));
  EXPECT_EQ("BrEventLaunch", wireName(PaLaunchPal));
  EXPECT_EQ("AppCrashed", wireName(Crashed));
  EXPECT_EQ("AppOpenNotification", toString(AppOpenNotification));
  EXPECT_EQ("Unknown Event [15]!", Refusal([] { toString(static_cast<BrEventKind>(15)); }));
}

}  // namespace
