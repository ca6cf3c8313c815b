#include "analytics/NativeUserTracker.h"

#include <map>

#include "analytics/ZrContextProperties.h"
#include "analytics/ZrException.h"
#include "event_sdk/sdk.h"

namespace zerin::analytics {
namespace {

constexpr const char* kUnit = "NativeUserTracker";

const std::map<std::string, ProfileOperation>& registry() {
    static const std::map<std::string, ProfileOperation> keys = [] {
        std::map<std::string, ProfileOperation> m;
        for (const char* key :
             {"zr_label", "zr_os", "zr_os_version", "zr_manufacturer", "zr_model", "zr_app_store", "zr_app_platform",
              "zr_last_app_id", "zr_last_app_version", "zr_carrier", "zr_last_visit_date", "aurora_pushid",
              "zr_user_id", "zr_user_name", "zr_user_type", "zr_user_nickname", "zr_user_portrait",
              "zr_user_mobilephone", "zr_user_email", "zr_user_weixin", "zr_user_qq", "zr_user_did",
              "zr_user_created", "zr_user_last_login", "zr_user_last_ip", "zr_user_vip_level",
              "zr_user_vip_enddate", "idfa", "imei", "android_id", "oaid", "zr_ip", "zr_country_code",
              "zr_country", "zr_province", "zr_city", "zr_last_paid_date"}) {
            m.emplace(key, ProfileOperation::Set);
        }
        for (const char* key : {"$first_visit_time", "zr_first_visit_date", "$ios_install_source", "zr_first_paid_date"}) {
            m.emplace(key, ProfileOperation::SetOnce);
        }
        for (const char* key : {"zr_visit_count", "zr_paid_count", "zr_consumption"}) {
            m.emplace(key, ProfileOperation::Increment);
        }
        return m;
    }();
    return keys;
}

[[noreturn]] void notSupported(const char* operation, const std::string& key) {
    ZR_THROW(kUnit, operation, "Not supported user property [" + key + "]!");
}

template <typename SetValue>
void sendNumber(const char* operation, const std::string& key, SetValue&& setValue) {
    event_sdk::PropertiesNode node;
    setValue(node);
    switch (profileOperation(key)) {
        case ProfileOperation::SetOnce: event_sdk::Sdk::ProfileSetOnce(node); return;
        case ProfileOperation::Increment: event_sdk::Sdk::ProfileIncrement(node); return;
        case ProfileOperation::Set: event_sdk::Sdk::ProfileSet(node); return;
        case ProfileOperation::Append:
            ZR_THROW(kUnit, operation, "user property [" + key + "] is number value, it cannot be append to list!");
        case ProfileOperation::NotSupported: break;
    }
    notSupported(operation, key);
}

}  // namespace

ProfileOperation profileOperation(const std::string& key) {
    const auto& keys = registry();
    const auto found = keys.find(key);
    return found == keys.end() ? ProfileOperation::NotSupported : found->second;
}

void ProfileUserPropertyString(const std::string& key, const std::string& value) {
    constexpr const char* op = "ProfileUserPropertyString";
    switch (profileOperation(key)) {
        case ProfileOperation::SetOnce: event_sdk::Sdk::ProfileSetOnceString(key, value); return;
        case ProfileOperation::Set: event_sdk::Sdk::ProfileSetString(key, value); return;
        case ProfileOperation::Append: event_sdk::Sdk::ProfileAppend(key, value); return;
        case ProfileOperation::Increment:
            ZR_THROW(kUnit, op, "user property [" + key + "] is string type value, it cannot be accumulated!");
        case ProfileOperation::NotSupported: break;
    }
    notSupported(op, key);
}

void ProfileUserPropertyNumber(const std::string& key, int32_t value) {
    sendNumber("ProfileUserPropertyNumber", key, [&](event_sdk::PropertiesNode& n) { n.SetInt(key, value); });
}

void ProfileUserPropertyNumber(const std::string& key, double value) {
    sendNumber("ProfileUserPropertyNumber", key, [&](event_sdk::PropertiesNode& n) { n.SetNumber(key, value); });
}

void ProfileUserPropertyDateTime(const std::string& key, int64_t time) {
    constexpr const char* op = "ProfileUserPropertyDateTime";
    int64_t seconds = 0;
    int millis = 0;
    splitTime(ZrTime{time}, seconds, millis);
    event_sdk::PropertiesNode node;
    node.SetDateTime(key, seconds, millis);
    switch (profileOperation(key)) {
        case ProfileOperation::SetOnce: event_sdk::Sdk::ProfileSetOnce(node); return;
        case ProfileOperation::Set: event_sdk::Sdk::ProfileSet(node); return;
        case ProfileOperation::Increment:
        case ProfileOperation::Append:
            ZR_THROW(kUnit, op, "user property [" + key + "] is date-time value, it can only be set!");
        case ProfileOperation::NotSupported: break;
    }
    notSupported(op, key);
}

}  // namespace zerin::analytics
