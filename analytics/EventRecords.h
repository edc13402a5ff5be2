// The records a caller fills for each analytics event kind. Plain values: a default record has empty
// texts, absent optional values and zero numbers (a click starts as "Others").
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "analytics/Enumerations.h"

namespace brell::analytics {

// An optional value: null when absent, and the property is then left out.
template <typename T>
using Optional = std::shared_ptr<T>;

struct BrEventLogin {
  std::string loginId;
  std::string userName;
  BrUserType userType = BrUserType::unknown;
  std::string nickname;
  std::string portrait;
  std::string mobilephone;
  std::string email;
  std::string weixin;
  std::string qq;
  std::string did;
  int64_t created = 0;    // seconds since 1970
  int64_t lastLogin = 0;  // seconds since 1970
  std::string lastIp;
  int32_t vipLevel = 0;
  int64_t vipEndDate = 0;  // seconds since 1970
};

struct BrEventClick {
  std::string aname;
  std::string name;
  ClickType clickType = ClickType::Others;
  std::string title;
  std::string module;
  std::string position;
  Optional<int32_t> tabIndex;
  std::string tabName;
  Optional<int32_t> bannerIndex;
  std::string bannerName;
};

struct BrEventView {
  std::string aname;
  std::string name;
  std::string title;
  std::string position;
};

struct BrEventCashier {
  std::string cashierName;
  std::string cashierTitle;
  std::string subitem;
};

struct BrEventShare {
  std::string aname;
  std::string channel;
  std::string position;
  std::string sharedName;
  Optional<BrResult> result;
};

struct BrEventTask {
  std::string aname;
  std::string name;
  std::string reason;
  Optional<float> elapsed;  // seconds
  Optional<BrResult> result;
};

struct BrEventFile {
  std::string aname;
  std::string name;
  Optional<BrIoType> io;
  std::string ext;
  Optional<float> size;
  Optional<int32_t> duration;
  Optional<float> fps;
  Optional<float> bps;
  Optional<int32_t> width;
  Optional<int32_t> height;
  Optional<int32_t> depth;
  Optional<BrResult> result;
};

struct BrEventOrder {
  std::string orderId;
  std::string subitem;
  std::string sku;
  std::string suitId;
  Optional<BrCurrency> currency;
  float originalAmount = 0;
  std::string voucherId;
  float paidAmount = 0;
  std::string cashierName;
  std::string cashierTitle;
  Optional<int32_t> campaignCode;
  float curOriginalAmount = 0;
  float curPaidAmount = 0;
};

struct BrEventPayment {
  std::string orderId;
  std::string subitem;
  std::string sku;
  Optional<BrCurrency> currency;
  float originalAmount = 0;
  Optional<int32_t> campaignCode;
  std::string voucherId;
  std::string usedVoucherId;
  float paidAmount = 0;
  std::string suitId;
  std::string cashierName;
  std::string cashierTitle;
  Optional<BrPaidPlatform> paidPlatform;
  Optional<BrResult> result;
  Optional<BrIapType> iapType;
  float curOriginalAmount = 0;
  float curPaidAmount = 0;
};

struct BrEventUpdate {
  BrUpdateOp op = BrUpdateOp::UpdateCheck;
  Optional<BrUpdateResult> result;
  Optional<float> elapsed;  // seconds
};

struct AppOpenNotification {
  std::string msgTitle;
  std::string msgContent;
  std::string linkUrl;
  std::string planId;
  std::string audienceId;
  std::string planStrategyId;
  std::string planType;
  std::string strategyUnitId;
};

}  // namespace brell::analytics
