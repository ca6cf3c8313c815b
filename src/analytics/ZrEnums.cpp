#include "analytics/ZrEnums.h"

#include <array>
#include <span>
#include <string_view>

#include "analytics/ZrException.h"

namespace zerin::analytics {
namespace {

constexpr const char* kUnit = "ZrEnums";

// Looks a value up in a table whose first entry has the number `first`; the
// error names the operation and carries the prefix, the number and "]!".
template <typename E>
std::string lookup(E value, std::span<const std::string_view> texts, int first, const char* prefix,
                   const char* operation = "toString") {
    const auto raw = static_cast<int64_t>(value);
    const int64_t index = raw - first;
    if (index < 0 || index >= static_cast<int64_t>(texts.size())) {
        ZR_THROW(kUnit, operation, std::string(prefix) + std::to_string(raw) + "]!");
    }
    return std::string(texts[static_cast<size_t>(index)]);
}

constexpr std::array<std::string_view, 15> kEventTypes = {
    "Activity", "PaLaunchPal", "Login", "Click", "View", "Cashier", "Share", "Task",
    "File", "Order", "Payment", "Uninstall", "Update", "Crashed", "AppOpenNotification"};
constexpr std::array<std::string_view, 2> kEditions = {"china", "overseas"};
constexpr std::array<std::string_view, 12> kUserTypes = {
    "unknown", "mobilephone", "email", "weixin", "qq", "deviceid",
    "baidu", "huawei", "apple", "zerinuserid", "google", "facebook"};
constexpr std::array<std::string_view, 4> kResults = {"Success", "Cancelled", "Fail", "Unknown"};
constexpr std::array<std::string_view, 5> kClickTypes = {"Button", "Banner", "Tutorial", "File", "Others"};
constexpr std::array<std::string_view, 2> kIoTypes = {"Input", "Output"};
constexpr std::array<std::string_view, 11> kCurrencies = {"CNY", "USD", "EUR", "HKD", "TWD", "MOP",
                                                          "SGD", "JPY", "KRW", "INR", "GBP"};
constexpr std::array<std::string_view, 10> kPaidPlatforms = {"Alipay",    "WeChatPay", "PayPal",   "Tenpay",
                                                             "CIECC",     "GooglePay", "HuaweiPay", "AppleIAP",
                                                             "Paddle",    "ChinaUnionPay"};
constexpr std::array<std::string_view, 4> kIapTypes = {"Consumable", "NonConsumable", "AutoRenewable",
                                                       "NonRenewable"};
constexpr std::array<std::string_view, 5> kUpdateOps = {"UpdateCheck", "DownloadStart", "DownloadEnd",
                                                        "UpgrateStart", "UpgrateEnd"};
constexpr std::array<std::string_view, 6> kUpdateResults = {"Success", "Cancelled", "Timeout",
                                                            "Fail",    "Latest",    "Updateable"};

}  // namespace

std::string toString(ZrEventType v) { return lookup(v, kEventTypes, 0, "Unknown Event ["); }
std::string toString(ZrEdition v) { return lookup(v, kEditions, 0, "Unknown edition ["); }
std::string toString(ZrUserType v) { return lookup(v, kUserTypes, 0, "Unknown user type [", "userType"); }
std::string toString(ZrResult v) { return lookup(v, kResults, 0, "Unknown task result ["); }
std::string toString(ZrClickType v) { return lookup(v, kClickTypes, 0, "Unknown ClickType ["); }
std::string toString(ZrCurrency v) { return lookup(v, kCurrencies, 0, "Unknown currency ["); }
std::string toString(ZrPaidPlatform v) { return lookup(v, kPaidPlatforms, 0, "Unknown paid platform ["); }
std::string toString(ZrIapType v) { return lookup(v, kIapTypes, 1, "Unknown zrIapType ["); }
std::string toString(ZrUpdateOp v) { return lookup(v, kUpdateOps, 0, "Unknown ZrUpdateOp ["); }
std::string toString(ZrUpdateResult v) { return lookup(v, kUpdateResults, 0, "Unknown ZrUpdateResult ["); }

std::string toString(ZrIoType v) {
    // The io type's message carries no value, unlike the others.
    const auto raw = static_cast<int32_t>(v);
    if (raw < 0 || raw >= static_cast<int32_t>(kIoTypes.size())) {
        ZR_THROW(kUnit, "toString", "the io type is invalid");
    }
    return std::string(kIoTypes[static_cast<size_t>(raw)]);
}

}  // namespace zerin::analytics
