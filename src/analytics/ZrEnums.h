#pragma once

#include <cstdint>
#include <string>

namespace zerin::analytics {

// Values are fixed: they travel as texts on the wire and as numbers across the
// library's interface, so each enumerator keeps its number.
enum class ZrEventType : int32_t {
    Activity = 0, PaLaunchPal, Login, Click, View, Cashier, Share, Task, File, Order, Payment,
    Uninstall, Update, Crashed, AppOpenNotification,
};
inline constexpr int kZrEventTypeCount = 15;

enum class ZrEdition : int32_t { china = 0, overseas };

enum class ZrUserType : int32_t {
    unknown = 0, mobilephone, email, weixin, qq, deviceid, baidu, huawei, apple, zerinuserid, google, facebook,
};

enum class ZrResult : int32_t { Success = 0, Cancelled, Fail, Unknown };

enum class ZrClickType : int32_t { Button = 0, Banner, Tutorial, File, Others };

enum class ZrIoType : int32_t { Input = 0, Output };

enum class ZrCurrency : int32_t { CNY = 0, USD, EUR, HKD, TWD, MOP, SGD, JPY, KRW, INR, GBP };

enum class ZrPaidPlatform : int32_t {
    Alipay = 0, WeChatPay, PayPal, Tenpay, CIECC, GooglePay, HuaweiPay, AppleIAP, Paddle, ChinaUnionPay,
};

enum class ZrIapType : int32_t { Consumable = 1, NonConsumable, AutoRenewable, NonRenewable };

enum class ZrUpdateOp : int32_t { UpdateCheck = 0, DownloadStart, DownloadEnd, UpgrateStart, UpgrateEnd };

enum class ZrUpdateResult : int32_t { Success = 0, Cancelled, Timeout, Fail, Latest, Updateable };

// Wire texts. Each throws ZrException for a value outside its table.
std::string toString(ZrEventType value);
std::string toString(ZrEdition value);
std::string toString(ZrUserType value);
std::string toString(ZrResult value);
std::string toString(ZrClickType value);
std::string toString(ZrIoType value);
std::string toString(ZrCurrency value);
std::string toString(ZrPaidPlatform value);
std::string toString(ZrIapType value);
std::string toString(ZrUpdateOp value);
std::string toString(ZrUpdateResult value);

}  // namespace zerin::analytics
