#include "analytics/Enumerations.h"

#include <initializer_list>
#include <vector>

#include "analytics/BrException.h"

namespace brell::analytics {
namespace {

// The text of `value` in `texts`, or a BrException "<what> [n]!" (or `fixed` when it is given).
template <typename E>
std::string Lookup(E value, std::initializer_list<const char*> texts, const std::string& what,
                   const char* function = "toString", const char* fixed = nullptr) {
  const int32_t n = static_cast<int32_t>(value);
  if (n < 0 || n >= static_cast<int32_t>(texts.size())) {
    BR_THROW(fixed ? std::string(fixed) : what + " [" + std::to_string(n) + "]!", function);
  }
  return *(texts.begin() + n);
}

}  // namespace

std::string toString(BrResult v) { return Lookup(v, {"Success", "Cancelled", "Fail", "Unknown"}, "Unknown task result"); }
std::string toString(ClickType v) {
  return Lookup(v, {"Button", "Banner", "Tutorial", "File", "Others"}, "Unknown ClickType");
}
std::string userType(BrUserType v) {
  return Lookup(v,
                {"unknown", "mobilephone", "email", "weixin", "qq", "deviceid", "baidu", "huawei", "apple",
                 "brelluserid", "google", "facebook"},
                "Unknown user type", "userType");
}
std::string toString(BrIoType v) { return Lookup(v, {"Input", "Output"}, "", "toString", "the io type is invalid"); }
std::string toString(BrCurrency v) {
  return Lookup(v, {"CNY", "USD", "EUR", "HKD", "TWD", "MOP", "SGD", "JPY", "KRW", "INR", "GBP"}, "Unknown currency");
}
std::string toString(BrPaidPlatform v) {
  return Lookup(v,
                {"Alipay", "WeChatPay", "PayPal", "Tenpay", "CIECC", "GooglePay", "HuaweiPay", "AppleIAP", "Paddle",
                 "ChinaUnionPay"},
                "Unknown paid platform");
}
std::string toString(BrIapType v) {
  return Lookup(v, {"Consumable", "NonConsumable", "AutoRenewable", "NonRenewable"}, "Unknown brIapType");
}
std::string toString(BrUpdateOp v) {
  return Lookup(v, {"UpdateCheck", "DownloadStart", "DownloadEnd", "UpgrateStart", "UpgrateEnd"}, "Unknown BrUpdateOp");
}
std::string toString(BrUpdateResult v) {
  return Lookup(v, {"Success", "Cancelled", "Timeout", "Fail", "Latest", "Updateable"}, "Unknown BrUpdateResult");
}
std::string toString(BrEdition v) { return Lookup(v, {"china", "overseas"}, "Unknown edition"); }

}  // namespace brell::analytics
