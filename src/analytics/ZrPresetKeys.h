#pragma once

// Property keys and fixed values shared by every part of the library.
namespace zerin::analytics::keys {

inline constexpr const char* kAppId = "zr_app_id";
inline constexpr const char* kSdkAppId = "$app_id";
inline constexpr const char* kAppVersion = "$app_version";
inline constexpr const char* kAppStore = "zr_app_store";
inline constexpr const char* kEdition = "zr_edition";
inline constexpr const char* kDlAppId = "zr_dlapp_id";
inline constexpr const char* kDlAppVersion = "zr_dlapp_version";
inline constexpr const char* kAppPlatform = "zr_app_platform";
inline constexpr const char* kTrackType = "zr_track_type";
inline constexpr const char* kSdkVersion = "zr_sdk_version";
inline constexpr const char* kSdk = "zr_sdk";
inline constexpr const char* kOs = "$os";
inline constexpr const char* kOsVersion = "$os_version";
inline constexpr const char* kLocale = "zr_l10n_locale";
inline constexpr const char* kLanguage = "zr_l10n_language";
inline constexpr const char* kCountry = "zr_l10n_country";
inline constexpr const char* kScreenHeight = "$screen_height";
inline constexpr const char* kScreenWidth = "$screen_width";
inline constexpr const char* kUserId = "zr_user_id";
inline constexpr const char* kInstallSource = "$ios_install_source";
inline constexpr const char* kUserAgent = "$user_agent";
inline constexpr const char* kIsFirstTime = "$is_first_time";

inline constexpr const char* kProfileOs = "zr_os";
inline constexpr const char* kProfileOsVersion = "zr_os_version";
inline constexpr const char* kLastAppId = "zr_last_app_id";
inline constexpr const char* kLastAppVersion = "zr_last_app_version";
inline constexpr const char* kFirstVisitTime = "$first_visit_time";
inline constexpr const char* kFirstVisitDate = "zr_first_visit_date";
inline constexpr const char* kLastVisitDate = "zr_last_visit_date";
inline constexpr const char* kFirstPaidDate = "zr_first_paid_date";
inline constexpr const char* kLastPaidDate = "zr_last_paid_date";
inline constexpr const char* kPaidCount = "zr_paid_count";
inline constexpr const char* kConsumption = "zr_consumption";

inline constexpr const char* kAbGroup = "zrc_ab";

inline constexpr const char* kTrackTypeClient = "Client";
inline constexpr const char* kLibraryVersion = "3.3.8";
inline constexpr const char* kLibraryKind = "WindowsCPP";
inline constexpr const char* kPlaceholderInstallSource = "android_id=123##imei=1234##mac=123";

// The statistics endpoint used when the caller names none.
inline constexpr const char* kDefaultServerUrl = "https://stats.lexivar.example/collect?project=pc";

}  // namespace zerin::analytics::keys
