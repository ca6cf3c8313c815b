#include <functional>

#include "analytics/UsageTrackerWrapper.h"
#include "analytics/ZrException.h"
#include "support/tracker_fixture.h"

namespace zerin::analytics::test {
namespace {

using Props = std::vector<std::pair<std::string, std::string>>;  // key, JSON text of the value

std::string jsonText(const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, value);
}

struct CatalogueCase {
    const char* what;
    std::function<void(UsageTracker&, const ZrContextProperties*)> call;
    const char* event;
    Props present;
    std::vector<std::string> absent;
    bool flushes;
};

class CatalogueTest : public TrackerTest {};

TEST_F(CatalogueTest, EachOperationSendsItsEventWithItsKeys) {
    ZrEventClick click{"a", "btn", ZrClickType::Banner, "t", "m", "p", 2, "tab", std::nullopt, "", };
    ZrEventTask task{"", "大包下载完毕", "", 12.5f, ZrResult::Success};
    ZrEventTask unknownTask{"", "t", "", std::nullopt, ZrResult::Unknown};
    ZrEventShare share{"", "wx", "", "", ZrResult::Unknown};
    ZrEventFile file;
    file.aname = "open";
    file.io = ZrIoType::Input;
    file.size = 0;
    file.width = 640;
    ZrEventOrder order;
    order.zrSuitId = "s1";
    order.zrCurrency = ZrCurrency::USD;
    order.originalAmount = 20;
    order.paidAmount = 10;
    order.campaignCode = 7;
    ZrEventPayment payment;
    payment.zrOrderId = "o1";
    payment.currency = ZrCurrency::CNY;
    payment.paidAmount = 9.5f;
    payment.originalAmount = 10;
    payment.paidPlatform = ZrPaidPlatform::Paddle;
    payment.result = ZrResult::Fail;
    payment.iapType = ZrIapType::AutoRenewable;
    ZrAppOpenNotification note{"title", "", "", "plan", "", "", "type", ""};

    const CatalogueCase cases[] = {
        {"click", [&](auto& t, auto* p) { t.trackClick(click, p); }, "ZrEventClick",
         {{"zr_name", "\"btn\""}, {"zr_click_type", "\"Banner\""}, {"zr_aname", "\"a\""}, {"zr_module", "\"m\""},
          {"zr_tab_index", "2"}, {"zr_tab_name", "\"tab\""}, {"$is_first_time", "true"}, {"zrc_ab", "\"IN\""}},
         {"zr_banner_index", "zr_banner_name"}, false},
        {"view", [](auto& t, auto* p) { t.trackView({"", "安装中", "", ""}, p); }, "ZrEventView",
         {{"zr_name", "\"安装中\""}, {"$is_first_time", "true"}, {"zrc_ab", "\"IN\""}}, {"zr_aname", "zr_title"}, false},
        {"task", [&](auto& t, auto* p) { t.trackTask(task, p); }, "ZrEventTask",
         {{"zr_task_name", "\"大包下载完毕\""}, {"zr_task_elapsed", "12.5"}, {"zr_task_result", "\"Success\""},
          {"$is_first_time", "true"}, {"zrc_ab", "\"IN\""}},
         {"zr_reason", "zr_aname"}, false},
        {"unknown task result", [&](auto& t, auto* p) { t.trackTask(unknownTask, p); }, "ZrEventTask",
         {{"zr_task_name", "\"t\""}}, {"zr_task_result", "zr_task_elapsed"}, false},
        {"share", [&](auto& t, auto* p) { t.trackShare(share, p); }, "ZrEventShare",
         {{"zr_channel", "\"wx\""}, {"zr_result", "\"Unknown\""}}, {"zr_aname"}, false},
        {"cashier", [](auto& t, auto* p) { t.trackCashier({"vip", "", "x"}, p); }, "ZrEventCashier",
         {{"zr_cashier_name", "\"vip\""}, {"zr_subitem", "\"x\""}}, {"zr_cashier_title"}, false},
        {"file", [&](auto& t, auto* p) { t.trackFile(file, p); }, "ZrEventFile",
         {{"zr_aname", "\"open\""}, {"zr_io", "\"Input\""}, {"zr_width", "640"}}, {"zr_size", "zr_result"}, false},
        {"order", [&](auto& t, auto* p) { t.trackOrder(order, p); }, "ZrEventOrder",
         {{"zr_suit_id", "\"s1\""}, {"zr_currency", "\"USD\""}, {"zr_paid_amount", "10"},
          {"zr_original_amount", "20"}, {"zr_campaign_code", "7"}},
         {"zr_cur_paid_amount", "zr_order_id"}, false},
        {"payment", [&](auto& t, auto* p) { t.trackPayment(payment, p); }, "ZrEventPayment",
         {{"zr_order_id", "\"o1\""}, {"zr_paid_platform", "\"Paddle\""}, {"zr_currency", "\"CNY\""},
          {"zr_paid_amount", "9.5"}, {"zr_result", "\"Fail\""}, {"zr_iap_type", "\"AutoRenewable\""}},
         {"zr_campaign_code"}, true},
        {"uninstall", [](auto& t, auto* p) { t.trackUninstall("too slow", p); }, "ZrEventUninstall",
         {{"zr_uninstall_reason", "\"too slow\""}}, {"$is_first_time"}, true},
        {"crash", [](auto& t, auto*) { t.trackCrash("崩溃"); }, "AppCrashed",
         {{"app_crashed_reason", "\"崩溃\""}}, {"zrc_ab"}, true},
        {"update check", [](auto& t, auto* p) { t.trackUpdate({ZrUpdateOp::UpdateCheck, std::nullopt, std::nullopt}, p); },
         "ZrEventUpdate", {{"zr_update_op", "\"UpdateCheck\""}, {"zr_update_result", "\"\""}}, {"zr_elapsed"}, true},
        {"upgrade end", [](auto& t, auto* p) { t.trackUpdate({ZrUpdateOp::UpgrateEnd, ZrUpdateResult::Latest, 3.0f}, p); },
         "ZrEventUpdate",
         {{"zr_update_op", "\"UpgrateEnd\""}, {"zr_update_result", "\"Latest\""}, {"zr_elapsed", "3"},
          {"$is_first_time", "true"}},
         {}, true},
        {"download start", [](auto& t, auto* p) { t.trackUpdate({ZrUpdateOp::DownloadStart, ZrUpdateResult::Fail, 1.0f}, p); },
         "ZrEventUpdate", {{"zr_update_op", "\"DownloadStart\""}}, {"zr_update_result", "zr_elapsed"}, true},
        {"notification", [&](auto& t, auto* p) { t.trackAppOpenNotification(&note, p); }, "AppOpenNotification",
         {{"$sf_msg_title", "\"title\""}, {"$sf_plan_id", "\"plan\""}, {"$sf_plan_type", "\"type\""}},
         {"$sf_link_url"}, false},
        {"login failed", [](auto& t, auto* p) { t.trackLogin({}, false, "bad password", p); }, "ZrEventLogin",
         {{"zr_type", "\"unknown\""}, {"zr_result", "\"Fail\""}, {"zr_reason", "\"bad password\""}},
         {"zr_user_id", "$is_first_time"}, true},
    };

    auto& tracker = start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ZrContextProperties props;
        props.setProperty("zrc_ab", std::string("IN"),
                          {ZrEventType::Click, ZrEventType::View, ZrEventType::Task});
        const size_t flushesBefore = flushThreads().size();
        const size_t recordsBefore = records().size();
        c.call(tracker, &props);
        const auto all = records();
        ASSERT_GT(all.size(), recordsBefore);
        const Json::Value* record = nullptr;
        for (size_t i = recordsBefore; i < all.size(); ++i) {
            if (all[i]["type"].asString() == "track") record = &all[i];
        }
        ASSERT_NE(record, nullptr);
        EXPECT_EQ((*record)["event"].asString(), c.event);
        const Json::Value& properties = (*record)["properties"];
        for (const auto& [key, value] : c.present) EXPECT_EQ(jsonText(properties[key]), value) << key;
        for (const auto& key : c.absent) EXPECT_FALSE(properties.isMember(key)) << key;
        // Super properties ride on every event.
        EXPECT_EQ(properties["zr_app_id"].asString(), "Lexivar.downloader");
        EXPECT_EQ(properties["zr_dlapp_version"].asString(), "2.0.1");
        EXPECT_EQ(flushThreads().size() > flushesBefore, c.flushes);
    }
}

