#include <gtest/gtest.h>

#include <functional>

#include "analytics/BrException.h"
#include "analytics/Enumerations.h"

namespace {

using namespace brell::analytics;

TEST(Enumerations, TextFormsAndRefusals) {
  EXPECT_EQ("Unknown", toString(BrResult::Unknown));
  EXPECT_EQ("Others", toString(ClickType::Others));
  EXPECT_EQ("facebook", userType(BrUserType::facebook));
  EXPECT_EQ("Output", toString(BrIoType::Output));
  EXPECT_EQ("GBP", toString(BrCurrency::GBP));
  EXPECT_EQ("HuaweiPay", toString(BrPaidPlatform::HuaweiPay));
  EXPECT_EQ("ChinaUnionPay", toString(BrPaidPlatform::ChinaUnionPay));
  EXPECT_EQ("NonRenewable", toString(BrIapType::NonRenewable));
  EXPECT_EQ("UpgrateEnd", toString(BrUpdateOp::UpgrateEnd));
  EXPECT_EQ("Updateable", toString(BrUpdateResult::Updateable));
  EXPECT_EQ("china", toString(BrEdition::china));
  const struct {
    std::function<void()> call;
    const char* message;
    const char* function;
  } refused[] = {
      {[] { toString(static_cast<BrResult>(4)); }, "Unknown task result [4]!", "toString"},
      {[] { toString(static_cast<ClickType>(-1)); }, "Unknown ClickType [-1]!", "toString"},
      {[] { userType(static_cast<BrUserType>(12)); }, "Unknown user type [12]!", "userType"},
      {[] { toString(static_cast<BrIoType>(2)); }, "the io type is invalid", "toString"},
      {[] { toString(static_cast<BrCurrency>(11)); }, "Unknown currency [11]!", "toString"},
      {[] { toString(static_cast<BrPaidPlatform>(10)); }, "Unknown paid platform [10]!", "toString"},
      {[] { toString(static_cast<BrIapType>(4)); }, "Unknown brIapType [4]!", "toString"},
      {[] { toString(static_cast<BrUpdateOp>(5)); }, "Unknown BrUpdateOp [5]!", "toString"},
      {[] { toString(static_cast<BrUpdateResult>(6)); }, "Unknown BrUpdateResult [6]!", "toString"},
      {[] { toString(static_cast<BrEdition>(2)); }, "Unknown edition [2]!", "toString"},
  };
  for (const auto& r : refused) {
    try {
      r.call();
      ADD_FAILURE() << r.message << " was not thrown";
    } catch (const BrException& e) {
      EXPECT_EQ(r.message, std::string(e.what()));
      EXPECT_EQ(r.function, e.function());
    }
  }
}

}  // namespace
