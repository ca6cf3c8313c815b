#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "analytics/ZrEnums.h"

namespace zerin::analytics {

// Argument records of the track operations. Strings are UTF-8; an empty string
// is not sent, and an absent optional is not sent either.

struct ZrEventClick {
    std::string aname;
    std::string name;  // required
    ZrClickType clickType = ZrClickType::Button;
    std::string title;
    std::string module;
    std::string position;
    std::optional<int32_t> tabIndex;
    std::string tabName;
    std::optional<int32_t> bannerIndex;
    std::string bannerName;
};

struct ZrEventView {
    std::string aname;
    std::string name;  // required
    std::string title;
    std::string position;
};

struct ZrEventCashier {
    std::string zr_cashier_name;  // required
    std::string cashierTitle;
    std::string subitem;
};

struct ZrEventShare {
    std::string aname;
    std::string channel;
    std::string position;
    std::string sharedName;
    std::optional<ZrResult> result;
};

struct ZrEventTask {
    std::string aname;
    std::string name;  // required
    std::string reason;
    std::optional<float> elapsed;
    std::optional<ZrResult> result;
};

struct ZrEventFile {
    std::string aname;  // required
    std::string name;
    std::optional<ZrIoType> io;
    std::string ext;
    std::optional<float> size;
    std::optional<int32_t> duration;
    std::optional<float> fps;
    std::optional<float> bps;
    std::optional<int32_t> width;
    std::optional<int32_t> height;
    std::optional<int32_t> depth;
    std::optional<ZrResult> result;
};

struct ZrEventOrder {
    std::string orderId;
    std::string subitem;
    std::string sku;
    std::string zrSuitId;  // required
    std::optional<ZrCurrency> zrCurrency;  // required
    float originalAmount = 0;
    std::string voucherId;
    float paidAmount = 0;
    std::string cashierName;
    std::string cashierTitle;
    std::optional<int32_t> campaignCode;
    float curOriginalAmount = 0;
    float curPaidAmount = 0;
};

struct ZrEventPayment {
    std::string zrOrderId;  // required
    std::string subitem;
    std::string sku;
    std::optional<ZrCurrency> currency;  // required
    float originalAmount = 0;
    std::optional<int32_t> campaignCode;
    std::string voucherId;
    std::string usedVoucherId;
    float paidAmount = 0;
    std::string suitId;
    std::string cashierName;
    std::string cashierTitle;
    std::optional<ZrPaidPlatform> paidPlatform;  // required
    std::optional<ZrResult> result;              // required: Success or Fail
    std::optional<ZrIapType> iapType;
    float curOriginalAmount = 0;
    float curPaidAmount = 0;
};

struct ZrEventUpdate {
    ZrUpdateOp op = ZrUpdateOp::UpdateCheck;
    std::optional<ZrUpdateResult> result;
    std::optional<float> elapsed;
};

struct ZrAppOpenNotification {
    std::string msgTitle;
    std::string msgContent;
    std::string linkUrl;
    std::string planID;
    std::string audienceId;
    std::string planStrategyId;
    std::string planType;
    std::string strategyUnitId;
};

// The user of a login. Times are seconds since 1970; negative means absent
// (for vipEndDate also 0).
struct ZrUserInfo {
    std::string userId;
    std::string userName;
    ZrUserType userType = ZrUserType::unknown;
    std::string nickname;
    std::string portrait;
    std::string mobilephone;
    std::string email;
    std::string weixin;
    std::string qq;
    std::string did;
    int64_t created = -1;
    int64_t lastLogin = -1;
    std::string lastIp;
    int32_t vipLevel = 0;
    int64_t vipEndDate = 0;
};

// What the tracker is created from.
struct TrackerInitInfo {
    std::string appName;
    std::string appVersion;
    std::string appStore;
    std::string dlAppId;
    std::string dlAppVersion;
    std::string reserved;  // kept for callers that fill it; the tracker ignores it
    std::string logPath;   // empty: beside the configuration file
    ZrEdition edition = ZrEdition::china;
    std::string serverUrl;  // empty: the default statistics endpoint
};

}  // namespace zerin::analytics