TEST_F(CatalogueTest, ActivityAndLaunchCarryTheirFixedProperties) {
    auto& tracker = start();
    tracker.trackActivity(nullptr);
    Json::Value activity;
    for (const auto& r : records()) {
        if (r["event"].asString() == "ZrEventActivity") activity = r["properties"];
    }
    EXPECT_EQ(activity["$ios_install_source"].asString(), "android_id=123##imei=1234##mac=123");
    EXPECT_EQ(activity["$os"].asString(), runningSystem().name);
    EXPECT_EQ(activity["$user_agent"].asString(),
              "Mozilla/5.0(" + runningSystem().name + " " + runningSystem().version + "; " +
                  runningSystem().platformToken + ";)");
    int profiles = 0;
    for (const auto& r : records()) profiles += r["type"].asString().starts_with("profile_") ? 1 : 0;
    EXPECT_EQ(profiles, 10);

    tracker.trackLaunch(nullptr);
    EXPECT_EQ(lastRecord()["event"].asString(), "ZrEventLaunch");
}

TEST_F(CatalogueTest, RequiredFieldsAndBadValuesAreRefusedWithTheirMessages) {
    auto& tracker = start();
    ZrEventOrder order;
    order.zrSuitId = "s";
    ZrEventPayment payment;
    payment.zrOrderId = "o";
    payment.paidAmount = -1.5f;
    ZrEventPayment noResult;
    noResult.zrOrderId = "o";
    noResult.result = ZrResult::Cancelled;
    ZrEventPayment noPlatform = noResult;
    noPlatform.result = ZrResult::Success;
    noPlatform.currency = ZrCurrency::EUR;
    ZrAppOpenNotification noPlanType{"t", "", "", "p", "", "", "", ""};
    const struct {
        std::function<void()> call;
        const char* message;
    } cases[] = {
        {[&] { tracker.trackClick({}, nullptr); }, "zrEventClick.name is empty"},
        {[&] { tracker.trackView({}, nullptr); }, "zrEventView.name is empty"},
        {[&] { tracker.trackCashier({}, nullptr); }, "zrEventCashier.zr_cashier_name is empty"},
        {[&] { tracker.trackTask({}, nullptr); }, "zrEventTask.name is empty"},
        {[&] { tracker.trackFile({}, nullptr); }, "zrEventFile.aname is empty"},
        {[&] { tracker.trackOrder({}, nullptr); }, "zrEventOrder.zrSuitId is empty"},
        {[&] { tracker.trackOrder(order, nullptr); }, "zrEventOrder.zrCurrency is nullptr"},
        {[&] {
             order.zrCurrency = ZrCurrency::CNY;
             tracker.trackOrder(order, nullptr);
         },
         "zrEventOrder.originalAmount is less than zero"},
        {[&] { tracker.trackPayment({}, nullptr); }, "zrEventPayment.zrOrderId is empty"},
        {[&] { tracker.trackPayment(payment, nullptr); }, "paidAmount = -1.500000 is invalid"},
        {[&] { tracker.trackPayment(noResult, nullptr); }, "zrEventPayment.result is invalid"},
        {[&] { tracker.trackPayment(noPlatform, nullptr); }, "zrEventPayment.paidPlatform is nullptr"},
        {[&] { tracker.trackUpdate({static_cast<ZrUpdateOp>(9), std::nullopt, std::nullopt}, nullptr); },
         "Unknown ZrUpdateOp [9]!"},
        {[&] { tracker.trackUpdate({ZrUpdateOp::DownloadEnd, std::nullopt, 1.0f}, nullptr); },
         "Unknown updateResultInfo info"},
        {[&] { tracker.trackUpdate({ZrUpdateOp::DownloadEnd, ZrUpdateResult::Success, std::nullopt}, nullptr); },
         "invalid elapsed info"},
        {[&] { tracker.trackAppOpenNotification(nullptr, nullptr); }, "&appOpenNotification is nullptr"},
        {[&] { tracker.trackAppOpenNotification(&noPlanType, nullptr); }, "planType is emptry"},
    };
    const size_t before = records().size();
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const ZrException& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_EQ(records().size(), before);
}

}  // namespace
}  // namespace zerin::analytics::test

