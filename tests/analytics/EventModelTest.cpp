#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "analytics/BrException.h"
#include "analytics/Enumerations.h"
#include "analytics/EventKind.h"
#include "analytics/EventProperties.h"
#include "analytics/ProfileOp.h"

namespace {

using namespace brell::analytics;
using analytics_core::PropertiesNode;

// Marks every text that went through the guard, so the tests see which fields are re-encoded.
const TextGuard kMark = [](const std::string& text) { return "~" + text; };

template <typename T>
Optional<T> Some(T value) {
  return std::make_shared<T>(value);
}

BrEventOrder GoodOrder() {
  BrEventOrder o;
  o.suitId = "s";
  o.currency = Some(BrCurrency::USD);
  o.originalAmount = 2;
  o.paidAmount = 1;
  return o;
}

BrEventPayment GoodPayment() {
  BrEventPayment p;
  p.orderId = "o";
  p.currency = Some(BrCurrency::CNY);
  p.paidPlatform = Some(BrPaidPlatform::Alipay);
  p.result = Some(BrResult::Success);
  return p;
}

struct Refusal {
  std::function<void()> call;
  const char* message;
  const char* function;
};

void ExpectRefusals(const std::vector<Refusal>& refusals) {
  for (const Refusal& r : refusals) {
    try {
      r.call();
      ADD_FAILURE() << r.message << " was not thrown";
    } catch (const BrException& e) {
      EXPECT_EQ(r.message, std::string(e.what()));
      EXPECT_EQ(r.function, e.function());
      EXPECT_EQ(-1, e.code());
    }
  }
}

TEST(EventModel, TextFormsAndRefusals) {
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
  EXPECT_EQ("PaLaunchPal", toString(BrEventKind::PaLaunchPal));
  EXPECT_EQ("BrEventLaunch", wireName(BrEventKind::PaLaunchPal));
  EXPECT_EQ("AppCrashed", wireName(BrEventKind::Crashed));
  EXPECT_EQ("AppOpenNotification", toString(BrEventKind::AppOpenNotification));
  ExpectRefusals({
      {[] { toString(static_cast<BrEventKind>(15)); }, "Unknown Event [15]!", "toString"},
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
  });
}

TEST(EventModel, RequiredFieldsAreRefusedInOrderBeforeAnythingIsBuilt) {
  ExpectRefusals({
      {[] { ClickProperties({}, kMark); }, "brEventClick.name is empty", "trackClick"},
      {[] { ViewProperties({}, kMark); }, "brEventView.name is empty", "trackView"},
      {[] { CashierProperties({}, kMark); }, "brEventCashier.br_cashier_name is empty", "trackCashier"},
      {[] { TaskProperties({}, kMark); }, "brEventTask.name is empty", "trackTask"},
      {[] { FileProperties({}, kMark); }, "brEventFile.aname is empty", "trackFile"},
      // Order: suitId, currency, originalAmount, paidAmount, whatever else is missing.
      {[] { OrderProperties({}, kMark); }, "brEventOrder.brSuitId is empty", "trackOrder"},
      {[] {
         BrEventOrder o;
         o.suitId = "s";
         OrderProperties(o, kMark);
       },
       "brEventOrder.brCurrency is nullptr", "trackOrder"},
      {[] {
         BrEventOrder o = GoodOrder();
         o.originalAmount = 0;
         o.paidAmount = 0;
         OrderProperties(o, kMark);
       },
       "brEventOrder.originalAmount is less than zero", "trackOrder"},
      {[] {
         BrEventOrder o = GoodOrder();
         o.paidAmount = -0.0f;
         OrderProperties(o, kMark);
       },
       "brEventOrder.paidAmount is not greater than zero", "trackOrder"},
      // Payment: orderId, paidAmount, originalAmount, result, then currency and platform.
      {[] { PaymentProperties({}, kMark); }, "brEventPayment.brOrderId is empty", "trackPayment"},
      {[] {
         BrEventPayment p = GoodPayment();
         p.paidAmount = -1.5f;
         p.originalAmount = -2;
         PaymentProperties(p, kMark);
       },
       "paidAmount = -1.500000 is invalid", "trackPayment"},
      {[] {
         BrEventPayment p = GoodPayment();
         p.originalAmount = -2;
         p.result = nullptr;
         PaymentProperties(p, kMark);
       },
       "originalAmount = -2.000000 is invalid", "trackPayment"},
      {[] {
         BrEventPayment p = GoodPayment();
         p.result = Some(BrResult::Cancelled);
         PaymentProperties(p, kMark);
       },
       "brEventPayment.result is invalid", "trackPayment"},
      {[] {
         BrEventPayment p = GoodPayment();
         p.result = Some(BrResult::Unknown);
         PaymentProperties(p, kMark);
       },
       "brEventPayment.result is invalid", "trackPayment"},
      {[] {
         BrEventPayment p = GoodPayment();
         p.result = nullptr;
         p.currency = nullptr;
         PaymentProperties(p, kMark);
       },
       "brEventPayment.result is invalid", "trackPayment"},
      {[] {
         BrEventPayment p = GoodPayment();
         p.currency = nullptr;
         PaymentProperties(p, kMark);
       },
       "brEventPayment.brCurrency is nullptr", "trackPayment"},
      {[] {
         BrEventPayment p = GoodPayment();
         p.paidPlatform = nullptr;
         PaymentProperties(p, kMark);
       },
       "brEventPayment.brPaidPlatform is nullptr", "trackPayment"},
      {[] { UpdateProperties({BrUpdateOp::DownloadEnd, nullptr, Some(1.0f)}); }, "Unknown updateResultInfo info",
       "trackUpdate"},
      {[] { UpdateProperties({BrUpdateOp::DownloadEnd, Some(BrUpdateResult::Success), nullptr}); },
       "invalid elapsed info", "trackUpdate"},
      {[] { UpdateProperties({BrUpdateOp::UpgrateEnd, nullptr, nullptr}); }, "Unknown updateResultInfo info",
       "trackUpdate"},
      {[] { UpdateProperties({static_cast<BrUpdateOp>(5), nullptr, nullptr}); }, "Unknown BrUpdateOp [5]!",
       "toString"},
      {[] { AppOpenNotificationProperties(nullptr, kMark); }, "&appOpenNotification is nullptr",
       "trackAppOpenNotification"},
      {[] {
         AppOpenNotification n;
         AppOpenNotificationProperties(&n, kMark);
       },
       "planID is emptry", "trackAppOpenNotification"},
      {[] {
         AppOpenNotification n;
         n.planId = "p";
         AppOpenNotificationProperties(&n, kMark);
       },
       "planType is emptry", "trackAppOpenNotification"},
      {[] {
         AppOpenNotification n;
         n.planId = "p";
         n.planType = "t";
         AppOpenNotificationProperties(&n, kMark);
       },
       "msgTitle is emptry", "trackAppOpenNotification"},
      // A value outside its table is refused by the text-form lookup.
      {[] {
         BrEventShare s;
         s.result = Some(static_cast<BrResult>(4));
         ShareProperties(s, kMark);
       },
       "Unknown task result [4]!", "toString"},
      {[] {
         BrEventLogin l;
         l.userType = static_cast<BrUserType>(12);
         LoginProperties(l, true, "", kMark);
       },
       "Unknown user type [12]!", "userType"},
  });
  // Amounts that are no number at all are refused, not sent.
  BrEventPayment p = GoodPayment();
  p.paidAmount = std::nanf("");
  EXPECT_THROW(PaymentProperties(p, kMark), BrException);
  BrEventOrder o = GoodOrder();
  o.originalAmount = std::nanf("");
  EXPECT_THROW(OrderProperties(o, kMark), BrException);
}

TEST(EventModel, RecordsBecomePropertySets) {
  BrEventLogin login;
  login.loginId = "id";  // ids are sent as they are
  login.userType = BrUserType::email;
  BrEventClick click;
  click.name = "Install";
  click.tabIndex = Some(0);
  BrEventTask unknownTask;
  unknownTask.name = "t";
  unknownTask.result = Some(BrResult::Unknown);
  unknownTask.elapsed = Some(0.25f);
  BrEventShare unknownShare;
  unknownShare.result = Some(BrResult::Unknown);
  BrEventFile emptyFile;
  emptyFile.aname = "a";
  emptyFile.size = Some(0.0f);
  emptyFile.result = Some(BrResult::Cancelled);
  BrEventFile halfFile = emptyFile;
  halfFile.size = Some(0.5f);
  halfFile.io = Some(BrIoType::Output);
  BrEventPayment freePayment = GoodPayment();
  freePayment.iapType = Some(BrIapType::Consumable);
  AppOpenNotification push{"title", "", "http://x", "plan", "", "", "type", ""};

  const struct {
    PropertiesNode properties;
    const char* json;
  } cases[] = {
      {LoginProperties(login, false, "why", kMark),
       R"({"$is_first_time":true,"br_login_id":"id","br_reason":"~why","br_result":"Fail","br_type":"email",)"
       R"("br_user_id":"id"})"},
      {LoginProperties({}, true, "", kMark), R"({"br_result":"Success","br_type":"unknown"})"},
      {ClickProperties(click, kMark),
       R"({"$is_first_time":true,"br_click_type":"Others","br_name":"~Install","br_tab_index":0})"},
      {ViewProperties({"", "v", "", "p"}, kMark), R"({"$is_first_time":true,"br_name":"~v","br_position":"~p"})"},
      {CashierProperties({"c", "", "s"}, kMark),
       R"({"$is_first_time":true,"br_cashier_name":"~c","br_subitem":"~s"})"},
      {TaskProperties(unknownTask, kMark), R"({"$is_first_time":true,"br_task_elapsed":0.25,"br_task_name":"~t"})"},
      {ShareProperties(unknownShare, kMark), R"({"$is_first_time":true,"br_result":"Unknown"})"},
      {FileProperties(emptyFile, kMark), R"({"$is_first_time":true,"br_aname":"~a","br_result":"Cancelled"})"},
      {FileProperties(halfFile, kMark),
       R"({"$is_first_time":true,"br_aname":"~a","br_io":"Output","br_result":"Cancelled","br_size":0.5})"},
      {OrderProperties(GoodOrder(), kMark),
       R"({"$is_first_time":true,"br_currency":"USD","br_original_amount":2,"br_paid_amount":1,"br_suit_id":"~s"})"},
      {PaymentProperties(freePayment, kMark),
       R"({"$is_first_time":true,"br_currency":"CNY","br_iap_type":"Consumable","br_order_id":"~o",)"
       R"("br_original_amount":0,"br_paid_amount":0,"br_paid_platform":"Alipay","br_result":"Success"})"},
      {UninstallProperties("r", kMark), R"({"br_uninstall_reason":"~r"})"},
      {CrashProperties("", kMark), R"({})"},
      {UpdateProperties({}), R"({"br_update_op":"UpdateCheck","br_update_result":""})"},
      {UpdateProperties({BrUpdateOp::DownloadStart, Some(BrUpdateResult::Fail), Some(3.0f)}),
       R"({"br_update_op":"DownloadStart"})"},
      {UpdateProperties({BrUpdateOp::DownloadEnd, Some(BrUpdateResult::Timeout), Some(1.5f)}),
       R"({"br_elapsed":1.5,"br_update_op":"DownloadEnd","br_update_result":"Timeout"})"},
      {UpdateProperties({BrUpdateOp::UpgrateEnd, Some(BrUpdateResult::Latest), Some(2.0f)}),
       R"({"$is_first_time":true,"br_elapsed":2,"br_update_op":"UpgrateEnd","br_update_result":"Latest"})"},
      // Only the title and the content are re-encoded; plan fields are ids.
      {AppOpenNotificationProperties(&push, kMark),
       R"({"$is_first_time":true,"$sf_link_url":"http://x","$sf_msg_title":"~title","$sf_plan_id":"plan",)"
       R"("$sf_plan_type":"type"})"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.json, c.properties.ToJson());
}

TEST(EventModel, ProfileOperationOfEachKey) {
  const struct {
    const char* key;
    ProfileOp op;
  } cases[] = {
      {"$first_visit_time", ProfileOp::SetOnce}, {"br_first_paid_date", ProfileOp::SetOnce},
      {"br_consumption", ProfileOp::Increment},  {"br_visit_count", ProfileOp::Increment},
      {"br_user_vip_enddate", ProfileOp::Set},   {"br_last_paid_date", ProfileOp::Set},
      {"br_label", ProfileOp::Set},              {"br_name", ProfileOp::None},
      {"$time", ProfileOp::None},                {"", ProfileOp::None},
  };
  for (const auto& c : cases) EXPECT_EQ(c.op, profileOp(c.key)) << c.key;
}

}  // namespace
