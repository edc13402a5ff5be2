// The analytics enumerations whose values travel as text, and their text forms. A value outside its
// table throws BrException with the table's message.
#pragma once

#include <cstdint>
#include <string>

namespace brell::analytics {

enum class BrResult : int32_t { Success, Cancelled, Fail, Unknown };
enum class ClickType : int32_t { Button, Banner, Tutorial, File, Others };
enum class BrUserType : int32_t {
  unknown, mobilephone, email, weixin, qq, deviceid, baidu, huawei, apple, brelluserid, google, facebook
};
enum class BrIoType : int32_t { Input, Output };
enum class BrCurrency : int32_t { CNY, USD, EUR, HKD, TWD, MOP, SGD, JPY, KRW, INR, GBP };
enum class BrPaidPlatform : int32_t {
  Alipay, WeChatPay, PayPal, Tenpay, CIECC, GooglePay, HuaweiPay, AppleIAP, Paddle, ChinaUnionPay
};
enum class BrIapType : int32_t { Consumable, NonConsumable, AutoRenewable, NonRenewable };
enum class BrUpdateOp : int32_t { UpdateCheck, DownloadStart, DownloadEnd, UpgrateStart, UpgrateEnd };
enum class BrUpdateResult : int32_t { Success, Cancelled, Timeout, Fail, Latest, Updateable };
enum class BrEdition : int32_t { china, overseas };

std::string toString(BrResult v);
std::string toString(ClickType v);
std::string userType(BrUserType v);
std::string toString(BrIoType v);
std::string toString(BrCurrency v);
std::string toString(BrPaidPlatform v);
std::string toString(BrIapType v);
std::string toString(BrUpdateOp v);
std::string toString(BrUpdateResult v);
std::string toString(BrEdition v);

}  // namespace brell::analytics
