// The event catalogue: one track operation per kind of event.
#include <chrono>

#include "analytics/ContextMerge.h"
#include "analytics/NativeUserTracker.h"
#include "analytics/UsageTrackerImpl.h"
#include "analytics/ZrException.h"
#include "analytics/ZrPresetKeys.h"
#include "analytics/ZrSystemInfo.h"
#include "event_sdk/properties.h"
#include "event_sdk/sdk.h"

namespace zerin::analytics {
namespace {

constexpr const char* kUnit = "UsageTrackerImpl";
using Node = event_sdk::PropertiesNode;

int64_t nowMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void putText(Node& node, const char* key, const std::string& value) {
    if (!value.empty()) node.SetString(key, value);
}
template <typename T>
void putNumber(Node& node, const char* key, const std::optional<T>& value) {
    if (value) node.SetNumber(key, static_cast<double>(*value));
}
void putInt(Node& node, const char* key, const std::optional<int32_t>& value) {
    if (value) node.SetInt(key, *value);
}
void putPositive(Node& node, const char* key, float value) {
    if (value > 0) node.SetNumber(key, value);
}
// Results beyond "Fail" (that is, "Unknown") are not worth sending.
void putDefiniteResult(Node& node, const char* key, const std::optional<ZrResult>& result) {
    if (!result) return;
    const auto raw = static_cast<int32_t>(*result);
    if (raw >= 0 && raw <= 2) node.SetString(key, toString(*result));
}
void firstTime(Node& node) { node.SetBool(keys::kIsFirstTime, true); }

}  // namespace

void UsageTrackerImpl::trackActivity(const ZrContextProperties* props) {
    const RunningSystem& system = runningSystem();
    Node node;
    mergeContextProperties(props, ZrEventType::Activity, node);
    node.SetString(keys::kAppStore, appStore);
    node.SetString(keys::kAppId, appName);
    node.SetString(keys::kSdkAppId, appName);
    node.SetString(keys::kAppVersion, appVersion);
    node.SetString(keys::kInstallSource, keys::kPlaceholderInstallSource);
    putText(node, keys::kUserAgent, userAgent(system.name, system.version, system.platformToken));
    firstTime(node);
    node.SetString(keys::kOs, system.name);
    node.SetString(keys::kOsVersion, system.version);
    event_sdk::Sdk::TrackActivity(node);
    addPending(1);
    profileVisit(nowMilliseconds());
    ProfileUserPropertyString(keys::kProfileOs, system.name);
    ProfileUserPropertyString(keys::kProfileOsVersion, system.version);
    ProfileUserPropertyString(keys::kAppStore, appStore);
    ProfileUserPropertyString(keys::kAppPlatform, system.name);
    ProfileUserPropertyString(keys::kLastAppId, appName);
    ProfileUserPropertyString(keys::kLastAppVersion, appVersion);
    ProfileUserPropertyString(keys::kInstallSource, keys::kPlaceholderInstallSource);
    addPending(7);
    sendPending(true);
}

void UsageTrackerImpl::trackLaunch(const ZrContextProperties* props) {
    Node node;
    if (mergeContextProperties(props, ZrEventType::PaLaunchPal, node)) {
        event_sdk::Sdk::Track("ZrEventLaunch", node);
    } else {
        event_sdk::Sdk::TrackLaunch();
    }
    addPending(1);
    if (!state->userId.empty()) {
        profileVisit(nowMilliseconds());
        profilePreviousApp();
    }
    sendPending(true);
}

void UsageTrackerImpl::profileVisit(int64_t now) {
    ProfileUserPropertyDateTime(keys::kFirstVisitTime, now);
    ProfileUserPropertyDateTime(keys::kFirstVisitDate, now);
    ProfileUserPropertyDateTime(keys::kLastVisitDate, now);
    addPending(3);
}

void UsageTrackerImpl::profilePreviousApp() {
    if (state->previousAppId.empty()) return;
    ProfileUserPropertyString(keys::kAppStore, state->previousAppStore);
    ProfileUserPropertyString(keys::kLastAppId, state->previousAppId);
    ProfileUserPropertyString(keys::kLastAppVersion, state->previousAppVersion);
    addPending(3);
}

void UsageTrackerImpl::trackLogin(const ZrUserInfo& user, bool success, const std::string& reason,
                                  const ZrContextProperties* props) {
    Node node;
    putText(node, keys::kUserId, user.userId);
    putText(node, "zr_login_id", user.userId);
    node.SetString("zr_type", toString(user.userType));
    node.SetString("zr_result", success ? "Success" : "Fail");
    putText(node, "zr_reason", reason);
    if (!user.userId.empty()) firstTime(node);
    mergeContextProperties(props, ZrEventType::Login, node);
    event_sdk::Sdk::Track("ZrEventLogin", node);
    addPending(1);
    if (!user.userId.empty()) finishLogin(user);
    sendPending(true);
}

void UsageTrackerImpl::finishLogin(const ZrUserInfo& user) {
    state->vipLevel = user.vipLevel;
    if (!state->isLogined || state->userId.empty()) {
        event_sdk::Sdk::SignUp(user.userId);
        addPending(1);
        state->isLogined = true;
        state->userId = user.userId;
        state->distinctId = user.userId;
        Node super;
        super.SetString(keys::kUserId, user.userId);
        event_sdk::Sdk::RegisterSuperProperties(super);
    }
    state->save();
    state->holdBackLogin(user, nowMilliseconds());
}

void UsageTrackerImpl::trackClick(const ZrEventClick& e, const ZrContextProperties* props) {
    if (e.name.empty()) ZR_THROW(kUnit, "trackClick", "zrEventClick.name is empty");
    Node node;
    node.SetString("zr_name", e.name);
    node.SetString("zr_click_type", toString(e.clickType));
    putText(node, "zr_aname", e.aname);
    putText(node, "zr_title", e.title);
    putText(node, "zr_position", e.position);
    putText(node, "zr_module", e.module);
    putText(node, "zr_tab_name", e.tabName);
    putInt(node, "zr_tab_index", e.tabIndex);
    putText(node, "zr_banner_name", e.bannerName);
    putInt(node, "zr_banner_index", e.bannerIndex);
    firstTime(node);
    mergeContextProperties(props, ZrEventType::Click, node);
    send("ZrEventClick", node, false);
}

void UsageTrackerImpl::trackView(const ZrEventView& e, const ZrContextProperties* props) {
    if (e.name.empty()) ZR_THROW(kUnit, "trackView", "zrEventView.name is empty");
    Node node;
    node.SetString("zr_name", e.name);
    putText(node, "zr_aname", e.aname);
    putText(node, "zr_title", e.title);
    putText(node, "zr_position", e.position);
    firstTime(node);
    mergeContextProperties(props, ZrEventType::View, node);
    send("ZrEventView", node, false);
}

void UsageTrackerImpl::trackCashier(const ZrEventCashier& e, const ZrContextProperties* props) {
    if (e.zr_cashier_name.empty()) ZR_THROW(kUnit, "trackCashier", "zrEventCashier.zr_cashier_name is empty");
    Node node;
    node.SetString("zr_cashier_name", e.zr_cashier_name);
    putText(node, "zr_cashier_title", e.cashierTitle);
    putText(node, "zr_subitem", e.subitem);
    firstTime(node);
    mergeContextProperties(props, ZrEventType::Cashier, node);
    send("ZrEventCashier", node, false);
}

void UsageTrackerImpl::trackShare(const ZrEventShare& e, const ZrContextProperties* props) {
    Node node;
    putText(node, "zr_aname", e.aname);
    putText(node, "zr_channel", e.channel);
    putText(node, "zr_position", e.position);
    putText(node, "zr_shared_name", e.sharedName);
    if (e.result) node.SetString("zr_result", toString(*e.result));
    firstTime(node);
    mergeContextProperties(props, ZrEventType::Share, node);
    send("ZrEventShare", node, false);
}

void UsageTrackerImpl::trackTask(const ZrEventTask& e, const ZrContextProperties* props) {
    if (e.name.empty()) ZR_THROW(kUnit, "trackTask", "zrEventTask.name is empty");
    Node node;
    node.SetString("zr_task_name", e.name);
    putNumber(node, "zr_task_elapsed", e.elapsed);
    putDefiniteResult(node, "zr_task_result", e.result);
    putText(node, "zr_aname", e.aname);
    putText(node, "zr_reason", e.reason);
    firstTime(node);
    mergeContextProperties(props, ZrEventType::Task, node);
    send("ZrEventTask", node, false);
}

void UsageTrackerImpl::trackFile(const ZrEventFile& e, const ZrContextProperties* props) {
    if (e.aname.empty()) ZR_THROW(kUnit, "trackFile", "zrEventFile.aname is empty");
    Node node;
    node.SetString("zr_aname", e.aname);
    if (e.io) node.SetString("zr_io", toString(*e.io));
    putDefiniteResult(node, "zr_result", e.result);
    putText(node, "zr_name", e.name);
    putText(node, "zr_ext", e.ext);
    if (e.size && *e.size > 0) node.SetNumber("zr_size", *e.size);
    putInt(node, "zr_duration", e.duration);
    putNumber(node, "zr_fps", e.fps);
    putNumber(node, "zr_bps", e.bps);
    putInt(node, "zr_width", e.width);
    putInt(node, "zr_height", e.height);
    putInt(node, "zr_depth", e.depth);
    firstTime(node);
    mergeContextProperties(props, ZrEventType::File, node);
    send("ZrEventFile", node, false);
}

void UsageTrackerImpl::trackOrder(const ZrEventOrder& e, const ZrContextProperties* props) {
    constexpr const char* op = "trackOrder";
    if (e.zrSuitId.empty()) ZR_THROW(kUnit, op, "zrEventOrder.zrSuitId is empty");
    if (!e.zrCurrency) ZR_THROW(kUnit, op, "zrEventOrder.zrCurrency is nullptr");
    if (!(e.originalAmount > 0)) ZR_THROW(kUnit, op, "zrEventOrder.originalAmount is less than zero");
    if (!(e.paidAmount > 0)) ZR_THROW(kUnit, op, "zrEventOrder.paidAmount is less than zero");
    Node node;
    node.SetString("zr_suit_id", e.zrSuitId);
    node.SetString("zr_currency", toString(*e.zrCurrency));
    node.SetNumber("zr_paid_amount", e.paidAmount);
    node.SetNumber("zr_original_amount", e.originalAmount);
    firstTime(node);
    putText(node, "zr_order_id", e.orderId);
    putText(node, "zr_subitem", e.subitem);
    putText(node, "zr_sku", e.sku);
    putInt(node, "zr_campaign_code", e.campaignCode);
    putText(node, "zr_voucher_id", e.voucherId);
    putPositive(node, "zr_cur_original_amount", e.curOriginalAmount);
    putPositive(node, "zr_cur_paid_amount", e.curPaidAmount);
    putText(node, "zr_cashier_name", e.cashierName);
    putText(node, "zr_cashier_title", e.cashierTitle);
    mergeContextProperties(props, ZrEventType::Order, node);
    send("ZrEventOrder", node, false);
}

void UsageTrackerImpl::trackPayment(const ZrEventPayment& e, const ZrContextProperties* props) {
    constexpr const char* op = "trackPayment";
    if (e.zrOrderId.empty()) ZR_THROW(kUnit, op, "zrEventPayment.zrOrderId is empty");
    if (e.paidAmount < 0) ZR_THROW(kUnit, op, "paidAmount = " + std::to_string(e.paidAmount) + " is invalid");
    if (e.originalAmount < 0) {
        ZR_THROW(kUnit, op, "originalAmount = " + std::to_string(e.originalAmount) + " is invalid");
    }
    if (!e.result || (*e.result != ZrResult::Success && *e.result != ZrResult::Fail)) {
        ZR_THROW(kUnit, op, "zrEventPayment.result is invalid");
    }
    if (!e.currency) ZR_THROW(kUnit, op, "zrEventPayment.currency is nullptr");
    if (!e.paidPlatform) ZR_THROW(kUnit, op, "zrEventPayment.paidPlatform is nullptr");
    Node node;
    node.SetString("zr_order_id", e.zrOrderId);
    node.SetString("zr_paid_platform", toString(*e.paidPlatform));
    node.SetString("zr_currency", toString(*e.currency));
    node.SetNumber("zr_paid_amount", e.paidAmount);
    node.SetNumber("zr_original_amount", e.originalAmount);
    node.SetString("zr_result", toString(*e.result));
    firstTime(node);
    putText(node, "zr_suit_id", e.suitId);
    if (e.iapType) node.SetString("zr_iap_type", toString(*e.iapType));
    putText(node, "zr_subitem", e.subitem);
    putText(node, "zr_sku", e.sku);
    putText(node, "zr_voucher_id", e.voucherId);
    putText(node, "zr_used_voucher_id", e.usedVoucherId);
    putInt(node, "zr_campaign_code", e.campaignCode);
    putPositive(node, "zr_cur_original_amount", e.curOriginalAmount);
    putPositive(node, "zr_cur_paid_amount", e.curPaidAmount);
    putText(node, "zr_cashier_name", e.cashierName);
    putText(node, "zr_cashier_title", e.cashierTitle);
    mergeContextProperties(props, ZrEventType::Payment, node);
    event_sdk::Sdk::Track("ZrEventPayment", node);
    addPending(1);

    const int64_t now = nowMilliseconds();
    ProfileUserPropertyNumber(keys::kPaidCount, int32_t{1});
    ProfileUserPropertyNumber(keys::kConsumption, static_cast<double>(e.paidAmount));
    ProfileUserPropertyDateTime(keys::kFirstPaidDate, now);
    ProfileUserPropertyDateTime(keys::kLastPaidDate, now);
    addPending(4);
    profilePreviousApp();
    if (*e.result == ZrResult::Success) {
        state->vipLevel = 1;
        state->save();
    }
    sendPending(true);
}

void UsageTrackerImpl::trackUninstall(const std::string& reason, const ZrContextProperties* props) {
    Node node;
    putText(node, "zr_uninstall_reason", reason);
    mergeContextProperties(props, ZrEventType::Uninstall, node);
    send("ZrEventUninstall", node, true);
}

void UsageTrackerImpl::trackCrash(const std::string& reason) {
    Node node;
    putText(node, "app_crashed_reason", reason);
    send("AppCrashed", node, true);
}

void UsageTrackerImpl::trackUpdate(const ZrEventUpdate& e, const ZrContextProperties* props) {
    constexpr const char* op = "trackUpdate";
    const auto raw = static_cast<int32_t>(e.op);
    if (raw < 0 || raw > 4) ZR_THROW(kUnit, op, "Unknown ZrUpdateOp [" + std::to_string(raw) + "]!");
    const bool ends = e.op == ZrUpdateOp::DownloadEnd || e.op == ZrUpdateOp::UpgrateEnd;
    if (ends && !e.result) ZR_THROW(kUnit, op, "Unknown updateResultInfo info");
    if (ends && !e.elapsed) ZR_THROW(kUnit, op, "invalid elapsed info");
    Node node;
    node.SetString("zr_update_op", toString(e.op));
    if (e.op == ZrUpdateOp::UpdateCheck) node.SetString("zr_update_result", e.result ? toString(*e.result) : "");
    if (ends) {
        node.SetString("zr_update_result", toString(*e.result));
        if (e.op == ZrUpdateOp::UpgrateEnd) firstTime(node);
        node.SetNumber("zr_elapsed", *e.elapsed);
    }
    mergeContextProperties(props, ZrEventType::Update, node);
    send("ZrEventUpdate", node, true);
}

void UsageTrackerImpl::trackAppOpenNotification(const ZrAppOpenNotification* n, const ZrContextProperties* props) {
    constexpr const char* op = "trackAppOpenNotification";
    if (n == nullptr) ZR_THROW(kUnit, op, "&appOpenNotification is nullptr");
    if (n->planID.empty()) ZR_THROW(kUnit, op, "planID is emptry");
    if (n->planType.empty()) ZR_THROW(kUnit, op, "planType is emptry");
    if (n->msgTitle.empty()) ZR_THROW(kUnit, op, "msgTitle is emptry");
    Node node;
    node.SetString("$sf_msg_title", n->msgTitle);
    node.SetString("$sf_plan_id", n->planID);
    node.SetString("$sf_plan_type", n->planType);
    firstTime(node);
    putText(node, "$sf_msg_content", n->msgContent);
    putText(node, "$sf_link_url", n->linkUrl);
    putText(node, "$sf_audience_id", n->audienceId);
    putText(node, "$sf_plan_strategy_id", n->planStrategyId);
    putText(node, "$sf_strategy_unit_id", n->strategyUnitId);
    mergeContextProperties(props, ZrEventType::AppOpenNotification, node);
    send("AppOpenNotification", node, false);
}

}  // namespace zerin::analytics
