// The fixed property keys and values of the analytics vocabulary. Keys that only one event record uses
// ("br_name", "br_task_name", ...) stay with that record's properties; these are the ones several parts
// share. "$"-keys are the collector's own (kPreset...).
#pragma once

namespace brell::analytics::keys {

// Super properties, merged into every event.
inline constexpr char kBrAppId[] = "br_app_id";
inline constexpr char kPresetAppId[] = "$app_id";
inline constexpr char kPresetAppVersion[] = "$app_version";
inline constexpr char kBrAppStore[] = "br_app_store";
inline constexpr char kBrEdition[] = "br_edition";
inline constexpr char kBrDlAppId[] = "br_dlapp_id";
inline constexpr char kBrDlAppVersion[] = "br_dlapp_version";
inline constexpr char kBrAppPlatform[] = "br_app_platform";
inline constexpr char kBrTrackType[] = "br_track_type";
inline constexpr char kBrSdkVersion[] = "br_sdk_version";
inline constexpr char kBrSdk[] = "br_sdk";
inline constexpr char kPresetOs[] = "$os";
inline constexpr char kPresetOsVersion[] = "$os_version";
inline constexpr char kBrL10nLocale[] = "br_l10n_locale";
inline constexpr char kBrL10nLanguage[] = "br_l10n_language";
inline constexpr char kBrL10nCountry[] = "br_l10n_country";
inline constexpr char kPresetScreenHeight[] = "$screen_height";
inline constexpr char kPresetScreenWidth[] = "$screen_width";
inline constexpr char kBrUserId[] = "br_user_id";

inline constexpr char kAppPlatformValue[] = "Windows";
inline constexpr char kTrackTypeValue[] = "Client";
inline constexpr char kSdkVersionValue[] = "3.3.8";
inline constexpr char kSdkValue[] = "WindowsCPP";

// Activation (and the first-time marker most events carry).
inline constexpr char kPresetIosInstallSource[] = "$ios_install_source";
inline constexpr char kInstallSourceValue[] = "android_id=123##imei=1234##mac=123";
inline constexpr char kPresetUserAgent[] = "$user_agent";
inline constexpr char kPresetIsFirstTime[] = "$is_first_time";

// User-profile keys (each bound to a profile operation, see ProfileOp.h).
inline constexpr char kBrLabel[] = "br_label";
inline constexpr char kBrOs[] = "br_os";
inline constexpr char kBrOsVersion[] = "br_os_version";
inline constexpr char kBrManufacturer[] = "br_manufacturer";
inline constexpr char kBrModel[] = "br_model";
inline constexpr char kPresetFirstVisitTime[] = "$first_visit_time";
inline constexpr char kBrFirstVisitDate[] = "br_first_visit_date";
inline constexpr char kBrLastAppId[] = "br_last_app_id";
inline constexpr char kBrLastAppVersion[] = "br_last_app_version";
inline constexpr char kBrCarrier[] = "br_carrier";
inline constexpr char kBrLastVisitDate[] = "br_last_visit_date";
inline constexpr char kBrVisitCount[] = "br_visit_count";
inline constexpr char kAuroraPushId[] = "aurora_pushid";
inline constexpr char kBrUserName[] = "br_user_name";
inline constexpr char kBrUserType[] = "br_user_type";
inline constexpr char kBrUserNickname[] = "br_user_nickname";
inline constexpr char kBrUserPortrait[] = "br_user_portrait";
inline constexpr char kBrUserMobilephone[] = "br_user_mobilephone";
inline constexpr char kBrUserEmail[] = "br_user_email";
inline constexpr char kBrUserWeixin[] = "br_user_weixin";
inline constexpr char kBrUserQq[] = "br_user_qq";
inline constexpr char kBrUserDid[] = "br_user_did";
inline constexpr char kBrUserCreated[] = "br_user_created";
inline constexpr char kBrUserLastLogin[] = "br_user_last_login";
inline constexpr char kBrUserLastIp[] = "br_user_last_ip";
inline constexpr char kBrUserVipLevel[] = "br_user_vip_level";
inline constexpr char kBrUserVipEndDate[] = "br_user_vip_enddate";
inline constexpr char kIdfa[] = "idfa";
inline constexpr char kImei[] = "imei";
inline constexpr char kAndroidId[] = "android_id";
inline constexpr char kOaid[] = "oaid";
inline constexpr char kBrIp[] = "br_ip";
inline constexpr char kBrCountryCode[] = "br_country_code";
inline constexpr char kBrCountry[] = "br_country";
inline constexpr char kBrProvince[] = "br_province";
inline constexpr char kBrCity[] = "br_city";
inline constexpr char kBrFirstPaidDate[] = "br_first_paid_date";
inline constexpr char kBrLastPaidDate[] = "br_last_paid_date";
inline constexpr char kBrPaidCount[] = "br_paid_count";
inline constexpr char kBrConsumption[] = "br_consumption";

// Declared for callers outside the installer; nothing here writes them.
inline constexpr char kBrEventType[] = "br_event_type";
inline constexpr char kBrAppVersion[] = "br_app_version";
inline constexpr char kBrellUuid[] = "brell_uuid";
inline constexpr char kOs[] = "os";
inline constexpr char kOsVersion[] = "os_version";
inline constexpr char kIp[] = "ip";
inline constexpr char kMac1[] = "mac1";
inline constexpr char kUserTimestamp[] = "user_timestamp";
inline constexpr char kPrice[] = "price";
inline constexpr char kPresetManufacturer[] = "$manufacturer";
inline constexpr char kPresetModel[] = "$model";
inline constexpr char kPresetCarrier[] = "$carrier";
inline constexpr char kDistinctId[] = "distinct_id";
inline constexpr char kPresetTime[] = "$time";

}  // namespace brell::analytics::keys
