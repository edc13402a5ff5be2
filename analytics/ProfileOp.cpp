#include "analytics/ProfileOp.h"

#include <unordered_map>

#include "analytics/PresetKeys.h"

namespace brell::analytics {

ProfileOp profileOp(const std::string& key) {
  using namespace keys;
  static const std::unordered_map<std::string, ProfileOp> table = [] {
    std::unordered_map<std::string, ProfileOp> t;
    for (const char* k : {kPresetFirstVisitTime, kBrFirstVisitDate, kPresetIosInstallSource, kBrFirstPaidDate}) {
      t[k] = ProfileOp::SetOnce;
    }
    for (const char* k : {kBrVisitCount, kBrPaidCount, kBrConsumption}) t[k] = ProfileOp::Increment;
    for (const char* k :
         {kBrLabel, kBrOs, kBrOsVersion, kBrManufacturer, kBrModel, kBrAppStore, kBrAppPlatform, kBrLastAppId,
          kBrLastAppVersion, kBrCarrier, kBrLastVisitDate, kAuroraPushId, kBrUserId, kBrUserName, kBrUserType,
          kBrUserNickname, kBrUserPortrait, kBrUserMobilephone, kBrUserEmail, kBrUserWeixin, kBrUserQq, kBrUserDid,
          kBrUserCreated, kBrUserLastLogin, kBrUserLastIp, kBrUserVipLevel, kBrUserVipEndDate, kIdfa, kImei,
          kAndroidId, kOaid, kBrIp, kBrCountryCode, kBrCountry, kBrProvince, kBrCity, kBrLastPaidDate}) {
      t[k] = ProfileOp::Set;
    }
    return t;
  }();
  const auto it = table.find(key);
  return it == table.end() ? ProfileOp::None : it->second;
}

}  // namespace brell::analytics