namespace zerin::analytics::test {
namespace {

TEST_F(CatalogueTest, WrapperLosesOnlyTheBadRecord) {
    auto impl = std::make_unique<UsageTrackerImpl>(info(), roots(), observedHooks());
    impl->init();
    UsageTrackerWrapper wrapper(std::move(impl));
    testing::internal::CaptureStdout();
    wrapper.trackClick({}, nullptr);
    wrapper.trackClick(clickNamed("ok"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to trackClick\n");
    ASSERT_EQ(records().size(), 1u);
    EXPECT_EQ(lastRecord()["properties"]["zr_name"].asString(), "ok");
}

TEST_F(CatalogueTest, UninitialisedTrackerChecksButSendsNothing) {
    TrackerInitInfo noStore = info();
    noStore.appStore.clear();
    auto impl = std::make_unique<UsageTrackerImpl>(noStore, roots(), observedHooks());
    EXPECT_THROW(impl->init(), ZrException);
    UsageTrackerWrapper wrapper(std::move(impl));
    testing::internal::CaptureStdout();
    wrapper.trackClick({}, nullptr);  // no track log: nothing is printed
    wrapper.trackTask(taskNamed("t"), nullptr);
    wrapper.trackCrash("c");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(event_sdk::Sdk::IsInitialized());
}

}  // namespace
}  // namespace zerin::analytics::test
