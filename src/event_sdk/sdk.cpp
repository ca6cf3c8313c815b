#include "event_sdk/sdk.h"

#include <memory>
#include <mutex>
#include <shared_mutex>

#include "event_sdk/output.h"
#include "event_sdk/record_builder.h"
#include "event_sdk/record_consumer.h"
#include "event_sdk/validation.h"

namespace event_sdk {
namespace {

// The SDK object behind the static operations.
class Instance final {
public:
    Instance(const std::string& stagingFilePath, const std::string& serverUrl, std::string distinctId, bool isLoginId)
        : m_consumer(serverUrl, stagingFilePath),
          m_distinctId(std::move(distinctId)),
          m_isLoginId(isLoginId),
          m_random(static_cast<std::mt19937::result_type>(CurrentTimeMilliseconds())) {
        m_superProperties.SetString("$lib", Sdk::kLibName);
        m_superProperties.SetString("$lib_version", Sdk::kLibVersion);
    }

    void Record(std::string_view type, std::string_view eventName, const PropertiesNode& properties) {
        std::shared_lock lock(m_identityMutex);
        Record(type, eventName, properties, m_distinctId, {});
    }

    void SignUp(const std::string& loginId) {
        std::unique_lock lock(m_identityMutex);
        Record("track_signup", "$SignUp", PropertiesNode(), loginId, m_distinctId);
        m_distinctId = loginId;
        m_isLoginId = true;
    }

    void RegisterSuperProperties(const PropertiesNode& properties) {
        std::unique_lock lock(m_identityMutex);
        m_superProperties.Merge(properties);
    }

    RecordConsumer& consumer() { return m_consumer; }

private:
    // Caller holds m_identityMutex (shared or exclusive).
    void Record(std::string_view type, std::string_view eventName, const PropertiesNode& properties,
                std::string_view distinctId, std::string_view originalId) {
        const int64_t now = CurrentTimeMilliseconds();
        RecordContext context{type, eventName, distinctId, originalId, &m_superProperties, m_isLoginId, now, 0};
        {
            std::lock_guard lock(m_randomMutex);
            context.trackId = MakeTrackId(m_random, now);
        }
        if (auto record = BuildRecord(context, properties)) m_consumer.Add(std::move(*record));
    }

    RecordConsumer m_consumer;
    std::shared_mutex m_identityMutex;  // guards the distinct id, login flag and super properties
    PropertiesNode m_superProperties;
    std::string m_distinctId;
    bool m_isLoginId;
    std::mutex m_randomMutex;
    std::mt19937 m_random;
};

std::mutex g_instanceMutex;
std::shared_ptr<Instance> g_instance;

// A reference that keeps the SDK object alive for one operation, even when
// another thread shuts the SDK down meanwhile.
std::shared_ptr<Instance> Current() {
    std::lock_guard lock(g_instanceMutex);
    return g_instance;
}

void RecordIfReady(std::string_view type, std::string_view eventName, const PropertiesNode& properties) {
    if (auto sdk = Current()) sdk->Record(type, eventName, properties);
}

PropertiesNode OneString(std::string_view key, std::string_view text) {
    PropertiesNode node;
    node.SetString(key, text);
    return node;
}

PropertiesNode OneInt(std::string_view key, int32_t value) {
    PropertiesNode node;
    node.SetInt(key, value);
    return node;
}

PropertiesNode OneNumber(std::string_view key, double value) {
    PropertiesNode node;
    node.SetNumber(key, value);
    return node;
}

}  // namespace

bool Sdk::Init(const std::string& stagingFilePath, const std::string& serverUrl, const std::string& distinctId,
               bool isLoginId) {
    if (auto message = CheckLength(distinctId, "Distinct ID"); !message.empty()) {
        WriteError(message);
        return false;
    }
    std::lock_guard lock(g_instanceMutex);
    if (!g_instance) g_instance = std::make_shared<Instance>(stagingFilePath, serverUrl, distinctId, isLoginId);
    return true;
}

void Sdk::Track(std::string_view eventName, const PropertiesNode& properties) {
    RecordIfReady("track", eventName, properties);
}

void Sdk::TrackLaunch() { RecordIfReady("track", "ZrEventLaunch", PropertiesNode()); }

void Sdk::TrackActivity(const PropertiesNode& properties) {
    PropertiesNode all;
    all.SetString("$ios_install_source", "");
    all.Merge(properties);
    RecordIfReady("track", "ZrEventActivity", all);
}

void Sdk::SignUp(const std::string& loginId) {
    if (auto sdk = Current()) sdk->SignUp(loginId);
}

void Sdk::ProfileSet(const PropertiesNode& properties) { RecordIfReady("profile_set", {}, properties); }
void Sdk::ProfileSetString(std::string_view key, std::string_view text) { ProfileSet(OneString(key, text)); }
void Sdk::ProfileSetInt(std::string_view key, int32_t value) { ProfileSet(OneInt(key, value)); }
void Sdk::ProfileSetNumber(std::string_view key, double value) { ProfileSet(OneNumber(key, value)); }

void Sdk::ProfileSetOnce(const PropertiesNode& properties) { RecordIfReady("profile_set_once", {}, properties); }
void Sdk::ProfileSetOnceString(std::string_view key, std::string_view text) { ProfileSetOnce(OneString(key, text)); }
void Sdk::ProfileSetOnceInt(std::string_view key, int32_t value) { ProfileSetOnce(OneInt(key, value)); }
void Sdk::ProfileSetOnceNumber(std::string_view key, double value) { ProfileSetOnce(OneNumber(key, value)); }

void Sdk::ProfileIncrement(const PropertiesNode& properties) { RecordIfReady("profile_increment", {}, properties); }
void Sdk::ProfileIncrementInt(std::string_view key, int32_t value) { ProfileIncrement(OneInt(key, value)); }

void Sdk::ProfileAppend(std::string_view key, std::string_view text) {
    PropertiesNode node;
    node.SetList(key, {std::string(text)});
    RecordIfReady("profile_append", {}, node);
}

void Sdk::RegisterSuperProperties(const PropertiesNode& properties) {
    if (auto sdk = Current()) sdk->RegisterSuperProperties(properties);
}

bool Sdk::Flush() {
    auto sdk = Current();
    return sdk && sdk->consumer().Flush();
}

void Sdk::Shutdown() {
    std::shared_ptr<Instance> sdk;
    {
        std::lock_guard lock(g_instanceMutex);
        sdk.swap(g_instance);
    }
    if (sdk) sdk->consumer().Close();
}

bool Sdk::IsInitialized() { return Current() != nullptr; }

std::vector<std::string> Sdk::QueuedRecords() {
    auto sdk = Current();
    return sdk ? sdk->consumer().QueuedRecords() : std::vector<std::string>{};
}

}  // namespace event_sdk
